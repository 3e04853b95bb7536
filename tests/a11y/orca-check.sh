#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Plays the real program by keys under a real screen reader (Orca, speaking through
# speech-dispatcher) on its own X server and D-Bus session, and checks what Orca says.
set -euo pipefail
program=$1
here=$(cd "$(dirname "$0")" && pwd)

. "$here/../smoke/xvfb.sh"
with_work
start_xvfb "$work/xvfb.log"
pids+=("$xvfb_pid")
export DISPLAY=":$display"

if ! dbus-run-session -- /usr/bin/python3 "$here/spoken.py" "$program" "$work"; then
    echo "the program said:" >&2
    cat "$work/program.log" >&2 || true
    exit 1
fi
