# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Sourced by the Xvfb tests. Nothing here sleeps for a fixed time to let something happen: each
# wait asks the thing itself (the X server, the window tree) until it answers, within a bound
# generous enough for a loaded machine.

# The program beeps through the user's sound server: in a test it finds none (and starts none),
# unless the test starts one of its own, so that no test beeps on the machine's speakers.
export PULSE_SERVER=unix:/nonexistent

# wait_until SECONDS COMMAND...: runs COMMAND until it succeeds; fails once SECONDS have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
}

# with_work: makes the script's own folder, $work, and its list of processes, $pids; whatever
# way the script ends, the processes listed end and the folder goes.
with_work() {
    work=$(mktemp -d)
    pids=()
    trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
}

# end_listed: ends the processes listed and waits until the X server started last has gone,
# display and all (it is not a child of this shell).
end_listed() {
    kill "${pids[@]}" 2>/dev/null || true
    wait "${pids[@]}" 2>/dev/null || true
    pids=()
    gone() { [ ! -e "/tmp/.X$display-lock" ] && ! kill -0 "$xvfb_pid" 2>/dev/null; }
    wait_until 30 gone || { echo "the X server on :$display did not end" >&2; return 1; }
}

# start_xvfb LOG [SIZE]: starts an X server on a free display of SIZE (1024x768 unless given),
# waits until it answers a client, and sets xvfb_pid and display (the number, without the colon).
# The server's own messages go to LOG, which is printed when it does not come up. -noreset: an X
# server otherwise resets when its last client leaves (the readiness check is one), and a client
# connecting during that reset is turned away.
start_xvfb() {
    local log=$1 size=${2:-1024x768} line
    xvfb_pid='' display=''
    exec 3< <(Xvfb -displayfd 4 -screen 0 "${size}x24" -nolisten tcp -noreset 4>&1 >/dev/null 2>"$log" &
        echo "pid $!"
        wait)
    # The server writes its display number once it has chosen one.
    while [ -z "$xvfb_pid" ] || [ -z "$display" ]; do
        if ! read -r -t 60 line <&3; then
            echo "Xvfb did not report a display; its messages:" >&2
            cat "$log" >&2
            return 1
        fi
        case "$line" in
        pid\ *) xvfb_pid=${line#pid } ;;
        *) display=$line ;;
        esac
    done
    if ! wait_until 60 xdpyinfo -display ":$display" >/dev/null 2>&1; then
        echo "the X server on :$display does not answer; its messages:" >&2
        cat "$log" >&2
        return 1
    fi
}

# start_desktop SIZE PANEL: an X server of SIZE and openbox on it keeping PANEL pixels free at the
# screen's bottom, as a taskbar does; both go on $pids, and DISPLAY names the server.
start_desktop() {
    local size=$1 panel=$2
    start_xvfb "$work/xvfb.log" "$size" || return 1
    pids+=("$xvfb_pid")
    export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
    sed "s|<bottom>0</bottom>|<bottom>$panel</bottom>|" /etc/xdg/openbox/rc.xml >"$work/rc.xml"
    openbox --config-file "$work/rc.xml" >"$work/openbox.log" 2>&1 &
    pids+=("$!")
    wm_ready() { xprop -root _NET_WORKAREA 2>/dev/null | grep -q " = "; }
    wait_until 30 wm_ready || {
        echo "openbox did not come up on $size" >&2
        cat "$work/openbox.log" >&2
        return 1
    }
}

# wait_for_window PID SIZE: waits until a window with a client area of SIZE (WIDTHxHEIGHT) shows
# on $DISPLAY, as long as the program PID runs; fails when it ends first or after 120 seconds.
wait_for_window() {
    local pid=$1 size=$2 deadline=$((SECONDS + 120))
    until xwininfo -root -tree 2>/dev/null | grep -q " $size+"; do
        if ! kill -0 "$pid" 2>/dev/null; then
            local status=0
            wait "$pid" || status=$?
            echo "the program ended (exit status $status) before its window appeared" >&2
            return 1
        fi
        if ((SECONDS >= deadline)); then
            echo "no window of $size appeared within 120 seconds" >&2
            return 1
        fi
        sleep 0.05
    done
}
