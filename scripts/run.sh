#!/usr/bin/env bash
# Installs what is missing, builds TESK and runs it.
#
#   bash scripts/run.sh                 the demo: the gateway simulator on 127.0.0.1 with
#                                       scripted users, and TESK watching them, with a
#                                       configuration of its own (build/demo/Tesk.ini)
#   bash scripts/run.sh --config FILE   TESK with your own configuration
#
# Without a display TESK runs headless and prints what it sees. Ctrl+C ends it; it saves
# its watch list like the Exit command does.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
build=${TESK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tesk gateway-sim

mode=()
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running headless (Ctrl+C ends it)."
    mode=(--headless)
fi

if [ "${1:-}" = "--config" ]; then
    exec "$build/src/tesk" "${mode[@]}" "$@"
fi

demo="$build/demo"
mkdir -p "$demo"
if [ ! -f "$demo/Tesk.ini" ]; then
    printf '%s\r\n' '[Settings]' 'Gateway=127.0.0.1' 'Anonymous=0' 'User=demo' 'Password=' \
        '[Users]' 'Count=5' '0=alice' '1=bob' '2=carol' '3=dave@northrend' '4=erin' \
        >"$demo/Tesk.ini"
fi
"$build/tools/gateway-sim/gateway-sim" --address 127.0.0.1 --port 6112 --quiet \
    --scenario tools/gateway-sim/scenarios/demo.txt &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null' EXIT
trap 'exit 130' INT TERM
sleep 0.5
kill -0 "$sim_pid" 2>/dev/null || { echo "The gateway simulator could not start (is port 6112 taken?)"; exit 1; }
cd "$demo"
"../src/tesk" "${mode[@]}" --poll-interval 15000 --config Tesk.ini
