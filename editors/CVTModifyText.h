// The text editor: moves a text (click on it, move, click again), drags
// one of twenty handle codes at its corners and edge midpoints (turn the
// text about its centre or with its font's escapement, resize it in
// proportion, move one corner or one edge freely, move an edge along the
// box's axis), edits its wording on a double click, applies the tool bar's
// font and font colour, and deletes, cuts and copies it.
//
// It is no tool of the view: the select tool and the text tool own one
// each, pass it their events while a text is engaged, and are called back
// (Reset) when the text goes.
//
// A move or a handle drag is one undo step, held from its first click and
// made at the first real change; Esc ends it where it stands, keeping the
// step, and Undo during it takes it back. Emptying a text's wording
// deletes the text, as one undo step.
#pragma once

#include "app/CVectorTool.h"

#include "model/CTextFont.h"
#include "platform/Types.h"

#include <string>

class CTextElement;
class QWidget;

class CVTModifyText : public CVectorTool {
public:
    enum State {
        kIdle = 0,
        kOverBody = 1,
        kOutside = 2,
        kOverHandle = 3,
        kDragging = 4,
        kMoving = 5,
    };

    // `owner` is called back (Reset) when the text is deleted or cut.
    CVTModifyText(CVEKView* view, CDesignTool* owner);
    ~CVTModifyText() override;

    // Engages a text (null none): its font without the turn becomes the
    // tool bar's current font.
    void SetElement(CTextElement* text);
    CTextElement* GetElement() const { return m_pText; }
    CDesignTool* GetOwner() const { return m_pOwner; }
    int GetState() const { return m_nState; }
    int GetHoverHandle() const { return m_nHoverHandle; }
    int GetDragHandle() const { return m_nDragHandle; }

    // The handle code under the point with the keys of `flags`, -1 none:
    // 1-3 origin, 6-8 corner 2, 11-13 corner 4, 16-18 corner 3 (Ctrl,
    // Shift, neither), 4/5, 9/10, 14/15, 19/20 the midpoints of the edges
    // origin-corner 2, corner 2-corner 4, corner 4-corner 3, corner 3-origin
    // (with a key, without).
    int HitTestHandle(UINT flags, int x, int y) const;

    // Asks for a text's wording (the edit-text dialog by default); true and
    // the new wording on OK.
    using WordingDialog = bool (*)(QWidget* parent, std::string& gbkText);
    static void SetWordingDialog(WordingDialog dialog);
    static bool AskWording(QWidget* parent, std::string& gbkText);
    // A wording with nothing to show: no text is made of it.
    static bool IsBlankWording(const std::string& gbkText);

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
    void OnFontColorChanged() override;
    void OnFontColor() override;
    void OnCellColorChanged() override;
    void OnCellColor() override;
    void OnFontChanged() override;
    void OnFont() override;
    void OnAlignment() override;

    // Cursors and prompts.
    static constexpr int kCursorResize = 167;
    static constexpr int kCursorRotate = 169;
    static constexpr int kCursorMove = 198;
    static constexpr int kCursorText = 216;
    static constexpr int kPromptBody = 38043;
    static constexpr int kPromptRotating = 38045;
    static constexpr int kPromptEdgeHandle = 38046;
    static constexpr int kPromptMoving = 38047;
    static constexpr int kPromptAlongAxis = 38069;
    static constexpr int kPromptCornerHandle = 38070;
    static constexpr int kPromptShiftCorner = 38071;
    static constexpr int kPromptFreeResize = 38076;
    static constexpr int kPromptProportional = 38078;

private:
    // The four working corners: origin, corner 2, corner 4, corner 3.
    enum Corner { kOrigin = 0, kCorner2 = 1, kCorner4 = 2, kCorner3 = 3 };

    CPoint HandlePoint(int handle) const;
    void ReadCorners();
    void WriteCorners();
    void Hover(UINT flags, int x, int y);
    BOOL Evaluate(UINT flags, int x, int y);
    void StartStep(int state, int x, int y);
    // Ends a move or drag where it stands: its held undo step is made when
    // the text changed and dropped otherwise. True when it was made.
    bool EndStep();
    // Before a change during a step: the step's held copy becomes an undo
    // step; outside a step the change gets a step of its own.
    void StepBeforeChange();
    void MarkChanged();
    void DragStep(const CPoint& mouse);
    void RotateWithEscapement(const CPoint& mouse);
    void RemoveText(bool copyFirst);
    void ApplyTextStyle(const CTextFont& textFont, bool relayBox);
    void EndEditing();
    void DrawHandleHint(CDC* dc, double scale, int originX, int originY) const;

    CDesignTool* m_pOwner;
    CTextElement* m_pText = nullptr;
    CPoint m_ptAnchor;
    CPoint m_ptCurrent;
    int m_bCtrlDown = 0;
    double m_dStartAngle = 0.0;
    int m_nState = kIdle;
    int m_nHoverHandle = -1;
    int m_nDragHandle = -1;
    CTextFont m_textFont;
    CPoint m_corners[4];
    int m_nBkMode = 1;
    // The step in progress: whether its held undo copy has become a step,
    // and whether the text has changed since it began.
    bool m_bStepCommitted = false;
    bool m_bStepChanged = false;
};
