#!/usr/bin/env bash
# Installs what is missing, builds TESK and runs it. Without a Tesk.ini beside the
# program, a demo configuration is written that points at the local gateway simulator,
# and the simulator is started on 127.0.0.1:6112 with the demo scenario.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${TESK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tesk gateway-sim

ini="$build/src/Tesk.ini"
sim_pid=""
if [ ! -f "$ini" ]; then
    printf '%s\r\n' '[Settings]' 'Gateway=127.0.0.1' 'Anonymous=1' '[Users]' 'Count=5' \
        '0=alice' '1=bob' '2=carol' '3=dave@northrend' '4=erin' >"$ini"
    echo "Wrote a demo configuration: $ini (gateway 127.0.0.1)"
fi
if grep -qi '^Gateway=127\.0\.0\.1' "$ini"; then
    "$build/tools/gateway-sim/gateway-sim" --address 127.0.0.1 --port 6112 \
        --scenario tools/gateway-sim/scenarios/demo.txt --quiet &
    sim_pid=$!
    trap 'kill "$sim_pid" 2>/dev/null' EXIT
    trap 'exit 130' INT TERM
    sleep 0.5
fi

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running without windows (Ctrl+C ends it)."
    export QT_QPA_PLATFORM=offscreen
fi
"$build/src/tesk"
