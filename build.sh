#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the editor, the tests or
# the benchmarks:  ./build.sh run | test | bench
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev
          libgsf-1-dev libfreexl-dev libgtest-dev libbenchmark-dev
          fonts-wqy-microhei fonts-wqy-zenhei xvfb xauth)

install_missing() {
    local missing=()
    for p in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    if [ ${#missing[@]} -gt 0 ]; then
        echo "Installing: ${missing[*]}"
        local sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo apt-get update -qq
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
    fi
}

build() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)"
}

mode=${1:-run}
shift || true
install_missing
case "$mode" in
run)
    build build
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1600x1000x24" build/app/vek "$@"
    fi
    exec build/app/vek "$@"
    ;;
test)
    build build
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
    ;;
bench)
    build build-bench -DVEK_BUILD_BENCH=ON -DVEK_BUILD_TESTS=OFF
    for b in build-bench/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
    ;;
*)
    echo "usage: $0 run|test|bench" >&2
    exit 2
    ;;
esac
