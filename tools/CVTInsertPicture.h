// The insert picture tool: a click on the page asks for a picture file and
// places the picture there, 60 mm wide and as high as its proportions ask,
// then hands it at once to the tool's picture editor, so it can be moved,
// sized and turned without changing tools. While a picture is edited, a
// click on another picture edits that one, and a click on empty page
// inserts the next picture. Holding Space zooms.
//
// A file that cannot be read as a picture is refused with a message, and
// nothing is placed.
#pragma once

#include "app/CVectorTool.h"
#include "app/CSpaceZoom.h"

#include <QString>

#include <functional>
#include <memory>

class CImageElement;
class CVTModifyPicture;
class QWidget;

class CVTInsertPicture : public CVectorTool {
public:
    explicit CVTInsertPicture(CVEKView* view);
    ~CVTInsertPicture() override;

    // Width of a new picture in page units.
    static constexpr int kPictureWidth = 6000;
    static constexpr int kCursor = 220;
    static constexpr int kCursorOverPicture = 152;
    static constexpr int kPromptPlace = 38059;
    static constexpr int kPromptOverPicture = 38058;
    static constexpr int IDS_PICTURE_FILTER = 36034;

    // Asks for the picture file; an empty name when the user cancels. The
    // default is the open-file dialog with the picture filter; tests and
    // other front ends put their own.
    using FileChooser = std::function<QString(QWidget* parent)>;
    static void SetFileChooser(FileChooser chooser);
    static QString ChoosePictureFile(QWidget* parent);
    // The filter of the open-file dialog from the string table's.
    static QString DialogFilter();

    // The height of a picture placed `width` wide, from its pixel size;
    // a picture without pixels is placed square.
    static int PlacedHeight(int pixelWidth, int pixelHeight, int width = kPictureWidth);

    // Places the picture of a file with its upper-left corner at (x, y) and
    // hands it to the editor; the refusal message and nothing placed when
    // the file is no readable picture. The placed picture, or null.
    CImageElement* InsertPicture(const QString& path, int x, int y);

    CVTModifyPicture* GetEditor() const { return m_pEditor.get(); }
    int IsEditing() const { return m_bEditing; }
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
    BOOL OnEndDown() override;
    BOOL OnEndUp() override;
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

private:
    std::unique_ptr<CVTModifyPicture> m_pEditor;
    int m_bEditing = 0;
    CSpaceZoom m_zoom{*this, m_nStep};
};
