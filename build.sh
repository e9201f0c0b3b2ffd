#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the editor, the tests or
# the benchmarks:  ./build.sh run | test | bench
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev
          libgsf-1-dev libfreexl-dev libwmf-dev libemf2svg-dev
          libgtest-dev libbenchmark-dev
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

# Registers the .vek document type and the program for this user, the way
# desktop programs are found by file managers.
register_desktop_entry() {
    local data="${XDG_DATA_HOME:-$HOME/.local/share}"
    mkdir -p "$data/applications" "$data/mime/packages"
    sed "s|^Exec=vek|Exec=$PWD/build/app/vek|" res/vek.desktop > "$data/applications/vek.desktop"
    cp res/vek-mime.xml "$data/mime/packages/vek.xml"
    if command -v update-mime-database >/dev/null; then update-mime-database "$data/mime" >/dev/null 2>&1 || true; fi
}

mode=${1:-run}
shift || true
install_missing
case "$mode" in
run)
    build build
    register_desktop_entry
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
