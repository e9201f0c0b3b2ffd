// Carries out plotter commands against a plotter state: pen moves become
// polylines (arcs, circles, rectangles and wedges laid out as chords),
// labels become label records, and the scaling and label settings change.
#pragma once

#include "library/HpglState.h"

#include <cstddef>
#include <vector>

class CImportBuffer;

class CHpglInterpreter {
public:
    // Bounds of one file: beyond them the read is refused rather than
    // taking the memory of the whole machine.
    static constexpr std::size_t kMaxPoints = 4000000;
    static constexpr std::size_t kMaxLabels = 200000;

    explicit CHpglInterpreter(HpglState& state) : m_state(state) {}

    // Runs one command; an invalid or unknown one does nothing.
    void Execute(const CImportBuffer& command);

    // The file holds more points or labels than an import takes.
    bool IsOverLimit() const { return m_overLimit; }
    // How many commands of the plotter language were carried out; a file
    // with none is no plotter file.
    std::size_t KnownCommandCount() const { return m_known; }
    const HpglState& State() const { return m_state; }

private:
    using Values = std::vector<double>;

    bool Dispatch(const CImportBuffer& command);

    // Pen moves.
    CDoublePoint Target(const Values& v, std::size_t pair, bool absolute) const;
    void MoveTo(const CDoublePoint& p);
    void DrawTo(const CDoublePoint& p);
    void MoveOrDraw(const CDoublePoint& p);
    // A polyline of its own (circles, rectangles, wedges); the pen stays.
    void AddShape(const std::vector<CDoublePoint>& points);
    CHpglPrimitive& StartPrimitive();
    bool TakePoints(std::size_t count);
    void BreakLine() { m_state.continuing = -1; }

    void PlotAbsolute(const Values& v);
    void PlotRelative(const Values& v);
    void PenDown(const Values& v);
    void PenUp(const Values& v);
    void PolylineEncoded(const CImportBuffer& command);

    void Circle(const Values& v);
    void ArcAbsolute(const Values& v, bool relative);
    void ArcThreePoint(const Values& v, bool relative);
    void Rectangle(const Values& v, bool relative);
    void Wedge(const Values& v);
    double ChordAngle(const Values& v, std::size_t index, double radius) const;

    void DefaultValues();
    void Initialize();
    void InputP1P2(const Values& v);
    void InputRelative(const Values& v);
    void Scale(const Values& v);
    void InputWindow(const Values& v);
    void Rotate(const Values& v);

    void Label(const CImportBuffer& command);
    void DefineTerminator(const CImportBuffer& command);
    void LineType(const Values& v);
    void SelectPen(const Values& v);
    void LabelOrigin(const Values& v);
    void CharacterSize(const Values& v);
    void Direction(const Values& v);
    void ChordTolerance(const Values& v);

    HpglState& m_state;
    std::size_t m_points = 0;
    bool m_overLimit = false;
    std::size_t m_known = 0;
};
