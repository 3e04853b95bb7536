#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Installs the build into a scratch prefix and checks what a desktop finds there: the program,
# the menu entry, the AppStream metainfo and the icon at every size; and what a Debian system
# expects beside them: the copyright file, the changelog and the manual page, all of one version.
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null

id=${PIKOMARU_ID:?the application id, as ctest gives it}
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

doc=$prefix/share/doc/pikomaru
grep -q '^License: GPL-3.0-or-later$' "$doc/copyright"
gzip -t "$doc/changelog.gz" "$prefix/share/man/man1/pikomaru.1.gz"
test -s "$doc/screenshots/drill-addition.png"
# One version everywhere: the project's (as the package gets it), the changelog's, the metainfo's
# and the manual page's.
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build/CPackConfig.cmake")
changelog=$(zcat "$doc/changelog.gz" | dpkg-parsechangelog -l - -S Version)
release=$(grep -o -m 1 '<release version="[^"]*"' "$prefix/share/metainfo/$id.metainfo.xml")
[ "$changelog" = "$version" ] || { echo "changelog is at $changelog, the project at $version" >&2; exit 1; }
[ "$release" = "<release version=\"$version\"" ] || { echo "metainfo: $release, project: $version" >&2; exit 1; }
man=$(zcat "$prefix/share/man/man1/pikomaru.1.gz" | grep -m 1 '^\.TH ')
[[ $man == *"\"pikomaru $version\""* ]] || { echo "manual page: $man, project: $version" >&2; exit 1; }
echo "install layout valid"
