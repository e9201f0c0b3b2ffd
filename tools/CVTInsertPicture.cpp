#include "tools/CVTInsertPicture.h"

#include "app/CVEKView.h"
#include "editors/CVTModifyPicture.h"

#include "geometry/Distance.h"
#include "model/CImageElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CPictureFile.h"
#include "res/StringTable.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace {

CVTInsertPicture::FileChooser& Chooser()
{
    static CVTInsertPicture::FileChooser chooser;
    return chooser;
}

} // namespace

CVTInsertPicture::CVTInsertPicture(CVEKView* view)
    : CVectorTool(view), m_pEditor(std::make_unique<CVTModifyPicture>(view, this))
{
    CVTInsertPicture::Reset();
}

CVTInsertPicture::~CVTInsertPicture() = default;

// --- The picture file ----------------------------------------------------------------

void CVTInsertPicture::SetFileChooser(FileChooser chooser)
{
    Chooser() = std::move(chooser);
}

// "Name(*.a;*.b)|*.a;*.b|..." as Qt's dialog reads a filter: the patterns
// apart by spaces, in both cases since file names on Linux keep theirs.
QString CVTInsertPicture::DialogFilter()
{
    const QStringList parts = LoadResString(IDS_PICTURE_FILTER).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        const int open = name.indexOf(QLatin1Char('('));
        if (open >= 0) name.truncate(open);
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            if (pattern == QStringLiteral("*.*")) {
                patterns << QStringLiteral("*");
                continue;
            }
            patterns << pattern.toLower();
            if (pattern.toUpper() != pattern.toLower()) patterns << pattern.toUpper();
        }
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString CVTInsertPicture::ChoosePictureFile(QWidget* parent)
{
    if (Chooser()) return Chooser()(parent);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), DialogFilter());
}

int CVTInsertPicture::PlacedHeight(int pixelWidth, int pixelHeight, int width)
{
    if (pixelWidth <= 0 || pixelHeight <= 0) return width;
    return RoundToInt(double(pixelHeight) / double(pixelWidth) * width);
}

// The picture is read before anything changes, so a refused file costs no
// undo step and places nothing.
CImageElement* CVTInsertPicture::InsertPicture(const QString& path, int x, int y)
{
    CPageSet* pageSet = GetPageSet();
    CPage* page = pageSet ? pageSet->GetCurrentPage() : nullptr;
    if (!page) return nullptr;
    CPixelBlock pixels;
    if (!CPictureFile::Read(path, pixels)) {
        QMessageBox::critical(m_pView, LoadResString(Ids::IDS_APP_TITLE),
                              LoadResString(CPictureFile::RefusalMessageId));
        return nullptr;
    }
    const CSize size = pixels.GetSize();
    const int height = PlacedHeight(size.cx, size.cy);
    SaveUndoState();
    auto* picture = new CImageElement(page, page->GetMaxLevel());
    picture->SetBitmapCopy(&pixels);
    picture->SetUpperLeft(x, y);
    picture->SetUpperRight(x + kPictureWidth, y);
    picture->SetLowerRight(x + kPictureWidth, RoundToInt(double(y) + height));
    picture->SetLowerLeft(x, RoundToInt(double(y) + height));
    pageSet->AddElementToPage(picture);
    m_bEditing = 1;
    m_pEditor->SetElement(picture);
    InvalidateView();
    return picture;
}

// --- Lifecycle --------------------------------------------------------------------------

void CVTInsertPicture::Activate()
{
    CVectorTool::Activate();
    Reset();
    ShowPrompt(kPromptPlace);
}

void CVTInsertPicture::Deactivate()
{
    m_pEditor->Deactivate();
    Reset();
    InvalidateView();
}

void CVTInsertPicture::Reset()
{
    CVectorTool::Reset();
    m_bEditing = 0;
    m_zoomBox.Release();
    // The editor lets go of its picture, which may be gone (undo, delete).
    if (m_pEditor) m_pEditor->SetElement(nullptr);
    if (m_pView) m_pView->SetToolCursor(kCursor);
}

// --- Mouse ----------------------------------------------------------------------------------

BOOL CVTInsertPicture::OnLButtonDown(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        // Space is still held: the zoom mode goes on after any click, and a
        // picture being edited stays with the editor.
        m_zoomBox.OnLButtonDown(m_pView, flags, x, y);
        InvalidateView();
        return FALSE;
    }
    if (m_bEditing) {
        if (m_pEditor->OnLButtonDown(flags, x, y)) return TRUE;
        CGraphElement* other = nullptr;
        if (HitTestImage(x, y, other)) {
            m_pEditor->SetElement(static_cast<CImageElement*>(other));
            InvalidateView();
            return TRUE;
        }
        Reset();
    }
    const QString path = ChoosePictureFile(m_pView);
    BOOL placed = FALSE;
    if (!path.isEmpty()) placed = InsertPicture(path, x, y) ? TRUE : FALSE;
    InvalidateView();
    return placed;
}

