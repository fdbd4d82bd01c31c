#!/usr/bin/env bash
# Builds the benchmarks in Release mode and prints their figures: first the in-process
# table, then the real tesk program beside a bare Qt Widgets window of our own, both
# measured the same way in the same run. The real programs run under Xvfb with the icewm
# window manager when both are installed (display :93, or $TESK_BENCH_DISPLAY), on the
# offscreen platform otherwise, with a session bus of their own (dbus-daemon) as a desktop
# has; as root they run as the unprivileged user nobody. It takes about a quarter of an
# hour; TESK_BENCH_ROUNDS (default 7) sets the rounds of starts.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTESK_BUILD_BENCH=ON \
    -DTESK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_lines bench_client tesk gateway-sim \
    bare_window window_shown flood_gateway
export LC_ALL=C

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
        # A state folder of its own, so that no recovery copy of the user's stops it with a
        # box; a run that waits anyway is ended rather than left to hang.
        XDG_RUNTIME_DIR=$dir XDG_STATE_HOME=$dir QT_QPA_PLATFORM=offscreen timeout 60 \
            "$build/src/tesk" --quit-when-shown --config "$dir/Tesk.ini" >/dev/null 2>&1 || true
        end=$(date +%s%N)
        times+=($(((end - start) / 1000000)))
    done
    rm -rf "$dir"
    printf '%s\n' "${times[@]}" | sort -n | sed -n 6p
}

echo "In-process (offscreen):"
echo
echo "| benchmark | figure | target |"
echo "|---|---|---|"
echo "| $("$build/bench/bench_lines") | | >= 5,000,000 lines/s |"
echo "| $("$build/bench/bench_client" throughput 2>/dev/null) | | >= 50,000 lines/s, none lost |"
echo "| start-up with 1,000 users: $(startup_ms) ms median of 11 | | <= 150 ms |"
echo "| $("$build/bench/bench_client" memory 2>/dev/null) | | <= 35 MB, <= 30 MB growth |"
echo "| $("$build/bench/bench_client" idle 2>/dev/null) | | <= 0.05 s |"

# ---- The real program, from outside ----

