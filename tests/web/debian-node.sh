#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# Runs a command with Debian 12's own Node.js and npm in place of this machine's: on a machine
# whose nodejs comes from elsewhere (NodeSource's Node 20, say), the test command as a fresh
# Debian 12 runs it.
#   tests/web/debian-node.sh [COMMAND...]      (without one: ./build.sh test)
# Debian's nodejs (with the Node 18 of its libnode108) and npm, and the node-* packages they
# depend on that this machine lacks, come from the Debian archive (apt-get download) into
# PIKOMARU_DEBIAN_NODE (/tmp/pikomaru-debian-node), unpacked there with dpkg -x; nothing is
# installed. The command runs in a mount namespace of its own, in which /usr/bin/node and
# /usr/bin/npm are Debian's, PATH starts with them, and /usr/share/nodejs shows Debian's modules
# over this machine's (Debian's Node loads parts of itself from there). Every Node started in
# the command notes its version and arguments in node-runs.log in that folder. Needs root, for
# the namespace (sudo otherwise).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dir=${PIKOMARU_DEBIAN_NODE:-/tmp/pikomaru-debian-node}
[ "$#" -gt 0 ] || set -- ./build.sh test

if [ "$(id -u)" -ne 0 ]; then
    exec sudo env PIKOMARU_DEBIAN_NODE="$dir" PATH="$PATH" "$0" "$@"
fi
[ -d /usr/share/nodejs ] || { echo "no /usr/share/nodejs: install Debian's node-acorn first" >&2; exit 1; }

# Debian's own version: the first that a Debian archive offers.
debian_version() {
    apt-cache madison "$1" | awk -F' *[|] *' '$3 ~ /debian\.org/ {print $2; exit}'
}

if [ ! -x "$dir/unpacked/usr/bin/node" ]; then
    node_version=$(debian_version nodejs)
    npm_version=$(debian_version npm)
    if [ -z "$node_version" ] || [ -z "$npm_version" ]; then
        echo "no Debian nodejs or npm in apt's lists (apt-get update)" >&2
        exit 1
    fi
    wanted=("nodejs=$node_version" "libnode108=$node_version" "npm=$npm_version")
    # What they depend on, all the way down, that is not installed here; the node-* modules
    # always, as this machine's may be other versions.
    while read -r p; do
        case $p in
        nodejs | libnode108 | npm) ;;
        node-*) wanted+=("$p") ;;
        *) dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || wanted+=("$p") ;;
        esac
    done < <(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
        --no-replaces --no-enhances "${wanted[@]}" | grep -v '^[ <]' | sort -u)
    rm -rf "$dir" && mkdir -p "$dir/debs" "$dir/unpacked" "$dir/bin"
    echo "Downloading ${#wanted[@]} packages from the Debian archive: nodejs $node_version, npm $npm_version, ..."
    (cd "$dir/debs" && apt-get download -q "${wanted[@]}" >../download.log 2>&1) ||
        { cat "$dir/download.log" >&2; exit 1; }
    for deb in "$dir"/debs/*.deb; do dpkg -x "$deb" "$dir/unpacked"; done
fi

# node and npm as Debian installs them, libnode.so.108 found beside node.
mkdir -p "$dir/bin" "$dir/lib"
ln -sf "$dir/unpacked/usr/lib/x86_64-linux-gnu/libnode.so.108" "$dir/lib/"
cat >"$dir/bin/node" <<EOF
#!/bin/sh
export LD_LIBRARY_PATH=$dir/lib\${LD_LIBRARY_PATH:+:\$LD_LIBRARY_PATH}
exec $dir/unpacked/usr/bin/node "\$@"
EOF
cat >"$dir/bin/npm" <<EOF
#!/bin/sh
exec $dir/bin/node /usr/share/nodejs/npm/bin/npm-cli.js "\$@"
EOF
cat >"$dir/note-version.cjs" <<EOF
require('fs').appendFileSync('$dir/node-runs.log', \`\${process.version} \${process.argv.slice(1).join(' ')}\\n\`);
EOF
chmod +x "$dir/bin/node" "$dir/bin/npm"
: >"$dir/node-runs.log"

cd "$root"
exec unshare --mount --propagation private env PATH="$dir/bin:$PATH" \
    NODE_OPTIONS="--require $dir/note-version.cjs" bash -c '
    set -e
    dir=$1
    shift
    mount -t overlay debian-node -o "lowerdir=$dir/unpacked/usr/share/nodejs:/usr/share/nodejs" /usr/share/nodejs
    for tool in node npm; do
        [ ! -e "/usr/bin/$tool" ] || mount --bind "$dir/bin/$tool" "/usr/bin/$tool"
    done
    echo "with Debian'\''s Node $(node --version) and npm $(npm --version)"
    exec "$@"' debian-node "$dir" "$@"
