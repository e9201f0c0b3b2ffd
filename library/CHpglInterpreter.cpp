#include "library/CHpglInterpreter.h"

#include "library/CImportBuffer.h"
#include "library/HpglEncodedPolyline.h"

#include "geometry/Arcs.h"
#include "geometry/Distance.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr int Key(char a, char b)
{
    return (int(static_cast<unsigned char>(a)) << 8) | int(static_cast<unsigned char>(b));
}

std::size_t Pairs(const std::vector<double>& v)
{
    return v.size() / 2;
}

// Control characters a label keeps: line breaks.
std::string CleanLabelText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const unsigned char u = static_cast<unsigned char>(c);
        if (u >= 32 || c == '\r' || c == '\n') out.push_back(c);
    }
    return out;
}

} // namespace

void CHpglInterpreter::Execute(const CImportBuffer& command)
{
    if (command.IsInvalid()) return;
    if (Dispatch(command)) ++m_known;
}

bool CHpglInterpreter::Dispatch(const CImportBuffer& c)
{
    const char* m = c.GetMnemonic();
    const Values& v = c.Values();
    switch (Key(m[0], m[1])) {
    case Key('D', 'F'): DefaultValues(); return true;
    case Key('I', 'N'): Initialize(); return true;
    case Key('P', 'A'): PlotAbsolute(v); return true;
    case Key('P', 'R'): PlotRelative(v); return true;
    case Key('P', 'D'): PenDown(v); return true;
    case Key('P', 'U'): PenUp(v); return true;
    case Key('P', 'E'): PolylineEncoded(c); return true;
    case Key('C', 'I'): Circle(v); return true;
    case Key('A', 'A'): ArcAbsolute(v, false); return true;
    case Key('A', 'R'): ArcAbsolute(v, true); return true;
    case Key('A', 'T'): ArcThreePoint(v, false); return true;
    case Key('R', 'T'): ArcThreePoint(v, true); return true;
    case Key('E', 'A'):
    case Key('R', 'A'): Rectangle(v, false); return true;
    case Key('E', 'R'):
    case Key('R', 'R'): Rectangle(v, true); return true;
    case Key('E', 'W'):
    case Key('W', 'G'): Wedge(v); return true;
    case Key('I', 'P'): InputP1P2(v); return true;
    case Key('I', 'R'): InputRelative(v); return true;
    case Key('S', 'C'): Scale(v); return true;
    case Key('I', 'W'): InputWindow(v); return true;
    case Key('R', 'O'): Rotate(v); return true;
    case Key('L', 'B'): Label(c); return true;
    case Key('D', 'T'): DefineTerminator(c); return true;
    case Key('L', 'T'): LineType(v); return true;
    case Key('S', 'P'): SelectPen(v); return true;
    case Key('L', 'O'): LabelOrigin(v); return true;
    case Key('S', 'I'): CharacterSize(v); return true;
    case Key('D', 'I'): Direction(v); return true;
    case Key('C', 'T'): ChordTolerance(v); return true;
    // Known, with nothing to draw.
    case Key('P', 'G'):
    case Key('S', 'S'):
    case Key('C', 'O'):
    case Key('R', 'P'):
    case Key('S', 'A'):
    case Key('P', 'M'):
    case Key('E', 'P'):
    case Key('F', 'P'):
    case Key('F', 'T'):
    case Key('P', 'W'):
    case Key('V', 'S'):
    case Key('B', 'P'):
    case Key('P', 'S'):
    case Key('N', 'P'):
    case Key('P', 'C'):
    case Key('S', 'L'):
    case Key('C', 'A'):
    case Key('C', 'S'):
    case Key('S', 'D'):
    case Key('W', 'U'):
    case Key('L', 'A'):
    case Key('M', 'C'): return true;
    default: return false;
    }
}

// --- Pen moves -------------------------------------------------------------

