#!/usr/bin/env bash
# Makes the .deb, installs it with apt-get, starts the installed program on Xvfb, checks that it
# draws exactly what the tested build draws (Japanese text and all), and removes it again.
# It installs a system package, so it runs only in CI (CI=true) or when asked for
# (PIKOMARU_PACKAGE_TEST=1).
set -euo pipefail
build=$1
if [ "${CI:-}" != true ] && [ "${PIKOMARU_PACKAGE_TEST:-}" != 1 ]; then
    echo "skipped: set PIKOMARU_PACKAGE_TEST=1 to install and remove the package on this machine"
    exit 0
fi
sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/pikomaru_*.deb | head -n 1)
dpkg-deb -f "$deb" Depends
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$deb" >/dev/null
trap '"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get remove -y -q pikomaru >/dev/null || true' EXIT
test -x /usr/bin/pikomaru
test -f /usr/share/applications/jp.pikomaru.Pikomaru.desktop
# Its Japanese fonts came with it: without them every caption would be a row of boxes.
fc-list :lang=ja family | grep -q 'IPA' || { echo "no Japanese font installed" >&2; exit 1; }

. "$(dirname "$0")/../smoke/xvfb.sh"

# Shows a program's first screen on a fresh X server and dumps the screen.
shot() {
    local program=$1 out=$2 app_pid
    start_xvfb
    DISPLAY=":$display" "$program" &
    app_pid=$!
    for _ in $(seq 1 100); do
        DISPLAY=":$display" xwininfo -root -tree 2>/dev/null | grep -q ' 1018x731+' && break
        sleep 0.1
    done
    sleep 1
    DISPLAY=":$display" xwd -root -silent > "$out"
    kill "$app_pid" "$xvfb_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
}
work=$(mktemp -d)
shot /usr/bin/pikomaru "$work/installed.xwd"
shot "$build/app/pikomaru" "$work/built.xwd"
cmp -s "$work/installed.xwd" "$work/built.xwd" || { echo "the installed program draws differently" >&2; exit 1; }
rm -rf "$work"
echo "package installed, shown and removed"
