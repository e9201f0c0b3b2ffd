#!/usr/bin/env bash
# The editor beside an SVG renderer on the same drawing: a page of 10,000
# curves (the benchmarks' page) as a document and as SVG, each read, painted
# and written as a PNG of the same size by its own program, started afresh
# every time. Prints the median wall time of each program and the ratio.
#
#   bench/side_by_side.sh [BUILD_DIR] [HEIGHT] [RUNS]
#
# BUILD_DIR holds bench/vek_side_by_side (built with -DVEK_BUILD_BENCH=ON;
# default build), HEIGHT is the picture's height in pixels (default
# 1200), RUNS the runs of each program (default 7). rsvg-convert comes with
# Debian's librsvg2-bin; Inkscape is timed as well when it is installed.
set -euo pipefail
build=${1:-build}
height=${2:-1200}
runs=${3:-7}
tool="$build/bench/vek_side_by_side"
[ -x "$tool" ] || { echo "no $tool: build with -DVEK_BUILD_BENCH=ON" >&2; exit 2; }
command -v rsvg-convert >/dev/null || { echo "rsvg-convert is missing (Debian package librsvg2-bin)" >&2; exit 2; }

dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
"$tool" make "$dir" "$height" 2>/dev/null

# Median wall time in milliseconds of `runs` runs of the command.
median_ms() {
    local times=()
    for _ in $(seq "$runs"); do
        local start end
        start=$(date +%s%N)
        "$@" >/dev/null 2>&1
        end=$(date +%s%N)
        times+=($(( (end - start) / 1000000 )))
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (runs + 1) / 2 ))p"
}

ours=$(median_ms "$tool" png "$dir/page.vek" "$height" "$dir/ours.png")
rsvg=$(median_ms rsvg-convert "$dir/page.svg" -o "$dir/rsvg.png")
echo "load: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores; page of 10,000 curves, ${height} pixels high"
printf '%-14s %8s ms  (%s: %s)\n' "editor" "$ours" "document" "$(du -h "$dir/page.vek" | cut -f1)"
printf '%-14s %8s ms  (%s: %s)\n' "rsvg-convert" "$rsvg" "SVG" "$(du -h "$dir/page.svg" | cut -f1)"
if command -v inkscape >/dev/null; then
    ink=$(median_ms inkscape "$dir/page.svg" --export-type=png --export-filename="$dir/inkscape.png")
    printf '%-14s %8s ms\n' "inkscape" "$ink"
fi
awk -v a="$ours" -v b="$rsvg" 'BEGIN { printf "editor / rsvg-convert = %.2f\n", a / b }'
