#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# The real program under a real window manager (openbox) on screens of several sizes: its whole
# window, title bar included, lies inside the screen's free area, and F11 fills the screen.
#   screens.sh PROGRAM [SHOTS_FOLDER]   (with a folder, a screenshot of each screen goes there)
set -euo pipefail
program=$1
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
with_work

# Prints "x y width height" of a client window.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}
# Prints "left right top bottom" of the frame the window manager puts round a window.
extents() {
    xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.* = \([0-9]*\), \([0-9]*\), \([0-9]*\), \([0-9]*\)$/\1 \2 \3 \4/p'
}

# one SIZE PANEL SCALE: a screen of SIZE with a panel of PANEL pixels at its bottom (the window
# manager keeps it free) and the desktop scaled by SCALE.
one() {
    local size=$1 panel=$2 scale=$3 width height
    width=${size%x*} height=${size#*x}
    start_desktop "$size" "$panel"
    QT_SCALE_FACTOR=$scale "$program" 2>"$work/program.log" &
    local app=$!
    pids+=("$app")
    local id=''
    find_window() { id=$(xdotool search --onlyvisible --name 'ぴこまる Ver' 2>/dev/null | head -n 1); [ -n "$id" ]; }
    wait_until 60 find_window || { echo "no window on $size" >&2; cat "$work/program.log" >&2; return 1; }
    framed() { [ -n "$(extents "$id")" ]; }
    wait_until 30 framed || { echo "openbox did not frame the window on $size" >&2; return 1; }
    local cx cy cw ch left right top bottom
    read -r cx cy cw ch <<<"$(geometry "$id")"
    read -r left right top bottom <<<"$(extents "$id")"
    local fx=$((cx - left)) fy=$((cy - top)) fw=$((cw + left + right)) fh=$((ch + top + bottom))
    local free=$((height - panel))
    echo "screen $size, panel $panel, scale $scale: window ${cw}x$ch at $cx,$cy; with its frame ${fw}x$fh at $fx,$fy"
    if ((fx < 0 || fy < 0 || fx + fw > width || fy + fh > free)); then
        echo "  the window does not fit the free area ${width}x$free" >&2
        return 1
    fi
    [ -z "$shots" ] || import -window root "$shots/screen-$size-$scale.png"
    if [ "$size" = 1920x1080 ] && [ "$scale" = 1 ]; then
        xdotool key --window "$id" F11
        full() { read -r _ _ cw ch <<<"$(geometry "$id")"; ((cw == width && ch == height)); }
        wait_until 30 full || { echo "  F11 did not fill the screen" >&2; return 1; }
        echo "  F11: the drill fills the screen, ${width}x$height"
        [ -z "$shots" ] || import -window root "$shots/screen-$size-fullscreen.png"
    fi
    end_listed
}

one 1024x768 0 1
one 1024x768 40 1
one 1024x600 0 1
one 1280x720 0 1
one 1366x768 0 1
one 800x600 0 1
one 1920x1080 0 1
one 1920x1080 0 1.5
one 1920x1080 0 2
one 3840x2160 0 1
echo "every screen fits the window"
