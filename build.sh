#!/usr/bin/env bash
# ぴこまる: ./build.sh run   builds the program and starts it;
#           ./build.sh test  builds everything and runs every test;
#           ./build.sh bench builds and runs the generator benchmark.
# Each first installs the Debian packages it lacks (apt-get; sudo when not root).
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev qt6-svg-dev libqt6svg6 fonts-ipafont fonts-ipaexfont xvfb xauth x11-utils)

install_missing() {
    local missing=() p
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'ok installed' || missing+=("$p")
    done
    ((${#missing[@]})) || return 0
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -q
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIKOMARU_WERROR="$1"
    cmake --build build
}

case "${1:-}" in
run)
    install_missing
    build OFF
    exec build/app/pikomaru
    ;;
test)
    install_missing
    build ON
    ctest --test-dir build --output-on-failure -j "$(nproc)" --timeout 600
    ;;
bench)
    install_missing
    build OFF
    build/bench/generator_bench "${@:2}"
    ;;
*)
    echo "usage: $0 run | test | bench" >&2
    exit 2
    ;;
esac