CDoublePoint CHpglInterpreter::Target(const Values& v, std::size_t pair, bool absolute) const
{
    const CDoublePoint p(v[2 * pair], v[2 * pair + 1]);
    return absolute ? p : m_state.penPosition + p;
}

bool CHpglInterpreter::TakePoints(std::size_t count)
{
    if (m_overLimit || count > kMaxPoints - m_points) {
        m_overLimit = true;
        return false;
    }
    m_points += count;
    return true;
}

CHpglPrimitive& CHpglInterpreter::StartPrimitive()
{
    CHpglPrimitive primitive;
    primitive.origin = m_state.origin;
    primitive.scaleX = m_state.scaleX;
    primitive.scaleY = m_state.scaleY;
    primitive.lineType = m_state.lineType;
    primitive.inputWindow = m_state.inputWindow;
    primitive.pen = m_state.pen;
    primitive.rotation = m_state.rotation;
    primitive.hardClip = m_state.hardClip;
    m_state.primitives.push_back(std::move(primitive));
    return m_state.primitives.back();
}

void CHpglInterpreter::MoveTo(const CDoublePoint& p)
{
    m_state.penPosition = p;
    BreakLine();
}

// A pen-down move goes on with the polyline that ends at the pen, so an
// outline drawn in several commands stays one line (and closes).
void CHpglInterpreter::DrawTo(const CDoublePoint& p)
{
    HpglState& s = m_state;
    const long index = s.continuing;
    const bool goesOn = index >= 0 && std::size_t(index) < s.primitives.size() &&
                        s.primitives[std::size_t(index)].PointCount() > 0 &&
                        s.primitives[std::size_t(index)].PointAt(s.primitives[std::size_t(index)].PointCount() - 1) ==
                            s.penPosition;
    if (goesOn) {
        if (!TakePoints(1)) return;
        s.primitives[std::size_t(index)].Append(p);
    } else {
        if (!TakePoints(2)) return;
        CHpglPrimitive& primitive = StartPrimitive();
        primitive.Append(s.penPosition);
        primitive.Append(p);
        s.continuing = long(s.primitives.size()) - 1;
    }
    s.penPosition = p;
}

void CHpglInterpreter::MoveOrDraw(const CDoublePoint& p)
{
    if (m_state.penDown)
        DrawTo(p);
    else
        MoveTo(p);
}

void CHpglInterpreter::AddShape(const std::vector<CDoublePoint>& points)
{
    BreakLine();
    if (points.size() < 2 || !TakePoints(points.size())) return;
    CHpglPrimitive& primitive = StartPrimitive();
    primitive.coords.reserve(points.size() * 2);
    for (const CDoublePoint& p : points) primitive.Append(p);
}

void CHpglInterpreter::PlotAbsolute(const Values& v)
{
    for (std::size_t i = 0; i < Pairs(v); ++i) MoveOrDraw(Target(v, i, true));
    m_state.absolute = true;
}

void CHpglInterpreter::PlotRelative(const Values& v)
{
    for (std::size_t i = 0; i < Pairs(v); ++i) MoveOrDraw(Target(v, i, false));
    m_state.absolute = false;
}

// The line starts at the pen itself, so an outline drawn back to its first
// point closes.
void CHpglInterpreter::PenDown(const Values& v)
{
    m_state.penDown = true;
    for (std::size_t i = 0; i < Pairs(v); ++i) DrawTo(Target(v, i, m_state.absolute));
}

void CHpglInterpreter::PenUp(const Values& v)
{
    m_state.penDown = false;
    BreakLine();
    for (std::size_t i = 0; i < Pairs(v); ++i) MoveTo(Target(v, i, m_state.absolute));
}

