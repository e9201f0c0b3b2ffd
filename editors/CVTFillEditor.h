// What the fill editors have in common: they are no tools of the view but
// belong to the fill tool, which hands each the closed curve it picked
// (SetElement) and passes it the mouse, the drawing, Cancel and Undo while
// the curve's fill is of the editor's kind. An editor answers 0 from a
// click when the click should let the fill tool pick another curve, and 0
// from a mouse move when the fill tool should look for a curve to hover.
#pragma once

#include "app/CVectorTool.h"

#include "platform/Types.h"

class CClosedCurveElement;
class CVTFill;

class CVTFillEditor : public CVectorTool {
public:
    CVTFillEditor(CVEKView* view, CVTFill* owner);
    ~CVTFillEditor() override;

    // Drops any action under way, then edits `curve`.
    virtual void SetElement(CClosedCurveElement* curve);
    CClosedCurveElement* GetElement() const { return m_pCurve; }
    CVTFill* GetOwner() const { return m_pOwner; }
    // The editor's step: which handle the mouse rests on or holds.
    int GetMode() const { return m_nMode; }

    // The shared cursors and the prompt shown over no handle.
    static constexpr int kCursorIdle = 221;
    static constexpr int kCursorHandle = 168;
    static constexpr int kCursorTurn = 169;
    static constexpr UINT kPromptIdle = 38055;

protected:
    // A closed curve other than the edited one contains the point: a click
    // there lets the fill tool pick it.
    bool InsideAnotherCurve(int x, int y) const;
    // The closed curve whose outline passes within the capture tolerance
    // of the point, or null.
    CClosedCurveElement* CurveAtOutline(int x, int y) const;
    void SetCursor(int cursorId) const;
    // Repaints the page after the curve's fill changed, or only the
    // handles.
    void Repaint(bool fillChanged) const;

    CVTFill* m_pOwner;
    CClosedCurveElement* m_pCurve = nullptr;
    int m_nMode = 0;
    CPoint m_ptPress{-1, -1};
    CPoint m_ptCurrent{-1, -1};
};