BOOL CVTInsertPicture::OnLButtonUp(UINT flags, int x, int y)
{
    return !m_zoomBox.IsHeld() && m_bEditing ? m_pEditor->OnLButtonUp(flags, x, y) : FALSE;
}

BOOL CVTInsertPicture::OnLButtonDblClk(UINT flags, int x, int y)
{
    return m_bEditing ? m_pEditor->OnLButtonDblClk(flags, x, y) : FALSE;
}

BOOL CVTInsertPicture::OnRButtonDown(UINT flags, int, int y)
{
    if (m_zoomBox.IsHeld()) CZoomBox::OnRButtonDown(m_pView, flags, y);
    InvalidateView();
    return TRUE;
}

BOOL CVTInsertPicture::OnRButtonDblClk(UINT, int, int) { return FALSE; }
BOOL CVTInsertPicture::OnRButtonUp(UINT, int, int) { return FALSE; }

BOOL CVTInsertPicture::OnMouseMove(UINT flags, int x, int y)
{
    if (m_zoomBox.IsHeld()) {
        if (m_zoomBox.OnMouseMove(x, y)) InvalidateFeedback();
        if (m_pView) m_pView->SetToolCursor(CZoomBox::CursorFor(flags));
        ShowPrompt(CZoomBox::kPrompt);
        return FALSE;
    }
    if (m_bEditing && m_pEditor->OnMouseMove(flags, x, y)) {
        // Over the edited picture the editor shows its own cursor and prompt.
        InvalidateFeedback();
        return TRUE;
    }
    int cursor = kCursor;
    int prompt = kPromptPlace;
    CGraphElement* picture = nullptr;
    if (m_bEditing && HitTestImage(x, y, picture)) {
        cursor = kCursorOverPicture;
        prompt = kPromptOverPicture;
    }
    if (m_pView) m_pView->SetToolCursor(cursor);
    ShowPrompt(UINT(prompt));
    InvalidateFeedback();
    return FALSE;
}

// --- Keys ---------------------------------------------------------------------------------

BOOL CVTInsertPicture::OnSpaceDown()
{
    m_zoomBox.Hold();
    if (m_pView) m_pView->SetToolCursor(CZoomBox::kCursorZoomIn);
    ShowPrompt(CZoomBox::kPrompt);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTInsertPicture::OnSpaceUp()
{
    m_zoomBox.Release();
    if (m_pView) m_pView->SetToolCursor(kCursor);
    ShowPrompt(kPromptPlace);
    InvalidateFeedback();
    return TRUE;
}

BOOL CVTInsertPicture::OnReturnDown() { return m_bEditing ? m_pEditor->OnReturnDown() : FALSE; }
BOOL CVTInsertPicture::OnReturnUp() { return m_bEditing ? m_pEditor->OnReturnUp() : FALSE; }
BOOL CVTInsertPicture::OnShiftDown() { return m_bEditing ? m_pEditor->OnShiftDown() : FALSE; }
BOOL CVTInsertPicture::OnShiftUp() { return m_bEditing ? m_pEditor->OnShiftUp() : FALSE; }
BOOL CVTInsertPicture::OnCtrlDown() { return m_bEditing ? m_pEditor->OnCtrlDown() : FALSE; }
BOOL CVTInsertPicture::OnCtrlUp() { return m_bEditing ? m_pEditor->OnCtrlUp() : FALSE; }
BOOL CVTInsertPicture::OnDeleteDown() { return m_bEditing ? m_pEditor->OnDeleteDown() : FALSE; }
BOOL CVTInsertPicture::OnDeleteUp() { return m_bEditing ? m_pEditor->OnDeleteUp() : FALSE; }
BOOL CVTInsertPicture::OnEndDown() { return FALSE; }
BOOL CVTInsertPicture::OnEndUp() { return FALSE; }

// --- Pending step, drawing, clipboard ------------------------------------------------------

void CVTInsertPicture::Cancel()
{
    if (m_bEditing) {
        m_pEditor->Cancel();
        return;
    }
    Reset();
    InvalidateView();
}

BOOL CVTInsertPicture::UndoStep()
{
    return m_bEditing ? m_pEditor->UndoStep() : FALSE;
}

BOOL CVTInsertPicture::HasPendingStep()
{
    return m_bEditing ? m_pEditor->HasPendingStep() : FALSE;
}

void CVTInsertPicture::Draw(CDC* dc, double scale, int originX, int originY, const CRect& rect)
{
    if (m_zoomBox.IsHeld()) {
        m_zoomBox.Draw(dc, scale, originX, originY);
        return;
    }
    if (m_bEditing) m_pEditor->Draw(dc, scale, originX, originY, rect);
}

void CVTInsertPicture::OnEditCopy()
{
    if (m_bEditing) m_pEditor->OnEditCopy();
}

void CVTInsertPicture::OnEditCut()
{
    if (m_bEditing) m_pEditor->OnEditCut();
}

BOOL CVTInsertPicture::CanCopy()
{
    return m_bEditing ? m_pEditor->CanCopy() : FALSE;
}
