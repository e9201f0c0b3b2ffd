// The line style of a curve: a line kind, a width and up to six kind
// parameters, and for the custom kind the pattern shapes repeated along the
// line. Also the entry type of the line-type lists of the settings, of
// LineType.dat and of the fill lines of a line fill.
//
// Kinds: 0 plain; 1 dashed (p1 dash, p2 gap); 2 dotted (p2 gap, dots as
// long as the width); 3 dash pair (p1..p4); 4 dash triple (p1..p6);
// 5 / 6 plain with a thin dashed side line at +/- 10 x width; 7 side lines
// on both sides; 8 double line with a thin dashed centre line (p1, p2 for
// 5-8); -1 custom pattern (p1 pattern length, derived from the shapes, and
// p2 the gap between repetitions). All lengths in page units.
#pragma once

#include "model/CLineTypeShape.h"

#include "platform/Types.h"

#include <climits>
#include <vector>

class CArchive;

constexpr int LINE_CUSTOM = -1;
constexpr int LINE_PLAIN = 0;
constexpr int LINE_DASH = 1;
constexpr int LINE_DOT = 2;
constexpr int LINE_DASH_PAIR = 3;
constexpr int LINE_DASH_TRIPLE = 4;
constexpr int LINE_SIDE_PLUS = 5;
constexpr int LINE_SIDE_MINUS = 6;
constexpr int LINE_SIDE_BOTH = 7;
constexpr int LINE_DOUBLE = 8;

using CLineTypeShapeArray = std::vector<CLineTypeShape>;

class CLineAttr {
public:
    // The constructors below mirror the line-type picker: each is chosen by
    // the number of its arguments, and most of those arguments are ignored
    // because the kind derives its parameters from the width. Parameters a
    // constructor does not name are 0.

    // Plain, width 0.
    CLineAttr() = default;
    // Plain line of width w.
    explicit CLineAttr(int w);
    // Dotted: p1 = w, p2 = 10w (0 when negative).
    CLineAttr(int w, int a2);
    // Dashed: p1 = p2 = 10w.
    CLineAttr(int w, int a2, int a3);
    // Kinds 5-8: p1 = p2 = 10w.
    CLineAttr(int kind, int w, int a3, int a4);
    // Dash pair: p1 = 20w, p2 = 3w, p3 = 3 x a4, p4 = 3 x a5.
    CLineAttr(int w, int a2, int a3, int a4, int a5);
    // Dash triple: p1 = 20w, p2..p6 = 3w.
    CLineAttr(int w, int a2, int a3, int a4, int a5, int a6, int a7);
    // Custom pattern: the shapes are copied and p1 derived from them.
    CLineAttr(int w, int gap, const CLineTypeShapeArray& shapes);

    // Clearer names for the same constructors.
    static CLineAttr Plain(int w) { return CLineAttr(w); }
    static CLineAttr Dashed(int w) { return CLineAttr(w, 0, 0); }
    static CLineAttr Dotted(int w) { return CLineAttr(w, 0); }
    static CLineAttr DashPair(int w) { return CLineAttr(w, 0, 0, w, w); }
    static CLineAttr DashTriple(int w) { return CLineAttr(w, 0, 0, 0, 0, 0, 0); }
    static CLineAttr SideLines(int kind, int w) { return CLineAttr(kind, w, 0, 0); }
    static CLineAttr Custom(int w, int gap, const CLineTypeShapeArray& shapes)
    {
        return CLineAttr(w, gap, shapes);
    }

    // Copies kind, width and parameters; the pattern shapes only for the
    // custom kind (other kinds never carry shapes).
    CLineAttr(const CLineAttr& other);
    CLineAttr& operator=(const CLineAttr& other);
    // The same, taking the shapes over instead of copying them: a custom
    // pattern may hold millions of points.
    CLineAttr(CLineAttr&& other) noexcept;
    CLineAttr& operator=(CLineAttr&& other) noexcept;

    // Kind and width, then the parameters the kind uses; the shapes of a
    // custom kind are not compared.
    bool operator==(const CLineAttr& o) const;
    bool operator!=(const CLineAttr& o) const { return !(*this == o); }

    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }
    int GetWidth() const { return m_width; }
    void SetWidth(int w) { m_width = w; }
    // Parameter p1 .. p6 by its number; 0 / ignored for any other number.
    int GetParam(int n) const;
    void SetParam(int n, int value);

    const CLineTypeShapeArray& GetShapes() const { return m_shapes; }
    // Replaces the pattern and derives p1 from it (custom kind only).
    void SetShapes(const CLineTypeShapeArray& shapes);

    // Length of one repetition of the pattern: INT_MAX for a plain line, 0
    // for an unknown kind. Sums that would overflow saturate at INT_MAX.
    int GetPeriod() const;
    // True when the kind's pattern cannot be laid out along a line (no
    // positive period, a negative dash or gap, a custom kind without a
    // drawable pattern); such a line is drawn plain, which also keeps the
    // pattern builders from looping on a damaged file.
    bool DrawsPlain() const;

    // Custom kind only: p1 = width of the shapes' union scaled by
    // width / height of the union; nothing when the union is empty.
    void RecalcPatternPeriod();

    // The record as written into documents; `version` is the version of
    // the file being read (kinds 5-8 carry p1, p2 from 106 on). Throws
    // CArchiveError on a damaged record.
    int Load(CArchive& ar, int version);
    // The same record for LineType.dat, always with p1, p2 for kinds 5-8.
    int LoadFromLineTypeFile(CArchive& ar);
    int Store(CArchive& ar) const;

private:
    int LoadRecord(CArchive& ar, bool sideParamsPresent);
    void LoadCustomPattern(CArchive& ar);

    int m_kind = LINE_PLAIN;
    int m_width = 0;
    int m_p[6] = {0, 0, 0, 0, 0, 0};
    CLineTypeShapeArray m_shapes;
};
