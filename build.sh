#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 ぴこまる developers
#
# ぴこまる: ./build.sh run   builds the program and starts it;
#           ./build.sh test  checks the formatting, builds everything and runs every test: the
#                            plain build (preset default), the fuzz targets (clang, libFuzzer) for a
#                            bounded time (preset fuzzing), and the whole suite again under
#                            AddressSanitizer and UndefinedBehaviorSanitizer (preset sanitizers),
#                            and the page: the drill built for the browser, tested under Node and
#                            played in Chromium, its start screen against the desktop's (preset web);
#           ./build.sh bench builds and runs the generator benchmark.
# Each first installs the Debian packages it lacks (apt-get; sudo when not root): run only what
# building and running the program needs, test and bench what they need beside.
set -euo pipefail
cd "$(dirname "$0")"

run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    qt6-translations-l10n fonts-ipafont fonts-ipaexfont)
bench_packages=(libbenchmark-dev libxcb1-dev libxcb-damage0-dev)
test_packages=(libgtest-dev libgmock-dev googletest "${bench_packages[@]}" clang libclang-rt-14-dev
    clang-format xvfb xauth x11-utils x11-apps desktop-file-utils appstream dpkg-dev file lintian
    openbox xdotool dbus at-spi2-core python3-pyatspi emscripten nodejs chromium
    python3-fonttools python3-brotli imagemagick)

# install_missing PACKAGE...
install_missing() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

# The tests need GoogleTest, which run and bench do not install: a build folder they configure
# first goes without the tests, one that already has them (from ./build.sh test) keeps them.
testing=()
[ -f build/CMakeCache.txt ] || testing=(-DBUILD_TESTING=OFF)

# Every tracked C++ file as clang-format would write it (.clang-format), or the run fails.
check_format() {
    local files
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        files=$(git ls-files '*.cpp' '*.h')
    else
        files=$(find . -path './build*' -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print)
    fi
    echo "clang-format: checking $(wc -l <<<"$files") files"
    xargs -r clang-format --dry-run -Werror <<<"$files"
}

# stage PRESET: configure, build and test one preset
stage() {
    cmake --preset "$1" "${@:2}"
    cmake --build --preset "$1"
    ctest --preset "$1" -j "$(nproc)"
}

case "${1:-}" in
run)
    install_missing "${run_packages[@]}"
    cmake --preset default "${testing[@]}"
    cmake --build --preset default --target pikomaru
    exec build/app/pikomaru
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    # NodeSource's nodejs brings npm, Debian's does not.
    command -v npm >/dev/null || install_missing npm
    check_format
    stage default -DBUILD_TESTING=ON
    stage fuzzing
    stage sanitizers
    # playwright-core drives Chromium for the page's tests and needs Node 20 or later (Debian 12's
    # own nodejs is 18: take Node from NodeSource or another newer source there).
    node -e 'process.exit(Number(process.versions.node.split(".")[0]) >= 20 ? 0 : 1)' || {
        echo "The page's tests need Node.js 20 or later; this is $(node --version)." >&2
        exit 1
    }
    (cd tests/web && npm ci --no-audit --no-fund)
    stage web
    ;;
bench)
    install_missing "${run_packages[@]}" "${bench_packages[@]}"
    cmake --preset default -DPIKOMARU_BENCH=ON "${testing[@]}"
    cmake --build --preset default --target generator_bench
    build/bench/generator_bench "${@:2}"
    ;;
*)
    echo "usage: $0 run | test | bench" >&2
    exit 2
    ;;
esac
