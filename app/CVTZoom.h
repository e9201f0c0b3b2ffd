// The zoom tool. Two separate left clicks span a rectangle that is then
// shown as large as the window allows; a left click with Shift or Ctrl
// zooms out about the point; a right click fits the whole page, with Shift
// or Ctrl the page width at the clicked row.
#pragma once

#include "app/CVectorTool.h"
#include "app/CZoomBox.h"

class CVTZoom : public CVectorTool {
public:
    static constexpr int kZoomInCursor = CZoomBox::kCursorZoomIn;
    static constexpr int kZoomOutCursor = CZoomBox::kCursorZoomOut;
    static constexpr UINT kPrompt = CZoomBox::kPrompt;
    static constexpr double kZoomOutFactor = CZoomBox::kZoomOutFactor;

    explicit CVTZoom(CVEKView* view);
    ~CVTZoom() override;

    void Activate() override;
    void Deactivate() override;
    void Reset() override;
    BOOL OnShiftDown() override;
    BOOL OnShiftUp() override;
    BOOL OnCtrlDown() override;
    BOOL OnCtrlUp() override;
    BOOL OnLButtonDown(UINT flags, int x, int y) override;
    BOOL OnLButtonUp(UINT flags, int x, int y) override;
    BOOL OnRButtonDown(UINT flags, int x, int y) override;
    BOOL OnRButtonUp(UINT flags, int x, int y) override;
    BOOL OnMouseMove(UINT flags, int x, int y) override;
    void Cancel() override;
    BOOL UndoStep() override;
    BOOL HasPendingStep() override;
    void Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect) override;

private:
    void SetCursor(int cursorId) const;

    // Counts its corners in the tool's step.
    CZoomBox m_box{m_nStep};
};
