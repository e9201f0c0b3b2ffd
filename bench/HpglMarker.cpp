#include "HpglMarker.h"

#include "library/HpglEncodedPolyline.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace bench {

namespace {

struct Point {
    long long x = 0;
    long long y = 0;
};

struct Line {
    Point from;
    Point to;
};

struct Piece {
    // Closed: the last point is the first.
    std::vector<Point> outline;
    Line notches[2];
    Line grain;
    Point labelAt;
};

// The sizes vary by a generator of our own: the standard distributions
// differ between libraries, and the file is to be the same everywhere.
class Jitter {
public:
    int Next(int low, int high)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return low + int((m_state >> 8) % std::uint32_t(high - low + 1));
    }

private:
    std::uint32_t m_state = 7;
};

// Plotter units (40 to the millimetre): pieces of about 75 by 60 mm on a
// 100 mm grid.
constexpr long long kGrid = 4000;
constexpr long long kNotchDepth = 60;
constexpr long long kGrainHalf = 800;
constexpr long long kLabelIndent = 400;

Piece MakePiece(int index, int columns, int outlinePoints, Jitter& jitter)
{
    const double kPi = 3.14159265358979323846;
    const long long cx = kGrid / 2 + (index % columns) * kGrid;
    const long long cy = kGrid / 2 + (index / columns) * kGrid;
    const double rx = 1500 + jitter.Next(-200, 200);
    const double ry = 1200 + jitter.Next(-200, 200);
    Piece piece;
    piece.outline.reserve(std::size_t(outlinePoints) + 1);
    for (int i = 0; i < outlinePoints; ++i) {
        const double a = 2 * kPi * i / outlinePoints;
        // A wavy ellipse, different in every piece.
        const double r = 1 + 0.08 * std::sin(5 * a + index);
        piece.outline.push_back({std::llround(cx + rx * r * std::cos(a)), std::llround(cy + ry * r * std::sin(a))});
    }
    piece.outline.push_back(piece.outline.front());
    // Notches cut inwards at the right and left ends of the outline.
    const Point right = piece.outline[0];
    const Point left = piece.outline[std::size_t(outlinePoints / 2)];
    piece.notches[0] = {right, {right.x - kNotchDepth, right.y}};
    piece.notches[1] = {left, {left.x + kNotchDepth, left.y}};
    piece.grain = {{cx, cy - kGrainHalf}, {cx, cy + kGrainHalf}};
    piece.labelAt = {cx - kLabelIndent, cy};
    return piece;
}

std::string Pair(const Point& p)
{
    return std::to_string(p.x) + ',' + std::to_string(p.y);
}

void WritePlain(const Piece& piece, std::string& out)
{
    out += "PU" + Pair(piece.outline.front()) + ";PD";
    for (std::size_t i = 1; i < piece.outline.size(); ++i) {
        if (i > 1) out += ',';
        out += Pair(piece.outline[i]);
    }
    out += ";\n";
    for (const Line& notch : piece.notches) out += "PU" + Pair(notch.from) + ";PD" + Pair(notch.to) + ";";
    out += "SP2;PU" + Pair(piece.grain.from) + ";PD" + Pair(piece.grain.to) + ";SP1;\n";
}

// The data of a PE command: moves as pen-up absolute points, lines as
// steps relative to the pen.
class EncodedWriter {
public:
    EncodedWriter(std::string& out, bool sevenBit) : m_out(out), m_sevenBit(sevenBit) {}

    void MoveTo(const Point& p)
    {
        m_out += "<=";
        Number(p.x);
        Number(p.y);
        m_pen = p;
    }
    void DrawTo(const Point& p)
    {
        Number(p.x - m_pen.x);
        Number(p.y - m_pen.y);
        m_pen = p;
    }
    void SelectPen(int pen)
    {
        m_out += ':';
        Number(pen);
    }

private:
    void Number(long long v) { m_out += EncodeHpglNumber(v, m_sevenBit); }

    std::string& m_out;
    const bool m_sevenBit;
    Point m_pen;
};

// One PE command: the outline, its notches, and the grain line in pen 2.
void WriteEncoded(const Piece& piece, bool sevenBit, std::string& out)
{
    out += sevenBit ? "PE7" : "PE";
    EncodedWriter pe(out, sevenBit);
    pe.MoveTo(piece.outline.front());
    for (std::size_t i = 1; i < piece.outline.size(); ++i) pe.DrawTo(piece.outline[i]);
    for (const Line& notch : piece.notches) {
        pe.MoveTo(notch.from);
        pe.DrawTo(notch.to);
    }
    pe.SelectPen(2);
    pe.MoveTo(piece.grain.from);
    pe.DrawTo(piece.grain.to);
    pe.SelectPen(1);
    out += ";\n";
}

} // namespace

std::string HpglMarker::Label(int index)
{
    return "PIECE " + std::to_string(index) + " SIZE M";
}

std::string HpglMarker::Write(int pieces, int outlinePoints)
{
    if (outlinePoints < 3) outlinePoints = 3;
    int columns = 1;
    while ((columns + 1) * (columns + 1) <= pieces) ++columns;
    Jitter jitter;
    // DF makes the label terminator ETX.
    std::string out = "IN;DF;SP1;\n";
    for (int p = 0; p < pieces; ++p) {
        const Piece piece = MakePiece(p, columns, outlinePoints, jitter);
        if (p % 2 == 0)
            WritePlain(piece, out);
        else
            WriteEncoded(piece, p % 4 == 3, out);
        out += "PU" + Pair(piece.labelAt) + ";LB" + Label(p) + "\x03\n";
    }
    out += "PU;SP0;\n";
    return out;
}

} // namespace bench
