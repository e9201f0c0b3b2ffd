// The common part of the four gradient editors (linear, circular, conical,
// square): handles on the page that are grabbed by one click and dropped
// by the next, and a new gradient line drawn by two clicks on the page.
// The curve changes only when an action ends, as one undo step; an action
// that would change nothing costs no step.
//
// Modes, the same numbers in every editor: 0 idle; 1 a new line whose
// first point is fixed; 2, 3, 6 and 8 the mouse rests on a handle; 4, 5, 7
// and 9 the handle grabbed from 2, 3, 6 and 8 follows the mouse.
#pragma once

#include "editors/CVTFillEditor.h"

class CVTFillGradient : public CVTFillEditor {
public:
    enum Mode {
        kIdle = 0,
        kNewLine = 1,
        kOverA = 2,    // the handle each editor puts first among the ends
        kOverB = 3,
        kMovingA = 4,
        kMovingB = 5,
        kOverMiddle = 6,
        kMovingMiddle = 7,
        kOverC = 8,
        kMovingC = 9,
    };

    // The gradient fields the editors shape, as read from the curve.
    struct Gradient {
        CPoint start;
        CPoint end;
        CPoint centre;
        double blend = 0.5;
        double angle = 0.0;
        bool operator==(const Gradient& o) const
        {
            return start == o.start && end == o.end && centre == o.centre && blend == o.blend
                && angle == o.angle;
        }
    };

    CVTFillGradient(CVEKView* view, CVTFill* owner);
    ~CVTFillGradient() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // The square of about seven pixels around a page point in which the
    // handle there is hit and drawn.
    CRect GetHandleRect(const CPoint& p) const;
    // The rectangle mapped to the device, outlined with the DC's pen and
    // filled with the colour.
    static void DrawHandle(const CRect& rect, COLORREF colour, CDC* dc, double scale, int originX,
                           int originY);

    Gradient ReadGradient() const;

protected:
    // The handle under the point in the editor's hover order: the mode to
    // enter (2, 3, 6 or 8) and its prompt; 0 when none.
    virtual int HitHandle(const CPoint& p, UINT& prompt) const = 0;
    // The gradient a second click at `click` makes of `g`: the end of a
    // new line begun at the press point (mode 1) or the drop of a grabbed
    // handle (modes 4, 5, 7, 9). False when the click cannot end the
    // action: it stays open.
    virtual bool Apply(int mode, const CPoint& press, const CPoint& click, Gradient& g) const = 0;
    // The guide line and the handles of the gradient as it would be with
    // the pending action ended at the mouse.
    virtual void DrawGuide(CDC* dc, double scale, int originX, int originY) const = 0;
    // The cursor over no handle and no curve; 0 leaves it as it is.
    virtual int IdleCursor() const { return kCursorIdle; }
    // Whether a second click on the very point of the first leaves the
    // action of `mode` open (changing nothing), and whether it beeps then.
    virtual bool KeepsOpenOnRepeatedClick(int mode) const { return true; }
    virtual bool BeepsOnRepeatedClick() const { return false; }
    // Writes the fields of `g` into the curve as one undo step, when they
    // differ from what the curve holds; true when anything changed.
    bool WriteGradient(const Gradient& g);

    static bool IsGrabbed(int mode)
    {
        return mode == kMovingA || mode == kMovingB || mode == kMovingMiddle || mode == kMovingC;
    }
    static void Beep();
};
