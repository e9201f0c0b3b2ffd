// The text tool: a click on empty paper asks for a wording (the edit-text
// dialog) and places it as a new text at the click, upright, in the tool
// bar's font and font colour; a click on a text engages it. Either way the
// text goes to the tool's text editor, which moves, turns, resizes and
// edits it until a click falls away from it. Holding Space zooms.
//
// A wording with nothing to show makes no text.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include <memory>
#include <string>

class CTextElement;
class CVTModifyText;

class CVTText : public CVectorTool {
public:
    explicit CVTText(CVEKView* view);
    ~CVTText() override;

    static constexpr int kCursor = 199;
    static constexpr int kCursorOverText = 216;
    static constexpr int kPromptCreate = 38044;

    // A new text of `wording` at (x, y) in the tool bar's font (upright)
    // and font colour, handed to the editor; null, and nothing changed,
    // for a blank wording.
    CTextElement* CreateText(const std::string& wording, int x, int y);

    CVTModifyText* GetEditor() const { return m_pEditor.get(); }
    int IsEditing() const { return m_bEditing; }
    CTextElement* GetHoverText() const { return m_pHoverText; }
    int IsZoomMode() const { return m_zoom.IsHeld(); }

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
    BOOL OnSpaceDown() override;
    BOOL OnSpaceUp() override;
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
    void OnFont() override;

private:
    BOOL HoverText(UINT flags, int x, int y);
    void ShowFontControls(int show) const;

    std::unique_ptr<CVTModifyText> m_pEditor;
    int m_bEditing = 0;
    CTextElement* m_pHoverText = nullptr;
    CSpaceZoom m_zoom{*this, m_nStep};
};
