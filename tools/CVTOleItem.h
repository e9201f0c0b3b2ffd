// The embedded-object tool: current while the user works with the objects
// of other programs kept in the document. A press on an object selects it
// and starts a drag of its frame: the whole frame moves, or one of its
// eight handles resizes it; the release puts the object at the new place
// as one undo step (none when it did not move). A double click selects as
// a press does (objects of other programs cannot be opened here). A right
// click on an object selects it and opens the view's menu of what can be
// done with it; Delete deletes the selected object and its data can be
// saved out into a file of its own program (the view's commands). Esc
// puts a dragged object back. No new objects can be inserted here.
#pragma once

#include "app/COleSelection.h"
#include "app/CRectTracker.h"
#include "app/CVectorTool.h"

#include "platform/Types.h"

class COleObjectElement;

class CVTOleItem : public CVectorTool, public COleSelection {
public:
    static constexpr int kCursor = 152;

    explicit CVTOleItem(CVEKView* view);
    ~CVTOleItem() override;

    // Selects an object (null: none); not owned.
    void SetElement(COleObjectElement* element) override;
    // The selected object, null when none is selected or it is no longer
    // on the current page.
    COleObjectElement* GetElement() const override;
    const CRectTracker& GetTracker() const override { return m_tracker; }

    // The selected object goes, as one undo step; false when none.
    bool DeleteSelection() override;
    // Its data into a file its program opens (a save dialog).
    void SaveSelectionData() override;

    // The drag cursors go with the tool.
    void Deactivate() override;
    // A drag in progress is cancelled; the selection stays.
    void Reset() override;
    BOOL OnDeleteDown() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonDblClk(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    // A drag is the only step under way: Esc and Undo put the object back.
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

private:
    CPoint DevicePoint(int x, int y) const;
    CRect DeviceRectOf(COleObjectElement* element) const;
    // The last object in list order whose rectangle holds the point.
    COleObjectElement* HitTestObjects(const CPoint& device) const;
    void EndTracking(bool cancel);
    void UpdateCursor(const CPoint& device);

    COleObjectElement* m_pElement = nullptr;
    CRectTracker m_tracker;
};
