#!/usr/bin/env bash
# Installs what is missing, builds, and then runs the editor, the tests or
# the benchmarks:  ./build.sh run | test | bench
# Also: ./build.sh sanitize  (the tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, in build-asan) and ./build.sh fuzz [seconds]
# (every libFuzzer target, in build-fuzz; see README.md).
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-svg-dev qt6-image-formats-plugins qt6-translations-l10n libgl-dev
          libgsf-1-dev libwmf-dev libemf2svg-dev
          libgtest-dev libbenchmark-dev poppler-utils
          fonts-wqy-microhei fonts-wqy-zenhei fonts-liberation xvfb xauth)

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

# build DIR [cmake options...]; with BUILD_TARGET set, only that target.
# Under CI (CI set) without debug information, which nobody reads there and
# which costs a third of the build.
build() {
    local dir=$1; shift
    local ci=()
    [ -n "${CI:-}" ] && ci=(-DCMAKE_C_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -DNDEBUG")
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${ci[@]}" "$@" >/dev/null
    cmake --build "$dir" --parallel "$(nproc)" ${BUILD_TARGET:+--target "$BUILD_TARGET"}
}

# Registers the .vek document type and the program for this user, the way
# desktop programs are found by file managers.
register_desktop_entry() {
    local data="${XDG_DATA_HOME:-$HOME/.local/share}"
    mkdir -p "$data/applications" "$data/mime/packages"
    sed "s|^Exec=vek|Exec=$PWD/build/shell/vek|" res/vek.desktop > "$data/applications/vek.desktop"
    cp res/vek-mime.xml "$data/mime/packages/vek.xml"
    if command -v update-mime-database >/dev/null; then update-mime-database "$data/mime" >/dev/null 2>&1 || true; fi
}

# The tests built with AddressSanitizer and UndefinedBehaviorSanitizer;
# any finding stops the test that made it. Optimized a little and with line
# tables only: the reports keep their file and line, and the build takes
# half the time of a full one.
SANITIZE_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
SANITIZE_BUILD_FLAGS="-O1 -g1 -DNDEBUG"
sanitizer_env() {
    export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1"
    export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
    export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
}

# Builds the fuzz targets (clang, everything instrumented), writes their
# seeds and runs each target for the given seconds, as many at once as
# there are cores, so that each has a core of its own for its time.
# Findings land in build-fuzz/findings/<Target>/; the run fails if any did.
# An input is a hang after 20 seconds: the slowest kept inputs (a line
# fill of a hundred thousand dashes painted at every zoom the targets try)
# take about 8 seconds under the fuzzers' instrumentation, half a second
# in the ordinary build.
FUZZ_INPUT_SECONDS=20
fuzz() {
    local seconds=${1:-600}
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DVEK_BUILD_FUZZERS=ON -DVEK_BUILD_TESTS=OFF \
        -DCMAKE_C_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
        -DCMAKE_CXX_FLAGS="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all" \
        -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
    cmake --build build-fuzz --parallel "$(nproc)" --target vek_fuzzers
    sanitizer_env
    export QT_QPA_PLATFORM=offscreen
    rm -rf build-fuzz/seeds
    build-fuzz/tests/fuzz/make_fuzz_seeds build-fuzz/seeds
    local names=() running=0 failed=0
    for bin in build-fuzz/tests/fuzz/*Fuzzer; do
        local name; name=$(basename "$bin" Fuzzer)
        local corpus=build-fuzz/corpus/$name findings=build-fuzz/findings/$name
        rm -rf "$findings" "build-fuzz/$name.rc"
        mkdir -p "$corpus" "$findings"
        # The seeds made now, and the inputs the repository keeps for the
        # target (its CMake file names them).
        local seeds=() folder
        while read -r folder; do
            [ -d "$folder" ] && seeds+=("$folder")
        done < <(echo "build-fuzz/seeds/$name"; cat "$bin.inputs")
        if [ "$running" -ge "$(nproc)" ]; then wait -n || true; running=$((running - 1)); fi
        ( rc=0
          "$bin" "$corpus" "${seeds[@]}" -max_total_time="$seconds" -rss_limit_mb=2048 \
              -timeout=$FUZZ_INPUT_SECONDS -max_len=65536 -artifact_prefix="$findings/" \
              -print_final_stats=1 >"build-fuzz/$name.log" 2>&1 || rc=$?
          echo "$rc" >"build-fuzz/$name.rc" ) &
        running=$((running + 1)); names+=("$name")
    done
    wait
    for name in "${names[@]}"; do
        if [ "$(cat "build-fuzz/$name.rc")" = 0 ]; then
            echo "$name: clean ($(grep -m1 -o 'stat::number_of_executed_units: *[0-9]*' "build-fuzz/$name.log" | grep -o '[0-9]*$') runs)"
        else
            echo "$name: FOUND a problem, see build-fuzz/$name.log and build-fuzz/findings/$name/"
            failed=1
        fi
    done
    return $failed
}

mode=${1:-run}
shift || true
[ "$mode" = fuzz ] && PACKAGES+=(clang libclang-rt-dev)
# The SVG renderer the benchmarks are compared with.
[ "$mode" = bench ] && PACKAGES+=(librsvg2-bin)
install_missing
case "$mode" in
run)
    # The editor alone: the test programs are not needed to start it.
    BUILD_TARGET=vek build build
    register_desktop_entry
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        exec xvfb-run -a -s "-screen 0 1600x1000x24" build/shell/vek "$@"
    fi
    exec build/shell/vek "$@"
    ;;
test)
    # The benchmarks and the fuzz targets' replays are built too, so that
    # every build this folder offers compiles.
    build build -DVEK_BUILD_BENCH=ON
    cd build
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
    ;;
sanitize)
    build build-asan -DCMAKE_C_FLAGS="$SANITIZE_FLAGS" -DCMAKE_CXX_FLAGS="$SANITIZE_FLAGS" \
        -DCMAKE_EXE_LINKER_FLAGS="$SANITIZE_FLAGS" \
        -DCMAKE_C_FLAGS_RELWITHDEBINFO="$SANITIZE_BUILD_FLAGS" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="$SANITIZE_BUILD_FLAGS"
    sanitizer_env
    cd build-asan
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" "$@"
    ;;
fuzz)
    fuzz "$@"
    ;;
bench)
    # In the tests' build folder, where ./build.sh test builds them too.
    BUILD_TARGET=vek_benchmarks build build -DVEK_BUILD_BENCH=ON
    for b in build/bench/bench_*; do [ -x "$b" ] && "$b" "$@"; done
    bench/side_by_side.sh build
    ;;
*)
    echo "usage: $0 run|test|bench|sanitize|fuzz [seconds]" >&2
    exit 2
    ;;
esac
