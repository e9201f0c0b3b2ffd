// The symmetry tool: the user draws a mirror axis with two clicks, picks
// curves by clicking them or curves and texts with a box (a click on empty
// paper opens it, the next click closes it), and a right click adds a
// mirror image of every picked element to the page in one undo step.
// Curve images stand on mirrored shared points of their sources' points,
// so they follow their sources whenever these move; side lines change
// sides and fills are reflected. A text's image is placed on the reflected
// box but always reads left to right. Pictures, tables and embedded
// objects are never picked. Space zooms.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/CList.h"
#include "platform/LogFont.h"
#include "platform/Types.h"

#include <vector>

class CCurveElement;
class CGraphElement;
class CPage;
class CSharedPoint;
class CTextElement;

class CVTSymmetry : public CVectorTool {
public:
    enum Step { kAxisStartStep = 0, kAxisEndStep = 1, kPickStep = 2 };

    static constexpr int kCursor = 213;
    static constexpr UINT kPromptAxisStart = 38039;
    static constexpr UINT kPromptAxisEnd = 38040;
    static constexpr UINT kPromptPick = 38041;

    explicit CVTSymmetry(CVEKView* view);
    ~CVTSymmetry() override;

    void Deactivate() override;
    void Reset() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    CPoint GetAxisStart() const { return m_ptAxisStart; }
    CPoint GetAxisEnd() const { return m_ptAxisEnd; }
    int IsBoxOpen() const { return m_bBox; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }
    const CList<CGraphElement*>& GetPicked() const { return m_picked; }
    const CList<CGraphElement*>& GetHovered() const { return m_hover; }

    // Where a text's image goes: its box reflected and turned so that it
    // reads left to right, and its escapement (tenths of a degree).
    struct TextImage {
        CPoint origin;
        CPoint corner2;
        CPoint corner4;
        CPoint corner3;
        int escapement = 0;
    };
    static TextImage MirrorTextBox(const CPoint& origin, const CPoint& corner2, const CPoint& corner4,
                                   const CPoint& corner3, const CPoint& axisStart, const CPoint& axisEnd);

private:
    // A picked text with the place its image gets.
    struct PickedText {
        CTextElement* text = nullptr;
        TextImage image;
        LogFont font;
    };

    void TrackAxisEnd(UINT flags, int x, int y);
    void PickAt(UINT flags, int x, int y);
    void Pick(CGraphElement* element);
    void FillBoxHover();
    void MirrorPicked();
    void MirrorCurve(CPage& page, CCurveElement& curve, CSharedPoint* axis1, CSharedPoint* axis2, int level);
    void MirrorText(CPage& page, const PickedText& picked, int level);

    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    CPoint m_ptAxisStart;
    CPoint m_ptAxisEnd;
    int m_bBox = 0;
    CPoint m_ptBoxStart;
    CPoint m_ptBoxEnd;
    CList<CGraphElement*> m_hover;
    CList<CGraphElement*> m_picked;
    std::vector<CPointList> m_previews;
    std::vector<PickedText> m_texts;
};
