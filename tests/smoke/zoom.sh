#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# The real program under openbox on the classroom's small screens, where the window is smaller
# than the design: after たしざん, L01 and けってい, a press low in each row (beside its keypad)
# and a wrong answer on row 3, the window must be the design-size window scaled to its size.
# Each picture is blurred by 3 pixels and pixels differing by more than 8 % are counted, in the
# whole window and in each row's band. The clock is stopped at one time of day in every run, so
# each draws the same problems and the × stays on the screen.
#   zoom.sh PROGRAM [SHOTS_FOLDER]   (with a folder, each window's picture goes there)
set -euo pipefail
program=$1
shots=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb.sh"
with_work

# The design's client area, and the places pressed in it, in design pixels of the window: the
# surface stands at (8, 50) once a level is decided; rows are 200 apart.
design_w=1018 design_h=731
presses=(
    "76 24"    # たしざん
    "118 109"  # L01
    "878 74"   # けってい
    "68 304"   # low in row 1, left of its keypad
    "68 504"   # row 2
    "68 704"   # row 3
    "490 684"  # row 3's 9, twice
    "490 684"
    "630 685"  # row 3's ﾁｪｯｸ: a wrong answer, ×
)

# Prints "width height" of a client window.
client_size() {
    xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

# shoot NAME SIZE PANEL: plays the presses on a screen of SIZE with a PANEL pixels high at its
# bottom and keeps the window's picture as $work/NAME.png.
shoot() {
    local name=$1 size=$2 panel=$3
    start_desktop "$size" "$panel"
    # A stopped wall clock: the same seed every run, and a mark that does not go away. Qt's
    # timers keep the real monotonic clock.
    FAKETIME_DONT_FAKE_MONOTONIC=1 faketime -m -f "2026-01-01 10:42:07" "$program" 2>"$work/program.log" &
    pids+=("$!")
    local id=''
    find_window() { id=$(xdotool search --onlyvisible --name 'ぴこまる Ver' 2>/dev/null | head -n 1); [ -n "$id" ]; }
    wait_until 60 find_window || { echo "no window on $size" >&2; cat "$work/program.log" >&2; return 1; }
    framed() { xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -q " = "; }
    wait_until 30 framed || { echo "openbox did not frame the window on $size" >&2; return 1; }
    local w h
    read -r w h <<<"$(client_size "$id")"
    # The design at the largest zoom that fits, centred: where a design point lands.
    local zoom x0 y0
    zoom=$(awk -v w="$w" -v h="$h" -v dw=$design_w -v dh=$design_h \
        'BEGIN {z = w / dw; if (h / dh < z) z = h / dh; printf "%.6f", z}')
    x0=$(awk -v w="$w" -v z="$zoom" -v dw=$design_w 'BEGIN {printf "%d", (w - int(dw * z + 0.5)) / 2}')
    y0=$(awk -v h="$h" -v z="$zoom" -v dh=$design_h 'BEGIN {printf "%d", (h - int(dh * z + 0.5)) / 2}')
    echo "screen $size, panel $panel: window ${w}x$h, zoom $zoom"
    local press x y
    for press in "${presses[@]}"; do
        read -r x y <<<"$press"
        xdotool mousemove --window "$id" \
            "$(awk -v v="$x" -v z="$zoom" -v o="$x0" 'BEGIN {printf "%d", o + v * z}')" \
            "$(awk -v v="$y" -v z="$zoom" -v o="$y0" 'BEGIN {printf "%d", o + v * z}')" click 1
    done
    # The × is the last thing drawn: wait for it to show whole (as many red pixels in two
    # pictures running; the answer box's cursor may blink meanwhile).
    local shot=$work/$name.png red='' previous='' mark
    # Where the × stands: 40 design pixels square at (58, 603).
    mark=$(awk -v z="$zoom" -v x="$x0" -v y="$y0" \
        'BEGIN {printf "%dx%d+%d+%d", 40 * z, 40 * z, x + 58 * z, y + 603 * z}')
    marked() {
        import -window "$id" "$shot" 2>/dev/null || return 1
        red=$(convert "$shot" -crop "$mark" +repage -fuzz 25% -fill black +opaque 'rgb(255,0,0)' \
            -fill white -opaque 'rgb(255,0,0)' -format '%[fx:int(mean * w * h + 0.5)]' info:)
        [ "$red" -gt 10 ] && [ "$red" = "$previous" ] && return 0
        previous=$red
        return 1
    }
    # Without it the picture is still compared, to tell how far it is from the design.
    unmarked=0
    wait_until 30 marked || unmarked=1
    [ -z "$shots" ] || cp "$shot" "$shots/zoom-$name.png"
    end_listed
}

# differing A B LEFT TOP WIDTH HEIGHT: per cent of the pixels of an area that differ in the two
# blurred pictures.
differing() {
    local count
    convert "$1" -crop "$5x$6+$3+$4" +repage "$work/a.png"
    convert "$2" -crop "$5x$6+$3+$4" +repage "$work/b.png"
    count=$(compare -metric AE -fuzz 8% "$work/a.png" "$work/b.png" null: 2>&1 || true)
    awk -v c="$count" -v a="$(($5 * $6))" 'BEGIN {printf "%.2f", 100 * c / a}'
}

shoot design 1280x800 0
((unmarked == 0)) || { echo "no × on the design-size window" >&2; exit 1; }
status=0
for screen in "1366x768 40" "1280x720 40" "1024x600 0"; do
    read -r size panel <<<"$screen"
    name=$size-$panel
    shoot "$name" "$size" "$panel"
    if ((unmarked)); then
        echo "  no × where the design has it" >&2
        status=1
    fi
    read -r w h <<<"$(identify -format '%w %h' "$work/$name.png")"
    convert "$work/design.png" -resize "${w}x$h!" -blur 0x3 "$work/expected.png"
    convert "$work/$name.png" -blur 0x3 "$work/seen.png"
    whole=$(differing "$work/expected.png" "$work/seen.png" 0 0 "$w" "$h")
    line="  differing pixels: window $whole %"
    bad=$(awk -v d="$whole" 'BEGIN {print (d > 2)}')
    for row in 1 2 3; do
        top=$(awk -v r=$row -v h="$h" -v dh=$design_h 'BEGIN {printf "%d", (50 + 200 * (r - 1) + 70) * h / dh}')
        band=$(awk -v h="$h" -v dh=$design_h 'BEGIN {printf "%d", 190 * h / dh}')
        d=$(differing "$work/expected.png" "$work/seen.png" 0 "$top" "$w" "$band")
        line+=", row $row $d %"
        bad=$((bad | $(awk -v d="$d" 'BEGIN {print (d > 3)}')))
    done
    echo "$line"
    if ((bad)); then
        echo "  the window on $size is not the design scaled" >&2
        status=1
    fi
done
((status == 0)) && echo "every small screen shows the design scaled"
exit $status
