#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# The start screen in the browser is the desktop's: the page in headless Chromium at the window's
# client size (1018 x 731, one pixel per CSS pixel) and the real program's client area on Xvfb at
# zoom 1 differ in fewer than 2 % of their pixels. A pixel differs when one of its channels
# differs by more than 16 of 255; below that, the two text renderers only smooth edges their own
# way.
#   same-as-desktop.sh [--save FOLDER]   (with a folder, web-start.png and desktop-start.png go there)
# PIKOMARU_DESKTOP: the desktop program (build/app/pikomaru); when it is missing the test is
# skipped (exit 77). PIKOMARU_SITE: the page's folder (build-web/web/site). Chromium is Debian's,
# driven by playwright-core from tests/web/node_modules (cd tests/web && npm ci).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
desktop=${PIKOMARU_DESKTOP:-$root/build/app/pikomaru}
site=${PIKOMARU_SITE:-$root/build-web/web/site}
save=''
[ "${1:-}" != --save ] || save=${2:?--save needs a folder}
width=1018 height=731
tolerance=16 # of 255, in any channel
bound=2      # per cent of the pixels

if [ ! -x "$desktop" ]; then
    echo "no desktop program at $desktop: nothing to compare the page with" >&2
    exit 77
fi
[ -f "$site/index.html" ] || { echo "no page in $site (cmake --build --preset web)" >&2; exit 1; }
[ -d "$here/node_modules/playwright-core" ] || { echo "playwright-core is missing: cd tests/web && npm ci" >&2; exit 1; }

# shellcheck source=tests/smoke/xvfb.sh
. "$root/tests/smoke/xvfb.sh"
work=$(mktemp -d)
app_pid='' xvfb_pid=''
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true; rm -rf "$work"' EXIT

# The desktop: a screen larger than the window, so that it opens at the design's size, and no
# window manager, so that the program's own window is the client area.
start_xvfb "$work/xvfb.log" 1280x1024
export DISPLAY=":$display" QT_QPA_PLATFORM=xcb
"$desktop" 2>"$work/program.log" &
app_pid=$!
wait_for_window "$app_pid" "${width}x$height" || { cat "$work/program.log" >&2; exit 1; }
id=$(xdotool search --sync --onlyvisible --name 'ぴこまる' | head -n 1)
# Mapped is not yet painted: grab until the operation buttons' colour shows.
painted() {
    import -window "$id" "$work/desktop.png" &&
        convert "$work/desktop.png" -unique-colors txt:- | grep -q '#00C0C0'
}
tries=0
until painted; do
    ((++tries < 200)) || { echo "the window never showed its buttons" >&2; exit 1; }
done

# The browser: the site served from this process on a free port, the page at the same size.
node --input-type=module - "$here/serve.mjs" "$site" "$work/web.png" "$width" "$height" <<'EOF'
const [serving, site, shot, width, height] = process.argv.slice(2);
const { launchChromium, serve } = await import(serving);
const [browser, server] = await Promise.all([launchChromium(), serve(site)]);
try {
  const page = await browser.newPage({
    viewport: { width: Number(width), height: Number(height) }, deviceScaleFactor: 1,
  });
  await page.goto(server.url);
  await page.waitForSelector('#Form1.ready');
  await page.screenshot({ path: shot });
} finally {
  await browser.close();
  await server.close();
}
EOF

if [ -n "$save" ]; then
    mkdir -p "$save"
    cp "$work/web.png" "$save/web-start.png"
    cp "$work/desktop.png" "$save/desktop-start.png"
fi

size() { identify -format '%wx%h' "$1"; }
for shot in desktop web; do
    [ "$(size "$work/$shot.png")" = "${width}x$height" ] ||
        { echo "the $shot shot is $(size "$work/$shot.png"), not ${width}x$height" >&2; exit 1; }
done
# Per pixel, the largest difference of its three channels, white where it is above the tolerance.
# The threshold lies halfway to the next level, so rounding cannot move a pixel across it.
differing=$(convert "$work/desktop.png" "$work/web.png" -alpha off -compose difference -composite \
    -separate -evaluate-sequence max -threshold "$(awk "BEGIN {print ($tolerance + 0.5) / 2.55}")%" \
    -format '%[fx:round(mean * w * h)]' info:)
share=$(awk "BEGIN {printf \"%.2f\", 100 * $differing / ($width * $height)}")
echo "start screen, ${width}x$height: $differing pixels ($share %) differ by more than $tolerance of 255 between the page and the window"
awk "BEGIN {exit !($differing < $bound / 100 * $width * $height)}" ||
    { echo "that is not below $bound %" >&2; exit 1; }
