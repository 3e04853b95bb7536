#!/usr/bin/env bash
# Starts the real program on an X server (Xvfb, 1024 x 768) and checks that its window appears
# with the large layout's client area, then ends it.
set -euo pipefail
program=$1

exec 3< <(Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp 4>&1 >/dev/null 2>&1 & echo "pid $!"; wait)
xvfb_pid='' display=''
for _ in 1 2; do
    read -r line <&3
    case "$line" in
    pid\ *) xvfb_pid=${line#pid } ;;
    *) display=$line ;;
    esac
done
export DISPLAY=":$display"
trap 'kill "$app_pid" "$xvfb_pid" 2>/dev/null || true' EXIT

"$program" &
app_pid=$!
for _ in $(seq 1 100); do
    if xwininfo -root -tree 2>/dev/null | grep -q ' 1018x731+'; then
        kill -0 "$app_pid"
        echo "window shown on $DISPLAY"
        exit 0
    fi
    kill -0 "$app_pid" || { echo "the program ended early" >&2; exit 1; }
    sleep 0.1
done
echo "no window appeared" >&2
exit 1
