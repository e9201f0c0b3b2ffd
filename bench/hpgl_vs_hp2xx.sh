#!/usr/bin/env bash
# Times the editor's plotter import (file into a new document, page written
# as a 100 dpi JPEG: bench/HpglToJpeg.cpp) against hp2xx turning the same
# file into a 100 dpi JPEG, and prints both medians and their ratio.
#
#   bench/hpgl_vs_hp2xx.sh [FILE.plt]     default: a 1 MB marker of 400 pieces
#                                         written by make_hpgl_marker
#
# Needs hp2xx (Debian package hp2xx); uses hyperfine (Debian package
# hyperfine) when it is installed, otherwise the median of 21 runs of each.
# Builds hpgl_to_jpeg and make_hpgl_marker in build (or $BUILD).
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}
RUNS=${RUNS:-21}

command -v hp2xx >/dev/null || { echo "hp2xx is not installed (apt-get install hp2xx)" >&2; exit 2; }
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVEK_BUILD_BENCH=ON >/dev/null
cmake --build "$BUILD" --target hpgl_to_jpeg make_hpgl_marker >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
marker=${1:-$work/marker.plt}
[ -f "$marker" ] || "$BUILD/bench/make_hpgl_marker" "$marker" 400
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$work}

ours="$BUILD/bench/hpgl_to_jpeg $marker $work/ours.jpg 100"
theirs="hp2xx -q -m jpg -d 100 -f $work/hp2xx.jpg $marker"
# Both must succeed before anything is timed.
$ours && $theirs

if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 3 --runs "$RUNS" --export-csv "$work/times.csv" "$ours" "$theirs" >&2
    # command,mean,stddev,median,...: one row for each command.
    read -r t_ours t_theirs < <(awk -F, 'NR > 1 {printf "%s ", $4} END {print ""}' "$work/times.csv")
else
    median() {
        local times=()
        for _ in $(seq "$RUNS"); do
            local start end
            start=$(date +%s%N)
            "$@" >/dev/null
            end=$(date +%s%N)
            times+=($(( end - start )))
        done
        printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.6f\n", a[int((NR+1)/2)] / 1e9}'
    }
    $ours; $theirs # warm the caches
    t_ours=$(median $ours)
    t_theirs=$(median $theirs)
fi

printf 'file: %s (%s bytes)\n' "${1:-make_hpgl_marker, 400 pieces}" "$(stat -c %s "$marker")"
printf 'vek (import + page JPEG, 100 dpi): %.3f s\n' "$t_ours"
printf 'hp2xx (JPEG, 100 dpi):             %.3f s\n' "$t_theirs"
awk -v a="$t_ours" -v b="$t_theirs" 'BEGIN {printf "ratio vek / hp2xx: %.2f\n", a / b}'
