#!/usr/bin/env bash
# Takes the README's screenshots from the real program under Xvfb, against the gateway
# simulator on 127.0.0.9: the main window with rows in every state, a chat window with
# yesterday's whispers in its history and the console. Writes docs/screenshots/*.png.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
for tool in Xvfb icewm xdotool import; do
    command -v "$tool" >/dev/null || {
        "${sudo_cmd[@]}" apt-get install -y -qq xvfb icewm xdotool imagemagick >/dev/null
        break
    }
done
bash scripts/install-deps.sh
build=${TESK_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target tesk gateway-sim

work=$(mktemp -d)
out=docs/screenshots
mkdir -p "$out"
display=:97
pids=()
# TESK saves its files as it leaves: wait for it before removing its folder.
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

printf '%s\r\n' '[Settings]' 'Gateway=127.0.0.9' 'Anonymous=0' 'User=me' 'Password=' 'History=1' \
    '[Users]' 'Count=5' '0=alice' '1=bob' '2=carol' '3=dave@northrend' '4=erin' \
    '[MainForm]' 'Width=190' 'Height=260' 'Left=40' 'Top=40' >"$work/Tesk.ini"

history=$work/data/tesk/history
mkdir -p "$history"
yesterday=$(date -d yesterday +%F)
printf '%s\n' "$yesterday 21:14:02 frank: good game! rematch tomorrow?" \
    "$yesterday 21:14:40 me: sure, after eight" \
    "$yesterday 21:15:03 frank: deal. bring erin" >"$history/frank.log"

Xvfb "$display" -screen 0 1024x640x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
export DISPLAY=$display
icewm >/dev/null 2>&1 & pids+=($!)
"$build/tools/gateway-sim/gateway-sim" --address 127.0.0.9 --port 6112 --quiet \
    --scenario tools/gateway-sim/scenarios/screenshots.txt & pids+=($!)
sleep 0.5
XDG_RUNTIME_DIR=$work XDG_DATA_HOME=$work/data "$build/src/tesk" --config "$work/Tesk.ini" >/dev/null 2>&1 & pids+=($!)

# Polling five users takes ten seconds; erin whispers after her row was polled.
sleep 15
shoot() { import -window "$(xdotool search --sync --onlyvisible --name "$1" | head -n 1)" "$out/$2"; }
shoot '^TESK$' main-window.png
shoot '^Chat: frank$' chat-window.png
xdotool search --onlyvisible --name "^TESK$" windowactivate --sync key ctrl+q
sleep 1
shoot '^Console$' console.png
echo "Screenshots written to $out"
