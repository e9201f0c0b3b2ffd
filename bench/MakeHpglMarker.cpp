// make_hpgl_marker OUT.plt [PIECES [OUTLINE_POINTS]]: writes the marker the
// plotter benchmark imports (400 pieces of 320 outline points unless
// given), for hpgl_vs_hp2xx.sh and for timing other programs on it.
#include "HpglMarker.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.plt [PIECES [OUTLINE_POINTS]]\n", argv[0]);
        return 2;
    }
    const int pieces = argc > 2 ? std::atoi(argv[2]) : bench::HpglMarker::kPieces;
    const int points = argc > 3 ? std::atoi(argv[3]) : bench::HpglMarker::kOutlinePoints;
    if (pieces < 1 || points < 3) {
        std::fprintf(stderr, "PIECES must be at least 1 and OUTLINE_POINTS at least 3\n");
        return 2;
    }
    const std::string bytes = bench::HpglMarker::Write(pieces, points);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
