#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Starts the real program on its own X server and accessibility bus and plays a problem through
# the bus with a real accessibility client (pyatspi), as a screen reader would.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/../smoke/xvfb.sh"
with_work
start_xvfb "$work/xvfb.log"
pids+=("$xvfb_pid")
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb

dbus-run-session -- bash -c '
    set -euo pipefail
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    bus=$!
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 "$1" 2>"$3" &
    app=$!
    trap "kill $app $bus 2>/dev/null || true" EXIT
    if /usr/bin/python3 "$2"; then exit 0; fi
    echo "the program said:" >&2; cat "$3" >&2; exit 1
' check "$program" "$here/drill.py" "$work/program.log"