void CHpglInterpreter::PolylineEncoded(const CImportBuffer& command)
{
    for (const HpglEncodedStep& step : DecodeHpglPolyline(command.Text())) {
        if (m_overLimit) return;
        if (step.kind == HpglEncodedStep::SelectPen) {
            if (step.pen != m_state.pen) BreakLine();
            m_state.pen = step.pen;
            continue;
        }
        const CDoublePoint target = step.absolute ? step.point : m_state.penPosition + step.point;
        m_state.penDown = !step.penUp;
        MoveOrDraw(target);
    }
}

// --- Arcs, circles, rectangles, wedges ----------------------------------------

double CHpglInterpreter::ChordAngle(const Values& v, std::size_t index, double radius) const
{
    if (v.size() <= index) return HpglState::kDefaultChordAngle;
    const double chord = std::fabs(v[index]);
    if (m_state.chordMode == 1) return ChordAngleForDeviation(radius, chord);
    return chord > 0 ? chord : HpglState::kDefaultChordAngle;
}

// A circle about the pen, drawn whatever the pen state; the pen stays at
// the centre.
void CHpglInterpreter::Circle(const Values& v)
{
    if (v.empty() || v[0] == 0.0) return;
    const double r = v[0];
    const CDoublePoint centre = m_state.penPosition;
    AddShape(ArcChordPoints(centre, centre + CDoublePoint(r, 0.0), 360.0, ChordAngle(v, 1, std::fabs(r))));
}

void CHpglInterpreter::ArcAbsolute(const Values& v, bool relative)
{
    if (v.size() < 3) return;
    const CDoublePoint pen = m_state.penPosition;
    const CDoublePoint centre = relative ? pen + CDoublePoint(v[0], v[1]) : CDoublePoint(v[0], v[1]);
    const std::vector<CDoublePoint> arc =
        ArcChordPoints(centre, pen, v[2], ChordAngle(v, 3, HpglDistance(centre, pen)));
    for (std::size_t i = 1; i < arc.size(); ++i) MoveOrDraw(arc[i]);
}

void CHpglInterpreter::ArcThreePoint(const Values& v, bool relative)
{
    if (v.size() < 4) return;
    const CDoublePoint p = m_state.penPosition;
    const CDoublePoint offset = relative ? p : CDoublePoint();
    const CDoublePoint b = offset + CDoublePoint(v[0], v[1]);
    const CDoublePoint e = offset + CDoublePoint(v[2], v[3]);
    if (!m_state.penDown) {
        MoveTo(e);
        return;
    }
    if (HpglPointsCollinear(p, b, e)) {
        if (p == b && b == e) return;
        if (p == b || b == e) {
            DrawTo(e);
        } else if (e == p) {
            // Out and back on one line: no arc, nothing drawn.
            return;
        } else {
            DrawTo(b);
            DrawTo(e);
        }
        return;
    }
    CDoublePoint centre;
    const double radius = CircleThroughPoints(p, b, e, centre) ? HpglDistance(centre, p) : 0.0;
    const std::vector<CDoublePoint> arc = ArcThroughPoints(p, b, e, ChordAngle(v, 4, radius));
    if (arc.empty()) {
        // Two of the points meet: the line through the others.
        if (b != p) DrawTo(b);
        if (e != m_state.penPosition) DrawTo(e);
        return;
    }
    for (std::size_t i = 1; i < arc.size(); ++i) DrawTo(arc[i]);
}

// The outline of the rectangle from the pen to a corner; the pen stays.
void CHpglInterpreter::Rectangle(const Values& v, bool relative)
{
    if (v.size() < 2) return;
    const CDoublePoint p = m_state.penPosition;
    const CDoublePoint q = relative ? p + CDoublePoint(v[0], v[1]) : CDoublePoint(v[0], v[1]);
    AddShape({p, CDoublePoint(q.x, p.y), q, CDoublePoint(p.x, q.y), p});
}

