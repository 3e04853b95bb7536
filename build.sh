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
#                            played in Chromium, Firefox ESR and WebKitGTK, its start screen against
#                            the desktop's (preset web);
#           ./build.sh bench builds and runs the generator benchmark.
# Each first installs the Debian packages it lacks (apt-get; sudo when not root): run only what
# building and running the program needs, test and bench what they need beside; then each
# checks the versions of the tools it builds with and stops at once on one too old or missing.
set -euo pipefail
cd "$(dirname "$0")"

run_packages=(g++ cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev libqt6svg6 qt6-qpa-plugins
    qt6-translations-l10n fonts-ipafont fonts-ipaexfont qt6-multimedia-dev)
bench_packages=(libbenchmark-dev libxcb1-dev libxcb-damage0-dev)
test_packages=(libgtest-dev libgmock-dev googletest "${bench_packages[@]}" clang libclang-rt-14-dev
    clang-format xvfb xauth x11-utils x11-apps desktop-file-utils appstream dpkg-dev file lintian
    openbox xdotool dbus at-spi2-core python3-pyatspi orca speech-dispatcher emscripten nodejs
    chromium python3-fonttools python3-brotli imagemagick faketime pulseaudio pulseaudio-utils
    poppler-utils qpdf firefox-esr webkit2gtk-driver)

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

# What the builds need of the tools found on PATH, checked before anything is built, so that a
# tool too old (or missing) stops the run at once, not after the stages before the one using it.
problems=()

# at_least NAME HAVE WANT: HAVE is version WANT or later, or a problem is noted.
at_least() {
    if [ -z "$2" ]; then
        problems+=("$1: not found (needs $3 or later)")
    elif [ "$(printf '%s\n' "$3" "$2" | sort -V | head -n 1)" != "$3" ]; then
        problems+=("$1 $2: needs $3 or later")
    fi
}

# first_version COMMAND...: the first version number COMMAND prints, or nothing.
first_version() {
    "$@" 2>/dev/null | grep -oE '[0-9]+\.[0-9]+(\.[0-9]+)?' | head -n 1 || true
}

check_build_tools() {
    at_least CMake "$(first_version cmake --version)" 3.25
    at_least g++ "$(first_version g++ -dumpfullversion)" 12
    at_least Qt "$(first_version pkg-config --modversion Qt6Core)" 6.4
}

# Debian 12's versions, which the tests are known to pass with: clang-format must be 14 itself,
# as another version lays out the same code differently.
check_test_tools() {
    check_build_tools
    at_least clang "$(first_version clang++ --version)" 14
    local format
    format=$(first_version clang-format --version)
    [ "${format%%.*}" = 14 ] || problems+=("clang-format ${format:-not found}: the layout is checked with version 14")
    [ -f /usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake ] ||
        problems+=("Emscripten: no CMake toolchain in /usr/share/emscripten (Debian's emscripten package)")
    at_least Emscripten "$(first_version em++ --version)" 3.1.6
    # The page's tests: node:test and the modules of tests/web/package-lock.json need Node 18,
    # npm 7 reads its lockfileVersion 3.
    at_least Node.js "$(first_version node --version)" 18
    at_least npm "$(first_version npm --version)" 7
}

# Chromium as new as the one the installed playwright-core was made for (Debian's security updates
# keep chromium newer still).
check_chromium() {
    local chromium=${PIKOMARU_CHROMIUM:-/usr/bin/chromium} made_for
    made_for=$(node -p 'require("./tests/web/node_modules/playwright-core/browsers.json")
        .browsers.find((b) => b.name === "chromium").browserVersion.split(".")[0]')
    at_least "Chromium ($chromium)" "$(first_version "$chromium" --version)" "$made_for"
}

# Firefox ESR as new as the one the installed puppeteer-core was made for, and WebKitGTK's driver
# (with its MiniBrowser) as new as the one the page's tests are known to pass with.
check_other_browsers() {
    local firefox=${PIKOMARU_FIREFOX:-/usr/bin/firefox-esr} made_for
    made_for=$(node -p 'require("./tests/web/node_modules/puppeteer-core/lib/cjs/puppeteer/revisions.js")
        .PUPPETEER_REVISIONS.firefox.replace(/^stable_/, "").split(".")[0]')
    at_least "Firefox ESR ($firefox)" "$(first_version "$firefox" --version)" "$made_for"
    at_least "WebKitGTK's WebDriver (webkit2gtk-driver)" \
        "$(dpkg-query -W -f='${Version}' webkit2gtk-driver 2>/dev/null | grep -oE '^[0-9]+\.[0-9]+(\.[0-9]+)?' || true)" 2.50
    [ -x /usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser ] ||
        problems+=("WebKitGTK's MiniBrowser: not found in /usr/lib/x86_64-linux-gnu/webkit2gtk-4.1 (libwebkit2gtk-4.1-0)")
}

# report_problems: stops the run when a check above found a problem.
report_problems() {
    ((${#problems[@]})) || return 0
    printf '%s\n' "Cannot build: too old or missing (Debian 12's own packages are new enough):" "${problems[@]/#/  }" >&2
    exit 1
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
    check_build_tools
    report_problems
    cmake --preset default "${testing[@]}"
    cmake --build --preset default --target pikomaru
    exec build/app/pikomaru
    ;;
test)
    install_missing "${run_packages[@]}" "${test_packages[@]}"
    # Debian's nodejs comes without npm, which is a package of its own there; a nodejs that
    # brings its own npm (NodeSource's) conflicts with that package.
    command -v npm >/dev/null || install_missing npm
    check_test_tools
    report_problems
    # The page's test modules, as the lock file has them: a module asking for a newer Node than
    # this one fails here too (engine-strict), before any build.
    (cd tests/web && npm ci --engine-strict --no-audit --no-fund)
    check_chromium
    check_other_browsers
    report_problems
    check_format
    stage default -DBUILD_TESTING=ON
    stage fuzzing
    stage sanitizers
    stage web
    ;;
bench)
    install_missing "${run_packages[@]}" "${bench_packages[@]}"
    check_build_tools
    report_problems
    cmake --preset default -DPIKOMARU_BENCH=ON "${testing[@]}"
    cmake --build --preset default --target generator_bench
    build/bench/generator_bench "${@:2}"
    ;;
*)
    echo "usage: $0 run | test | bench" >&2
    exit 2
    ;;
esac