rounds=${TESK_BENCH_ROUNDS:-7}
floods=${TESK_BENCH_FLOODS:-3}
sizes=(10 1000 100000)
flood_lines=200000
gateway=127.0.0.93       # the simulator for the connected runs, on the gateway's port 6112
flood_address=127.0.0.94 # the flooding simulator
work=$(mktemp -d)
chmod 755 "$work"
started_pids=()
cleanup() {
    [[ $BASHPID == "$$" ]] || return 0 # a subshell ending is not the script's end
    for p in "${started_pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

display=${TESK_BENCH_DISPLAY:-:93}
platform=offscreen
if command -v Xvfb >/dev/null && command -v icewm >/dev/null && command -v xdotool >/dev/null &&
    [[ ! -e /tmp/.X11-unix/X${display#:} ]]; then
    Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started_pids+=($!)
    for _ in $(seq 50); do
        DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && platform=xcb && break
        sleep 0.1
    done
    if [[ $platform == xcb ]]; then
        DISPLAY=$display icewm >/dev/null 2>&1 &
        started_pids+=($!)
        sleep 2 # the window manager and its tray are up
    fi
fi

as_user=()
if [[ $(id -u) -eq 0 ]]; then
    as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)
fi

# A desktop has a session bus; without one, the D-Bus library of every program measured
# would try to start one.
bus=()
if command -v dbus-daemon >/dev/null; then
    mkdir -p "$work/bus"
    chmod 777 "$work/bus"
    address=$("${as_user[@]}" dbus-daemon --session --fork --print-address=1 --print-pid=3 \
        --address="unix:path=$work/bus/socket" 3>"$work/bus/pid")
    started_pids+=("$(cat "$work/bus/pid")")
    bus=(DBUS_SESSION_BUS_ADDRESS="$address")
fi

# A home of its own per program and size: Tesk.ini, the lock, the state folder.
home_for() { # NAME USERS GATEWAY
    local dir=$work/$1
    rm -rf "$dir"
    mkdir -p "$dir/run" "$dir/state"
    {
        printf '[Settings]\r\nGateway=%s\r\n[Users]\r\nCount=%d\r\n' "$3" "$2"
        # In the order TESK saves them (the list's order), as a file it wrote has them.
        awk -v n="$2" 'BEGIN { for (i = 0; i < n; i++) print "user" i }' | sort |
            awk '{ printf "%d=%s\r\n", NR - 1, $0 }'
        printf '[MainForm]\r\nWidth=130\r\n'
    } >"$dir/Tesk.ini"
    chmod 700 "$dir/run"
    [[ ${#as_user[@]} -eq 0 ]] || chown -R 65534:65534 "$dir"
    echo "$dir"
}

# Starts PROGRAM in the background in the home DIR; sets pid and started (microseconds).
launch() { # DIR PROGRAM ARGS...
    local dir=$1
    shift
    started=${EPOCHREALTIME/./}
    env -i PATH=/usr/bin:/bin LANG=C.UTF-8 HOME="$dir" XDG_RUNTIME_DIR="$dir/run" \
        XDG_STATE_HOME="$dir/state" DISPLAY="$display" QT_QPA_PLATFORM="$platform" "${bus[@]}" \
        "${as_user[@]}" "$@" >/dev/null 2>>"$work/programs.log" &
    pid=$!
}

# Sets shown_ms: from exec to the window TITLE of pid viewable ("-" when it never came).
wait_for_window() { # TITLE
    local at
    if at=$(DISPLAY=$display "$build/bench/window_shown" "$pid" "$1" 120); then
        shown_ms=$(((${at/./} - started) / 1000))
    else
        shown_ms=-
    fi
}

# Offscreen there is no window to see: exec to the end of the one-time start-up steps.
offscreen_start_ms() { # DIR PROGRAM ARGS...
    launch "$@" --quit-when-shown
    wait "$pid" || true
    shown_ms=$(((${EPOCHREALTIME/./} - started) / 1000))
}

# Sets stop_ms: SIGTERM to exit, which for TESK is the save of Tesk.ini. A program still
# there after a minute (a box waiting for an answer) is killed.
stop_program() {
    local from=${EPOCHREALTIME/./}
    kill -TERM "$pid" 2>/dev/null || true
    (sleep 60 && kill -KILL "$pid" 2>/dev/null) &
    local watchdog=$!
    wait "$pid" 2>/dev/null || true
    stop_ms=$(((${EPOCHREALTIME/./} - from) / 1000))
    kill "$watchdog" 2>/dev/null || true
    wait "$watchdog" 2>/dev/null || true
}

# A program that has ended (see the messages at the end) has no memory: "-".
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || echo -; }
private_kb() {
    awk '/^Private_(Clean|Dirty):/ { s += $2 } END { print s }' "/proc/$pid/smaps_rollup" \
        2>/dev/null || echo -
}
# Resident kB per mapped file (its name), the heap, and anonymous memory.
mappings_kb() {
    awk '/^[0-9a-f]+-[0-9a-f]+ / { n = split($6, part, "/"); name = NF < 6 ? "[anonymous]" : part[n] }
         /^Rss:/ { kb[name] += $2 }
         END { for (name in kb) print name, kb[name] }' "/proc/$pid/smaps"
}
# CPU time of every thread, in nanoseconds.
cpu_ns() { cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%.0f", s }'; }

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f MB", kb / 1024 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
grouped() { echo "$1" | sed -e ':a' -e 's/\B[0-9]\{3\}\>/,&/' -e 'ta'; }

program_for() { # KIND: bare or a number of users
    if [[ $1 == bare ]]; then
        echo "$build/bench/bare_window"
    else
        echo "$build/src/tesk --config $work/tesk$1/Tesk.ini"
    fi
}
title_for() { if [[ $1 == bare ]]; then echo "Bare Qt"; else echo TESK; fi; }

"$build/tools/gateway-sim/gateway-sim" --address "$gateway" --quiet >/dev/null 2>&1 &
started_pids+=($!)
until (exec 3<>"/dev/tcp/$gateway/6112") 2>/dev/null; do sleep 0.1; done
home_for bare 0 "$gateway" >/dev/null
for users in "${sizes[@]}"; do home_for "tesk$users" "$users" "$gateway" >/dev/null; done

# Rounds of starts, the order rotated each round: the window, resident memory 5 s later,
# the exit.
kinds=(bare "${sizes[@]}")
declare -A window resident private saving
for round in $(seq 0 $((rounds - 1))); do
    for i in "${!kinds[@]}"; do
        kind=${kinds[$(((i + round) % ${#kinds[@]}))]}
        dir=$work/$([[ $kind == bare ]] && echo bare || echo "tesk$kind")
        read -ra command <<<"$(program_for "$kind")"
        if [[ $platform == offscreen ]]; then
            offscreen_start_ms "$dir" "${command[@]}"
            launch "$dir" "${command[@]}"
            sleep 1
        else
            launch "$dir" "${command[@]}"
            wait_for_window "$(title_for "$kind")"
        fi
        window[$kind]+=" $shown_ms"
        sleep 5
        resident[$kind]+=" $(resident_kb)"
        private[$kind]+=" $(private_kb)"
        mappings_kb >"$work/mappings-$kind" 2>/dev/null || true
        stop_program
        saving[$kind]+=" $stop_ms"
    done
done

# Idle CPU in 60 s, from 5 s after the window: connected, polling, nothing arriving.
declare -A idle
for kind in "${kinds[@]}"; do
    dir=$work/$([[ $kind == bare ]] && echo bare || echo "tesk$kind")
    read -ra command <<<"$(program_for "$kind")"
    launch "$dir" "${command[@]}"
    if [[ $platform == xcb ]]; then wait_for_window "$(title_for "$kind")"; fi
    sleep 5
    before=$(cpu_ns)
    sleep 60
    idle[$kind]=$(awk -v a="$(cpu_ns)" -v b="$before" 'BEGIN { printf "%.3f", (a - b) / 1e9 }')
    stop_program
done

# Flood throughput: 200,000 whois lines from a simulator in another process, until TESK's
# main thread has done with them, with the console closed and open (opened with its key,
# Ctrl+Q, which needs a window manager).
declare -A flood
flood_run() { # USERS closed|open
    local dir
    dir=$(home_for flood "$1" "$flood_address")
    rm -f "$work/to_flood" "$work/from_flood"
    mkfifo "$work/to_flood" "$work/from_flood"
    "$build/bench/flood_gateway" "$flood_address" "$flood_lines" "$1" \
        <"$work/to_flood" >"$work/from_flood" 2>/dev/null &
    local sim=$!
    exec 7>"$work/to_flood" 8<"$work/from_flood"
    local line result=-
    read -r -t 10 line <&8 || true
    launch "$dir" "$build/src/tesk" --config "$dir/Tesk.ini"
    if [[ $line == listening ]] && read -r -t 120 line <&8 && [[ $line == ready ]]; then
        local ready=yes
        if [[ $2 == open ]]; then
            ready=no
            if [[ $platform == xcb ]]; then
                wait_for_window TESK
                for _ in 1 2 3 4 5; do
                    DISPLAY=$display xdotool search --onlyvisible --pid "$pid" --name '^TESK$' \
                        windowactivate --sync key ctrl+q >/dev/null 2>&1 || true
                    if DISPLAY=$display "$build/bench/window_shown" "$pid" Console 2 >/dev/null; then
                        ready=yes
                        break
                    fi
                done
            fi
        fi
        if [[ $ready == yes ]]; then
            sleep 2
            echo "flood $pid" >&7
            read -r -t 900 line <&8 && result=$(echo "$line" | awk '/^flood:/ { print $2 }')
        fi
    fi
    exec 7>&- 8<&-
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    stop_program
    flood[$1 $2]=$result
}
for users in "${sizes[@]}"; do
    for console in closed open; do
        results=()
        for _ in $(seq "$floods"); do
            flood_run "$users" "$console"
            results+=("${flood[$users $console]}")
        done
        flood[$users $console]=$(median "${results[@]}")
    done
done

for kind in "${kinds[@]}"; do
    read -ra values <<<"${window[$kind]}"
    window[$kind]=$(median "${values[@]}")
    read -ra values <<<"${resident[$kind]}"
    resident[$kind]=$(median "${values[@]}")
    read -ra values <<<"${private[$kind]}"
    private[$kind]=$(median "${values[@]}")
    read -ra values <<<"${saving[$kind]}"
    saving[$kind]=$(median "${values[@]}")
done

echo
if [[ $platform == xcb ]]; then
    echo "The real program under Xvfb ($display) with icewm, a simulator in another process;"
    echo "window: exec to the window mapped; medians of $rounds rounds ($floods for floods):"
else
    echo "The real program on the offscreen platform (no Xvfb or no window manager), a simulator"
    echo "in another process; window: exec to the end of the start-up steps; medians of $rounds rounds ($floods for floods):"
fi
echo
echo "| program | window | resident 5 s later | private | idle CPU in 60 s | exit (save) | flood, console closed | flood, console open |"
echo "|---|---|---|---|---|---|---|---|"
echo "| bare Qt window | ${window[bare]} ms | $(mb "${resident[bare]}") | $(mb "${private[bare]}") |" \
    "${idle[bare]} s | ${saving[bare]} ms | | |"
for users in "${sizes[@]}"; do
    closed=${flood[$users closed]}
    open=${flood[$users open]}
    echo "| TESK, $(grouped "$users") users | ${window[$users]} ms | $(mb "${resident[$users]}") |" \
        "$(mb "${private[$users]}") | ${idle[$users]} s | ${saving[$users]} ms |" \
        "$([[ $closed == - ]] && echo - || echo "$(grouped "$closed") lines/s") |" \
        "$([[ $open == - ]] && echo "- (needs Xvfb and a window manager)" || echo "$(grouped "$open") lines/s") |"
done
echo
echo "TESK to the bare Qt window (window, resident memory), and idle CPU to TESK's with 10 users:"
for users in "${sizes[@]}"; do
    echo "- $(grouped "$users") users: window $(ratio "${window[$users]}" "${window[bare]}")x," \
        "resident $(ratio "${resident[$users]}" "${resident[bare]}")x," \
        "idle CPU $(ratio "${idle[$users]}" "${idle[10]}")x"
done
# Failures of the programs measured (no sound card is none: the floods bring chimes).
failures=$(grep -v '^ALSA lib' "$work/programs.log" | grep -iE 'abort|could not|cannot|error' |
    sort | uniq -c | head -20 || true)
if [[ -n $failures ]]; then
    echo
    echo "Messages of the programs measured:"
    echo "$failures"
fi
echo
echo "Resident memory TESK with 1,000 users adds to the bare Qt window, by mapping (last round):"
awk 'FNR == NR { bare[$1] = $2; next } { added = $2 - bare[$1]; if (added >= 100 || added <= -100) printf "%+7d kB  %s\n", added, $1 }' \
    "$work/mappings-bare" "$work/mappings-1000" | sort -rn