// The outline of a pie slice about the pen: radius, start angle and sweep
// in degrees; the pen stays at the centre.
void CHpglInterpreter::Wedge(const Values& v)
{
    if (v.size() < 3 || v[0] == 0.0) return;
    const CDoublePoint centre = m_state.penPosition;
    const double r = v[0];
    const double start = v[1] * 3.14159265358979323846 / 180.0;
    const CDoublePoint first = centre + CDoublePoint(r * std::cos(start), r * std::sin(start));
    std::vector<CDoublePoint> arc = ArcChordPoints(centre, first, v[2], ChordAngle(v, 3, std::fabs(r)));
    if (std::fabs(v[2]) < 360.0) {
        arc.insert(arc.begin(), centre);
        arc.push_back(centre);
    }
    AddShape(arc);
}

// --- Scaling -----------------------------------------------------------------

void CHpglInterpreter::DefaultValues()
{
    HpglState& s = m_state;
    s.p1 = CDoublePoint(double(s.hardClip.left), double(s.hardClip.top));
    s.p2 = CDoublePoint(double(s.hardClip.right), double(s.hardClip.bottom));
    s.scaling = false;
    s.inputWindow = CRect();
    s.lineType = 0;
    s.absolute = true;
    s.terminator = HpglState::kDefaultTerminator;
    s.printTerminator = false;
    s.direction = 0.0;
    s.charWidth = HpglState::kDefaultCharWidth;
    s.charHeight = HpglState::kDefaultCharHeight;
    s.labelOrigin = 1;
    s.chordMode = 0;
    s.UpdateScaling();
    BreakLine();
}

void CHpglInterpreter::Initialize()
{
    m_state.penPosition = CDoublePoint();
    m_state.penDown = false;
    m_state.rotation = 0;
    DefaultValues();
}

void CHpglInterpreter::InputP1P2(const Values& v)
{
    HpglState& s = m_state;
    if (v.size() >= 4) {
        s.p1 = CDoublePoint(v[0], v[1]);
        s.p2 = CDoublePoint(v[2], v[3]);
    } else if (v.size() >= 2) {
        const CDoublePoint d = s.p2 - s.p1;
        s.p1 = CDoublePoint(v[0], v[1]);
        s.p2 = s.p1 + d;
    } else {
        s.p1 = CDoublePoint(double(s.hardClip.left), double(s.hardClip.top));
        s.p2 = CDoublePoint(double(s.hardClip.right), double(s.hardClip.bottom));
    }
    s.UpdateScaling();
    BreakLine();
}

// P1 and P2 in percent of the hard-clip limits.
void CHpglInterpreter::InputRelative(const Values& v)
{
    HpglState& s = m_state;
    const double w = s.hardClip.Width();
    const double h = s.hardClip.Height();
    if (v.size() >= 4) {
        s.p1 = CDoublePoint(v[0] / 100.0 * w, v[1] / 100.0 * h);
        s.p2 = CDoublePoint(v[2] / 100.0 * w, v[3] / 100.0 * h);
    } else if (v.size() >= 2) {
        const CDoublePoint d = s.p2 - s.p1;
        s.p1 = CDoublePoint(v[0] / 100.0 * w, v[1] / 100.0 * h);
        s.p2 = s.p1 + d;
    } else {
        s.p1 = CDoublePoint(double(s.hardClip.left), double(s.hardClip.top));
        s.p2 = CDoublePoint(double(s.hardClip.right), double(s.hardClip.bottom));
    }
    s.UpdateScaling();
    BreakLine();
}

void CHpglInterpreter::Scale(const Values& v)
{
    HpglState& s = m_state;
    if (v.empty()) {
        // SC without values: back to plotter units.
        s.scaling = false;
        s.UpdateScaling();
        BreakLine();
        return;
    }
    if (v.size() < 4 || v[0] == v[1] || v[2] == v[3]) return;
    auto apply = [&](int type, double left, double bottom) {
        s.scXMin = v[0];
        s.scXMax = v[1];
        s.scYMin = v[2];
        s.scYMax = v[3];
        s.scType = type;
        s.scLeft = left;
        s.scBottom = bottom;
        s.scaling = true;
        s.UpdateScaling();
        BreakLine();
    };
    if (v.size() >= 7) {
        if (v[4] == 1.0) apply(1, v[5], v[6]);
    } else if (v.size() >= 5) {
        const int type = RoundToInt(v[4]);
        if (type == 0 || type == 1)
            apply(type, s.scLeft, s.scBottom);
        else if (type == 2 && v[1] != 0.0 && v[3] != 0.0)
            apply(2, 50.0, 50.0);
    } else {
        apply(0, s.scLeft, s.scBottom);
    }
}

