// A plotter file shaped like a cutting marker, the input of the plotter
// benchmark and of hpgl_vs_hp2xx.sh: garment pieces in rows and columns,
// each a closed outline with two notches, a grain line in pen 2 and a
// label. Half the pieces are written as plain PU/PD coordinates, the other
// half as HP-GL/2 encoded polylines (PE), alternately in 8-bit and 7-bit
// mode, as markers from cutting-room software mix them. The same arguments
// always give the same bytes.
#pragma once

#include <string>

namespace bench {

struct HpglMarker {
    // 400 pieces make a file of about 1 MB.
    static constexpr int kPieces = 400;
    static constexpr int kOutlinePoints = 320;

    // The file's bytes; each outline has `outlinePoints` different points
    // (at least 3) and closes on its first.
    static std::string Write(int pieces = kPieces, int outlinePoints = kOutlinePoints);
    // The text of piece `index`'s label.
    static std::string Label(int index);
};

} // namespace bench
