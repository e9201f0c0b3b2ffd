// The eraser: a click on an element deletes it at once (curves and texts
// are found before pictures and tables); a click on empty space opens a
// box, and the next click deletes every element that meets it (embedded
// objects included). With Shift or Ctrl held the mouse picks nothing, so a
// click opens a box even over an element. One undo step brings back what
// one click erased. Space zooms.
//
// Inside the symmetric-drawing tool each erased curve is reported to the
// owner after it left the page and before it is destroyed.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <functional>

class CGraphElement;
class CVTSymmetricDraw;

class CVTEraser : public CVectorTool {
public:
    explicit CVTEraser(CVEKView* view);
    // A sub-tool of the symmetric-drawing tool (`mirrorSide` nonzero).
    CVTEraser(CVEKView* view, CVTSymmetricDraw* owner, int mirrorSide);
    ~CVTEraser() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
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

    // The owner's answer to a curve erased by the sub-tool (it still
    // exists when the handler runs). Only called with an owner and the
    // sub-tool flag.
    void SetRemovePairHandler(std::function<void(CGraphElement*)> handler) { m_onRemovePair = std::move(handler); }
    CVTSymmetricDraw* GetOwner() const { return m_pOwner; }

    int IsBoxOpen() const { return m_bBoxMode; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    const CList<CGraphElement*>& GetEraseList() const { return m_eraseList; }

    static constexpr int kCursor = 175;
    static constexpr UINT kPrompt = 38017;

private:
    void FillBoxList();
    void EraseList();

    CVTSymmetricDraw* m_pOwner = nullptr;
    int m_bMirrorSide = 0;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    CPoint m_ptBoxStart;
    CPoint m_ptBoxEnd;
    int m_bBoxMode = 0;
    CList<CGraphElement*> m_eraseList;
    std::function<void(CGraphElement*)> m_onRemovePair;
};
