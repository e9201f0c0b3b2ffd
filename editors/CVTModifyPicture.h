// The picture editor: moves, resizes, stretches and turns one picture by
// its four corners, and copies, cuts and deletes it. Every operation is a
// click to start it and a click to end it; in between each mouse move
// computes the corners afresh from those the picture had at the start.
// Sixteen handle codes at the corners and side midpoints say what a drag
// does (the corner codes turn the picture, or with Shift stretch it along
// its diagonal; the side codes move the side along the picture's axis, or
// with Shift or Ctrl move it freely).
//
// It is no tool of the view: the select tool and the insert picture tool
// own one each, pass it their events while it holds a picture, and are
// called back (Reset) when the picture goes.
//
// A move or a drag is one undo step, held from its first click and made
// when the corners first change, so a click that changes nothing costs no
// history. Esc ends it where it stands, keeping the step; Undo during it
// takes it back.
#pragma once

#include "app/CVectorTool.h"

#include "platform/Types.h"

#include <array>

class CImageElement;
class CPage;

class CVTModifyPicture : public CVectorTool {
public:
    // States of the editor.
    enum State {
        kIdle = 0,
        kOutside = 1,
        kInside = 2,
        kMoving = 3,
        kOnHandle = 4,
        kDragging = 5,
    };

    // `owner` is called back (Reset) when the picture is deleted or cut.
    CVTModifyPicture(CVEKView* view, CDesignTool* owner);
    ~CVTModifyPicture() override;

    // Resets and edits `picture` (null edits none).
    void SetElement(CImageElement* picture);
    CImageElement* GetElement() const { return m_pPicture; }
    CDesignTool* GetOwner() const { return m_pOwner; }
    int GetState() const { return m_nState; }
    int GetHitCode() const { return m_nHitCode; }

    // The place of a handle (1, 3, 5, ... 15: corners clockwise from the
    // upper left, side midpoints between them) on the current corners.
    CPoint GetHandlePoint(int place) const;
    // The handle code under the point with the keys of `flags`; -1 none.
    int HitTestHandle(UINT flags, int x, int y) const;

    // --- Tool operations ---------------------------------------------------
    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnReturnDown() override;
    BOOL OnReturnUp() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
    BOOL OnDeleteDown() override;
    BOOL OnDeleteUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;
    void OnEditCopy() override;
    void OnEditCut() override;
    BOOL CanCopy() override;

    // Cursors and prompts.
    static constexpr int kCursorPicture = 152;
    static constexpr int kCursorResize = 167;
    static constexpr int kCursorMove = 168;
    static constexpr int kCursorRotate = 169;
    static constexpr int kPromptInside = 38057;
    static constexpr int kPromptSideHandle = 38060;
    static constexpr int kPromptCornerHandle = 38068;
    static constexpr int kPromptResizing = 38073;
    static constexpr int kPromptRotating = 38074;
    static constexpr int kPromptMoving = 38075;
    static constexpr int kPromptMatchedSide = 38077;
    static constexpr int kPromptStretching = 38079;
    static constexpr int kPromptRotateCorner = 38080;

private:
    using Corners = std::array<CPoint, 4>;

    Corners CurrentCorners() const;
    void SetCorners(const Corners& corners);
    void Hover(UINT flags, int x, int y);
    void StartStep(int state);
    // Ends a move or drag where it stands: its held undo step is made when
    // the corners changed and dropped otherwise. True when it was made.
    bool EndStep();
    void Move(int x, int y);
    void Drag(int x, int y);
    // The corners for the latched handle code and the mouse; false when the
    // code does nothing or the lines it needs do not cross.
    bool DraggedCorners(const CPoint& mouse, Corners& out) const;
    void RemovePicture(bool copyFirst);
    void DrawHandleHint(CDC* dc, double scale, int originX, int originY) const;

    CDesignTool* m_pOwner;
    CImageElement* m_pPicture = nullptr;
    CPoint m_ptPress{-1, -1};
    CPoint m_ptMouse{-1, -1};
    Corners m_savedCorners{};
    int m_nState = kIdle;
    int m_nHitCode = 0;
    int m_nHandleCode = 0;
    // The step's undo copy has become an undo step.
    bool m_bStepCommitted = false;
};
