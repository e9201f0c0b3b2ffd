// The view's commands that need the tools, the drawing library and the
// grading dialogs: copying and cutting tables (the select and table tools),
// copying the library tool's selection as a picture and saving it to a
// library file or as a line type, and the grading menu (CGradingCommands).
// The view keeps their actions and hands them here.
#pragma once

#include "app/CViewCommandHandler.h"

class CVEKView;
class CVTProcessDrawing;

class CToolCommands : public CViewCommandHandler {
public:
    explicit CToolCommands(CVEKView& view) : m_view(view) {}

    bool Handles(UINT id) const override;
    bool IsEnabled(UINT id) const override;
    void Run(UINT id) override;

    void OnCopyTable();
    void OnCutTable();
    void OnCopyBitmap();
    void OnSaveToLibrary();
    void OnSaveAsLineType();

private:
    CVTProcessDrawing* CurrentLibraryTool() const;

    CVEKView& m_view;
};
