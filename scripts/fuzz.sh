#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang and runs each for a while.
#
#   scripts/fuzz.sh [seconds-per-target] [target...]
#
# Seconds default to 15 (0: no time limit, then set TESK_FUZZ_RUNS). Without targets all
# of them run. Each target works on a copy of its corpus in fuzz/corpus, so the repository
# is never changed; new inputs are thrown away at the end. A crash, leak, hang or broken
# check is saved under <build>/fuzz-artifacts/<target>/ and makes the script fail after
# the remaining targets have run.
#
# Environment:
#   TESK_FUZZ_BUILD_DIR  build folder (default build-fuzz)
#   TESK_FUZZ_RUNS       also stop each target after this many executions
#   TESK_FUZZ_JOBS       parallel compile jobs (default: number of processors)
#   TESK_FUZZ_ARGS       further libFuzzer options, e.g. "-max_len=512"
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-15}
shift $(($# > 0 ? 1 : 0))
all_targets=(fuzz_server_lines fuzz_line_framing fuzz_ini_reader fuzz_password)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
build=${TESK_FUZZ_BUILD_DIR:-build-fuzz}

# What the build itself needs, and clang with its libFuzzer and sanitizer runtimes.
bash scripts/install-deps.sh clang libclang-rt-14-dev

CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTESK_FUZZ=ON -DTESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target fuzz -j"${TESK_FUZZ_JOBS:-$(nproc)}"

work=$(mktemp -d "${TMPDIR:-/tmp}/tesk-fuzz.XXXXXX")
trap 'rm -rf "$work"' EXIT

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

figure() {  # figure NAME LOG: a figure from libFuzzer's final statistics
    sed -n "s/^stat::$1: *//p" "$2" | tail -n 1
}

failed=()
report=()
for target in "${targets[@]}"; do
    binary="$build/fuzz/$target"
    [ -x "$binary" ] || { echo "Unknown fuzz target: $target" >&2; exit 2; }
    corpus="$work/corpus/$target"
    artifacts="$work/artifacts/$target/"
    mkdir -p "$corpus" "$artifacts"
    cp -R "fuzz/corpus/$target/." "$corpus/"
    options=(-max_total_time="$seconds" -timeout=10 -print_final_stats=1
             -artifact_prefix="$artifacts")
    [ -n "${TESK_FUZZ_RUNS:-}" ] && options+=(-runs="$TESK_FUZZ_RUNS")
    [ -f "fuzz/$target.dict" ] && options+=(-dict="fuzz/$target.dict")
    # shellcheck disable=SC2206  # the extra options are meant to split on blanks
    options+=(${TESK_FUZZ_ARGS:-})

    echo "== $target (${seconds}s${TESK_FUZZ_RUNS:+, at most $TESK_FUZZ_RUNS runs})"
    log="$work/$target.log"
    status=0
    "$binary" "${options[@]}" "$corpus" >"$log" 2>&1 || status=$?
    runs=$(figure number_of_executed_units "$log")
    speed=$(figure average_exec_per_sec "$log")
    rss=$(figure peak_rss_mb "$log")
    report+=("$(printf '%-20s %14s %10s %8s  %s' "$target" "${runs:-?}" "${speed:-?}" \
        "${rss:-?}" "$([ "$status" -eq 0 ] && echo ok || echo "FAILED ($status)")")")
    if [ "$status" -ne 0 ]; then
        failed+=("$target")
        saved="$build/fuzz-artifacts/$target"
        mkdir -p "$saved"
        cp -R "$artifacts." "$saved/" 2>/dev/null || true
        cp "$log" "$saved/"
        echo "$target failed with status $status; the end of its log:" >&2
        grep -v -E '^#[0-9]+' "$log" | tail -n 60 >&2
        for input in "$saved"/*; do
            case "$input" in *.log) continue ;; esac
            [ -f "$input" ] && echo "Saved input: $input (reproduce: $binary $input)" >&2
        done
    fi
done

echo
printf '%-20s %14s %10s %8s  %s\n' target executions exec/s "rss MB" result
printf '%s\n' "${report[@]}"
if [ ${#failed[@]} -gt 0 ]; then
    echo "Failed: ${failed[*]}" >&2
    exit 1
fi