void CHpglInterpreter::InputWindow(const Values& v)
{
    m_state.inputWindow = v.size() >= 4 ? CRect(RoundToInt(v[0]), RoundToInt(v[1]), RoundToInt(v[2]), RoundToInt(v[3]))
                                        : CRect();
}

void CHpglInterpreter::Rotate(const Values& v)
{
    if (v.empty()) {
        m_state.rotation = 0;
        return;
    }
    if (v[0] == 0.0 || v[0] == 90.0 || v[0] == 180.0 || v[0] == 270.0) m_state.rotation = int(v[0]);
}

// --- Labels and settings -------------------------------------------------------

void CHpglInterpreter::Label(const CImportBuffer& command)
{
    const std::string text = CleanLabelText(command.Text());
    if (text.empty()) return;
    if (m_state.labels.size() >= kMaxLabels) {
        m_overLimit = true;
        return;
    }
    const CDoublePoint at = m_state.ToPlot(m_state.penPosition);
    CHpglLabel label;
    label.x = at.x;
    label.y = at.y;
    label.origin = m_state.labelOrigin;
    label.text = text;
    label.direction = m_state.direction;
    label.charWidth = m_state.charWidth;
    label.charHeight = m_state.charHeight;
    m_state.labels.push_back(std::move(label));
}

// The terminator is the text (none: the default); a mode of 0 prints it.
void CHpglInterpreter::DefineTerminator(const CImportBuffer& command)
{
    const std::string& text = command.Text();
    m_state.terminator = text.empty() ? HpglState::kDefaultTerminator : text[0];
    m_state.printTerminator = !command.Values().empty() && RoundToInt(command.Value(0)) == 0;
}

void CHpglInterpreter::LineType(const Values& v)
{
    int type = m_state.lineType;
    if (v.empty()) {
        type = 0;
    } else {
        const int t = std::abs(RoundToInt(v[0]));
        if (t == 1) type = 2;
        else if (t == 2 || t == 3) type = 1;
        else if (t >= 4 && t <= 8) type = 3;
    }
    if (type != m_state.lineType) BreakLine();
    m_state.lineType = type;
}

void CHpglInterpreter::SelectPen(const Values& v)
{
    if (v.empty()) return;
    const int pen = RoundToInt(v[0]);
    if (pen != m_state.pen) BreakLine();
    m_state.pen = pen;
}

void CHpglInterpreter::LabelOrigin(const Values& v)
{
    if (v.empty()) {
        m_state.labelOrigin = 1;
        return;
    }
    const int t = RoundToInt(v[0]);
    m_state.labelOrigin = t < 1 || t > 19 || t == 10 ? 1 : t;
}

void CHpglInterpreter::CharacterSize(const Values& v)
{
    if (v.size() >= 2) {
        m_state.charWidth = v[0];
        m_state.charHeight = v[1];
    } else {
        m_state.charWidth = HpglState::kDefaultCharWidth;
        m_state.charHeight = HpglState::kDefaultCharHeight;
    }
}

void CHpglInterpreter::Direction(const Values& v)
{
    m_state.direction = v.size() >= 2 ? std::atan2(v[1], v[0]) : 0.0;
}

void CHpglInterpreter::ChordTolerance(const Values& v)
{
    m_state.chordMode = !v.empty() && RoundToInt(v[0]) == 1 ? 1 : 0;
}
