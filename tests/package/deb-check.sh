#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Makes the .deb, checks it with lintian (any error fails), installs it with apt-get, starts the
# installed program on Xvfb, checks that it draws exactly what the tested build draws (Japanese
# text and all), and removes it again.
# It installs a system package, so it runs only in CI (CI=true) or when asked for
# (PIKOMARU_PACKAGE_TEST=1).
set -euo pipefail
build=$1
id=${PIKOMARU_ID:?the application id, as ctest gives it}
if [ "${CI:-}" != true ] && [ "${PIKOMARU_PACKAGE_TEST:-}" != 1 ]; then
    echo "skipped: set PIKOMARU_PACKAGE_TEST=1 to install and remove the package on this machine"
    exit 0
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/pikomaru_*.deb | head -n 1)
dpkg-deb -f "$deb" Depends
lintian --fail-on error "$deb"
remove() {
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q pikomaru >/dev/null || true
}
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
trap remove EXIT
test -x /usr/bin/pikomaru
test -f "/usr/share/applications/$id.desktop"
# Its Japanese fonts came with it: without them every caption would be a row of boxes.
fc-list :lang=ja family | grep -q 'IPA' || { echo "no Japanese font installed" >&2; exit 1; }

# shellcheck source=tests/smoke/xvfb.sh
. "$(dirname "$0")/../smoke/xvfb.sh"
work=$(mktemp -d)
app_pid='' xvfb_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"; remove' EXIT

# shot PROGRAM OUT: shows a program's first screen on a fresh X server and keeps the screen's
# pixels in OUT once it has settled: the window has been painted (the screen is no longer the
# empty one) and two pictures in a row are the same. A failure prints what the program said.
shot() {
    local program=$1 out=$2 name
    name=$(basename "$out" .rgb)
    start_xvfb "$work/$name-xvfb.log"
    export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
    screen "$work/empty.rgb"
    rm -f "$work/previous.rgb"
    "$program" 2>"$work/$name.log" &
    app_pid=$!
    if ! wait_for_window "$app_pid" 1018x731 || ! wait_until 120 settled "$out"; then
        echo "$program did not settle on a picture; what it wrote to stderr:" >&2
        cat "$work/$name.log" >&2
        exit 1
    fi
    kill "$app_pid" "$xvfb_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    app_pid='' xvfb_pid=''
}
# screen OUT: the screen's pixels, and nothing else, into OUT. A dump's header holds bytes that xwd
# leaves as they happen to be, which differ between two dumps of the same screen.
screen() {
    xwd -root -silent | convert xwd:- rgb:"$1"
}
# settled OUT: the screen into OUT; true when it is painted and the same as the last picture.
settled() {
    local previous=$work/previous.rgb
    [ -f "$1" ] && mv "$1" "$previous"
    screen "$1"
    ! cmp -s "$1" "$work/empty.rgb" && [ -f "$previous" ] && cmp -s "$1" "$previous"
}

shot /usr/bin/pikomaru "$work/installed.rgb"
shot "$build/app/pikomaru" "$work/built.rgb"
cmp -s "$work/installed.rgb" "$work/built.rgb" || { echo "the installed program draws differently" >&2; exit 1; }
echo "package installed, shown and removed"
