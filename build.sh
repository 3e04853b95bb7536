#!/usr/bin/env bash
# ぴこまる: ./build.sh run   builds the program and starts it;
#           ./build.sh test  builds everything and runs every test: the plain build, the
#                            fuzz targets (clang, libFuzzer) for a bounded time, and the whole
#                            suite again under AddressSanitizer and UndefinedBehaviorSanitizer;
#           ./build.sh bench builds and runs the generator benchmark.
# Each first installs the Debian packages it lacks (apt-get; sudo when not root).
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
    qt6-base-dev qt6-svg-dev libqt6svg6 fonts-ipafont fonts-ipaexfont xvfb xauth x11-utils
    clang libclang-rt-14-dev desktop-file-utils appstream dpkg-dev x11-apps libxcb1-dev
    libxcb-damage0-dev)

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

# build DIR WERROR [cmake options...]
build() {
    local dir=$1 werror=$2
    shift 2
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPIKOMARU_WERROR="$werror" "$@"
    cmake --build "$dir"
}

run_tests() {
    ctest --test-dir "$1" --output-on-failure -j "$(nproc)" --timeout 900
}

case "${1:-}" in
run)
    install_missing
    build build OFF
    exec build/app/pikomaru
    ;;
test)
    install_missing
    build build ON
    run_tests build
    CXX=clang++ build build-fuzz ON -DPIKOMARU_FUZZ=ON -DPIKOMARU_GUI=OFF -DPIKOMARU_BENCH=OFF
    run_tests build-fuzz
    build build-asan ON -DPIKOMARU_SANITIZE=ON -DPIKOMARU_BENCH=OFF
    UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    ;;
bench)
    install_missing
    build build OFF
    build/bench/generator_bench "${@:2}"
    ;;
*)
    echo "usage: $0 run | test | bench" >&2
    exit 2
    ;;
esac
