#!/usr/bin/env bash
# Starts the real program on an X server (Xvfb, 1024 x 768) and checks that its window appears
# with the large layout's client area, then ends it.
set -euo pipefail
program=$1

. "$(dirname "$0")/xvfb.sh"
start_xvfb
export DISPLAY=":$display"
app_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT

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
