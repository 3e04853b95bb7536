#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop finds there: the program,
# the menu entry, the AppStream metainfo and the icon at every size.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=jp.pikomaru.Pikomaru
test -x "$prefix/bin/pikomaru"
desktop-file-validate "$prefix/share/applications/$id.desktop"
grep -q '^Name\[ja\]=ぴこまる$' "$prefix/share/applications/$id.desktop"
grep -q '^Categories=Education;Math;$' "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml"
for size in 16 24 32 48 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png"
    test -s "$icon" || { echo "missing $icon" >&2; exit 1; }
    # PNG width and height are at bytes 16..23 of the file.
    dims=$(od -An -tu4 --endian=big -j16 -N8 "$icon" | tr -s ' ')
    [ "$dims" = " $size $size" ] || { echo "$icon is not ${size}x$size: $dims" >&2; exit 1; }
done
test -s "$prefix/share/icons/hicolor/scalable/apps/$id.svg"
echo "install layout valid"
