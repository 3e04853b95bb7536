#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# The real program on a desktop with a sound server (PulseAudio with a null output, recorded
# from its monitor) under openbox: a press beside the rows beeps through the sound output, and a
# second start brings the minimised first window forward and ends, leaving one window.
#   desktop.sh PROGRAM
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
with_work
fail() {
    echo "$1" >&2
    for log in "$work"/*.log; do
        echo "--- $log" >&2
        tail -n 20 "$log" >&2
    done
    exit 1
}

# A sound server of this test's own, its one output a null sink.
export XDG_RUNTIME_DIR=$work HOME=$work PULSE_SERVER=unix:$work/sound.socket
pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    -L "module-native-protocol-unix socket=$work/sound.socket auth-anonymous=1" \
    -L "module-null-sink sink_name=speaker" >"$work/pulseaudio.log" 2>&1 &
pids+=("$!")
wait_until 60 pactl info >/dev/null 2>&1 || fail "no sound server"
parec -d speaker.monitor --raw --format=s16le --channels=1 --rate=8000 >"$work/heard.raw" 2>"$work/parec.log" &
pids+=("$!")
recording() { pactl list short source-outputs | grep -q .; }
wait_until 60 recording || fail "the monitor is not recorded"

start_desktop 1280x800 0 || fail "no desktop"

"$program" 2>"$work/first.log" &
pids+=("$!")
id=''
windows() { xdotool search --name 'ぴこまる Ver' 2>/dev/null || true; }
find_window() { id=$(xdotool search --onlyvisible --name 'ぴこまる Ver' 2>/dev/null | head -n 1); [ -n "$id" ]; }
wait_until 60 find_window || fail "no window"
framed() { xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q " = "; }
wait_until 30 framed || fail "openbox did not frame the window"

# たしざん, L01, けってい, then a press in the gap between rows 1 and 2: the beep.
for press in "76 24" "118 109" "878 74" "400 315"; do
    read -r x y <<<"$press"
    xdotool mousemove --window "$id" "$x" "$y" click 1
done
# Heard: the recording holds samples well above silence.
heard() {
    od -An -v -t d2 -w2 "$work/heard.raw" | awk '$1 > 4000 || $1 < -4000 {n++} END {exit !(n > 100)}'
}
wait_until 60 heard || fail "no beep came through the sound output"
echo "a press beside the rows beeps through the sound output"

xdotool windowminimize --sync "$id"
"$program" 2>"$work/second.log" &
second=$!
pids+=("$second")
ended() { ! kill -0 "$second" 2>/dev/null; }
wait_until 60 ended || fail "the second start keeps running"
status=0
wait "$second" || status=$?
((status == 0)) || fail "the second start ended with status $status"
forward() {
    xdotool search --onlyvisible --name 'ぴこまる Ver' 2>/dev/null | grep -qx "$id" &&
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ]
}
wait_until 60 forward || fail "the second start did not bring the first window forward"
count=$(windows | wc -l)
((count == 1)) || fail "$count windows after a second start"
echo "a second start brings the first window forward and ends"
