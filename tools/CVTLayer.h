// The drawing-level tool: changes the stacking order of elements on the
// current page. A left click on an element raises it one level, a right
// click lowers it one level, PageUp brings the element under the mouse to
// the top and PageDown sends it to the bottom; a click on empty paper
// opens a box, and the next click raises (left) or lowers (right) every
// element that meets it. Embedded objects are never picked. Each change is
// one undo step; a click that changes nothing takes none. Space zooms.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include "platform/CList.h"
#include "platform/Types.h"

#include <vector>

class CGraphElement;

class CVTLayer : public CVectorTool {
public:
    static constexpr int kCursor = 218;
    static constexpr UINT kPrompt = 38048;

    explicit CVTLayer(CVEKView* view);
    ~CVTLayer() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
    BOOL OnPageUpDown() override;
    BOOL OnPageUpUp() override;
    BOOL OnPageDownDown() override;
    BOOL OnPageDownUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    CGraphElement* GetHitElement() const { return m_pHitElement; }
    const CList<CGraphElement*>& GetBoxElements() const { return m_boxElements; }
    int IsBoxOpen() const { return m_nStep > 0; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }

    // The level one raise gives the element: one up, or above the highest
    // level when another element shares it there.
    int RaisedLevel(const CGraphElement* element) const;

private:
    using LevelChange = std::pair<CGraphElement*, int>;

    // Sets the levels as one undo step; none when no level changes.
    void ApplyLevels(const std::vector<LevelChange>& changes);
    void OpenBox(int x, int y);
    BOOL CloseBox(bool raise);
    int HighestLevel() const;
    int CountAtLevel(int level, const CGraphElement* except) const;

    CGraphElement* m_pHitElement = nullptr;
    int m_nZoomStep = 0;
    CSpaceZoom m_zoom{*this, m_nZoomStep};
    CPoint m_ptBoxStart;
    CPoint m_ptBoxEnd;
    CList<CGraphElement*> m_boxElements;
};
