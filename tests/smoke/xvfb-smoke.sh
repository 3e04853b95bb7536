#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Starts the real program on an X server (Xvfb, 1024 x 768) and checks that its window appears
# with the large layout's client area, then ends it. When it fails, it prints what the program
# said.
set -euo pipefail
program=$1

# shellcheck source=tests/smoke/xvfb.sh
. "$(dirname "$0")/xvfb.sh"
work=$(mktemp -d)
app_pid='' xvfb_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

start_xvfb "$work/xvfb.log"
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

fail() {
    echo "$1; what the program wrote to stderr:" >&2
    cat "$work/program.log" >&2
    exit 1
}

"$program" 2>"$work/program.log" &
app_pid=$!
started=$SECONDS
wait_for_window "$app_pid" 1018x731 || fail "no window"
kill -0 "$app_pid" 2>/dev/null || fail "the program ended right after showing its window"
echo "window shown on $DISPLAY after $((SECONDS - started)) s"
