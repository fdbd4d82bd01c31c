#!/usr/bin/env bash
# Builds the benchmarks in Release mode and prints their figures as a table.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESK_BUILD_BENCH=ON \
    -DTESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_lines bench_client tesk

startup_ms() {
    # From exec to the main window shown, with 1,000 watched users (TESK quits right after).
    local dir
    dir=$(mktemp -d)
    {
        printf '[Settings]\r\nGateway=127.0.0.1\r\n[Users]\r\nCount=1000\r\n'
        for i in $(seq 0 999); do printf '%d=user%d\r\n' "$i" "$i"; done
        printf '[MainForm]\r\nWidth=130\r\n'
    } >"$dir/Tesk.ini"
    local times=()
    for _ in $(seq 1 11); do
        local start end
        start=$(date +%s%N)
        XDG_RUNTIME_DIR=$dir QT_QPA_PLATFORM=offscreen \
            "$build/src/tesk" --quit-when-shown --config "$dir/Tesk.ini" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    rm -rf "$dir"
    printf '%s\n' "${times[@]}" | sort -n | sed -n 6p
}

echo "| benchmark | figure | target |"
echo "|---|---|---|"
echo "| $("$build/bench/bench_lines") | | >= 5,000,000 lines/s |"
echo "| $("$build/bench/bench_client" throughput 2>/dev/null) | | >= 50,000 lines/s, none lost |"
echo "| start-up with 1,000 users: $(startup_ms) ms median of 11 | | <= 150 ms |"
echo "| $("$build/bench/bench_client" memory 2>/dev/null) | | <= 35 MB, <= 30 MB growth |"
echo "| $("$build/bench/bench_client" idle 2>/dev/null) | | <= 0.05 s |"
