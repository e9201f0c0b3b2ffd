// An embedded or linked object of another program placed on a page
// (element kind 32). The object is a container item (CVEKCntrItem) that
// the element shares with its copies; the element gives it a rectangle in
// page units and a drawing level, and draws it: on screen with a tracker
// frame, on paper without one.
//
// The record holds the item (through the archive's object table, see
// COleArchiveContext) but not the rectangle in page units: the item keeps
// its own rectangle in view pixels, from which the first draw after a load
// derives the page rectangle. After that the page rectangle leads, so that
// the object stays on its place on the page when the view scrolls or zooms.
// Drawing leaves the item's stored rectangle alone: only moving or resizing
// the object (COleContainer::OnChangeItemPosition) writes it, so a document
// opened, shown and saved keeps the item's record as it was read.
#pragma once

#include "model/CGraphElement.h"
#include "model/CVEKCntrItem.h"

#include "platform/Types.h"

class COleObjectElement : public CGraphElement {
public:
    // Kind 32, no item, no rectangle yet.
    COleObjectElement(CPage* owner, int level);
    // Kind 32 showing the item; the rectangle comes from the first draw.
    COleObjectElement(CPage* owner, int level, CVEKCntrItemPtr item);

    void SetClientItem(CVEKCntrItemPtr item);
    const CVEKCntrItemPtr& GetClientItem() const { return m_item; }

    // The object's rectangle in page units; empty until it is known.
    CRect GetBoundRect() override;
    const CRect& GetRect() const { return m_rect; }
    bool HasRect() const { return m_hasRect; }
    // Places the object (page units); used when the user moves or resizes it.
    void SetRect(const CRect& rect);
    // The rectangle moved, once it is known.
    void OffsetBy(int dx, int dy) override;

    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& clip) override;
    // The base copy, the rectangle, and the same item as the other element.
    void CopyFrom(const CGraphElement& other) override;
    int Load(CArchive& ar) override;
    int Store(CArchive& ar) const override;

    // How the tracker frame of an item is drawn.
    enum TrackerStyle {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    struct Tracker {
        CRect rect;  // device pixels
        int style = 0;
    };
    // The frame for `item` over `deviceRect`: resize handles inside when it
    // is this element's item, a solid frame for an embedded object and a
    // dotted one for a link, hatched inside while the object is open.
    Tracker SetupTracker(const CVEKCntrItem* item, const CRect& deviceRect) const;
    static void DrawTracker(CDC* dc, const Tracker& tracker);

private:
    void TakeRectFromItem(double scale, int originX, int originY);
    CRect DeviceRect(double scale, int originX, int originY) const;

    CRect m_rect;
    bool m_hasRect = false;
    CVEKCntrItemPtr m_item;
};
