# shellcheck shell=bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Sourced by the Xvfb tests. Nothing here sleeps for a fixed time to let something happen: each
# wait asks the thing itself (the X server, the window tree) until it answers, within a bound
# generous enough for a loaded machine.

# wait_until SECONDS COMMAND...: runs COMMAND until it succeeds; fails once SECONDS have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.05
    done
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
