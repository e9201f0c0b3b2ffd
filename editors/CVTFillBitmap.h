// The editor of a bitmap fill (fill kind 1). The picture is laid as tiles;
// the reference tile shows as a turned rectangle with four handles: its
// centre (moves the tiles), its top-right corner (turns them), the middle
// of its top edge (height) and of its right edge (width). A handle is
// grabbed by one click and dropped by the next; the tiles follow the mouse
// in between, and a drag that changed them is one undo step. Undo or
// Cancel during a drag put the tiles back as they were. A double click
// inside the curve's bounds loads another picture.
#pragma once

#include "editors/CVTFillDragEditor.h"

class CVTFillBitmap : public CVTFillDragEditor {
public:
    enum Mode {
        kIdle = 0,
        kOverCentre = 1,
        kOverCorner = 2,
        kOverTop = 3,
        kOverRight = 4,
        kSizingHeight = 5,
        kSizingWidth = 6,
        kMoving = 7,
        kTurning = 8,
    };
    enum Anchor { kAnchorCentre = 0, kAnchorTop = 1, kAnchorRight = 2, kAnchorCorner = 3 };

    CVTFillBitmap(CVEKView* view, CVTFill* owner);
    ~CVTFillBitmap() override;

    void Activate() override;
    // Ends a drag where it stands: kept as one step when it changed the
    // tiles.
    void Reset() override;
    BOOL HasPendingStep() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

    // A reference point of the tile (Anchor).
    CPoint GetAnchorPoint(int type) const;
    // The sizing cursor of an edge handle in the direction `radians` from
    // the tile centre.
    static int SizingCursor(double radians);

    static constexpr int kCursorNone = 152;
    static constexpr UINT kPromptCentre = 38053;
    static constexpr UINT kPromptCorner = 38052;
    static constexpr UINT kPromptSize = 38054;
    // "位图大小必须大于0!": a tile dropped with no height or width.
    static constexpr int kMessageZeroTile = 36140;

private:
    struct Tile {
        CPoint centre;
        CSize size;
        double angle = 0.0;
        bool operator==(const Tile& o) const
        {
            return centre == o.centre && size == o.size && angle == o.angle;
        }
    };
    Tile CurrentTile() const;
    bool HitsAnchor(int type, const CPoint& p) const;
    void Hover(const CPoint& p, BOOL& result);
    void Grab(int mode, const CPoint& click);
    // The tile as the mouse at p makes it in the current drag mode; false
    // when it would have no height or no width.
    bool Follow(const CPoint& p);
    void RestoreGrabbed() override;

    double m_savedAngle = 0.0;
    Tile m_grabbed;
};
