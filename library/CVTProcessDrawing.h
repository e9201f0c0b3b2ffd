// The drawing-library tool: selects drawing to save as a library entry or
// a line type, and places library entries on the page.
#pragma once

#include "app/CVectorTool.h"

#include <QString>

class CVTProcessDrawing : public CVectorTool {
public:
    explicit CVTProcessDrawing(CVEKView* view);
    ~CVTProcessDrawing() override;

    BOOL HasSelection() const { return FALSE; }
    BOOL CanCopyBitmap() const { return HasSelection(); }
    // The union of the selected elements' bounds in page units.
    CRect GetSelectionRect() const { return CRect(); }
    // Writes the selection as a library file; false when nothing was
    // written.
    bool WriteLibraryFile(const QString& path);
    void SaveAsLineType();
};
