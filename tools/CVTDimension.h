// The dimension and tape-measure tool, with two modes that Shift switches.
// Dimension mode (the mode after every reset): two clicks give a straight
// line with the tool bar's start arrowhead at its first click, then the
// text typed in the edit-text dialog is placed beside the second click;
// line and text are one undo step (Cancel in the dialog leaves the line
// alone). Tape-measure mode: on a curve the user clicks a start point, a
// point giving the direction and an end point; the right button measures
// the curve between start and end and places a measured line 2 mm off the
// curve, with witness lines at both ends and the length as text in the
// work unit. Space zooms.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/CList.h"
#include "platform/Types.h"

class CCurveElement;

class CVTDimension : public CVectorTool {
public:
    static constexpr int kCursorDimension = 350;
    static constexpr int kCursorTape = 356;
    static constexpr UINT kPromptDimensionStart = 38082;
    static constexpr UINT kPromptDimensionEnd = 38083;
    static constexpr UINT kPromptTapeStart = 38084;
    static constexpr UINT kPromptTapeDirection = 38085;
    static constexpr UINT kPromptTapeEnd = 38086;
    // How far the measured line lies off the curve, and the height of its
    // text (page units).
    static constexpr int kTapeOffset = 200;
    static constexpr int kTapeTextHeight = 198;

    explicit CVTDimension(CVEKView* view);
    ~CVTDimension() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    int IsTapeMode() const { return m_bTapeMode; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    const CPointList& GetTapeSection() const { return m_tapeSection; }
    CCurveElement* GetTapeCurve() const { return m_pTapeCurve; }

    // Where the text of a dimension goes, for a line from `start` to the
    // second click `at` and a text of that size: beside the click, on the
    // side away from the line.
    static CPoint DimensionTextOrigin(const CPoint& start, const CPoint& end, const CPoint& at, const CSize& text);

private:
    // Back to the first click of dimension mode, nothing shown.
    void ClearState();
    void ShowModeState();
    BOOL DimensionClick(int x, int y);
    void AddDimensionText(const CPoint& at);
    BOOL TapeClick();
    void MeasureTape();

    CPoint m_ptDimStart;
    CPoint m_ptDimEnd;
    int m_bTapeMode = 0;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    CPointList m_tapeSection;
    CPointList m_tapeClicks;
    CPoint m_ptTapeStart;
    CPoint m_ptTapeDir;
    CPoint m_ptTapeEnd;
    CCurveElement* m_pTapeCurve = nullptr;
    int m_bShiftHeld = 0;
};
