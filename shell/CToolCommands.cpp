#include "shell/CToolCommands.h"

#include "app/CVEKView.h"
#include "editors/CVTSelect.h"
#include "grading/dialogs/CGradingCommands.h"
#include "library/tool/CVTProcessDrawing.h"
#include "settings/CSystemSettings.h"
#include "tables/tool/CVTTable.h"

#include "model/CPageSet.h"
#include "platform/CDC.h"
#include "platform/CodePage.h"
#include "res/CommandIds.h"
#include "res/StringTable.h"

#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace {

constexpr int IDS_LIBRARY_FILTER = 36016;
constexpr int IDS_SAVE_LIBRARY_TITLE = 36017;

// The bitmap copy is twice the screen size of the selection; beyond this
// many pixels a side it is drawn smaller instead of failing.
constexpr double kMaxBitmapSide = 8192.0;

// "Name(*.a)|*.a|All(*.*)|*.*|" as a Qt file dialog takes it.
QString QtFilter(const QString& pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'), Qt::SkipEmptyParts);
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters.join(QStringLiteral(";;"));
}

} // namespace

bool CToolCommands::Handles(UINT id) const
{
    switch (id) {
    case ID_COPY_TABLE:
    case ID_CUT_TABLE:
    case ID_COPY_BITMAP:
    case ID_SAVE_TO_LIBRARY:
    case ID_SAVE_AS_LINE_TYPE: return true;
    default: return CGradingCommands::IsGradingCommand(id);
    }
}

bool CToolCommands::IsEnabled(UINT id) const
{
    const UINT tool = m_view.GetCurrentToolCmd();
    switch (id) {
    // Only the select and table tools edit tables.
    case ID_COPY_TABLE:
    case ID_CUT_TABLE: return tool == ID_TOOL_SELECT || tool == ID_TOOL_TABLE;
    case ID_COPY_BITMAP: return CurrentLibraryTool() && CurrentLibraryTool()->CanCopyBitmap();
    case ID_SAVE_TO_LIBRARY:
    case ID_SAVE_AS_LINE_TYPE: return CurrentLibraryTool() && CurrentLibraryTool()->HasSelection();
    default: return CGradingCommands::IsEnabled(m_view, id);
    }
}

void CToolCommands::Run(UINT id)
{
    switch (id) {
    case ID_COPY_TABLE: OnCopyTable(); return;
    case ID_CUT_TABLE: OnCutTable(); return;
    case ID_COPY_BITMAP: OnCopyBitmap(); return;
    case ID_SAVE_TO_LIBRARY: OnSaveToLibrary(); return;
    case ID_SAVE_AS_LINE_TYPE: OnSaveAsLineType(); return;
    default: CGradingCommands::Run(m_view, id); return;
    }
}

// --- Tables -------------------------------------------------------------------------------

void CToolCommands::OnCopyTable()
{
    CDesignTool* tool = m_view.GetCurrentTool();
    if (m_view.GetCurrentToolCmd() == ID_TOOL_SELECT) {
        if (auto* select = dynamic_cast<CVTSelect*>(tool)) select->OnCopyTable();
    } else if (m_view.GetCurrentToolCmd() == ID_TOOL_TABLE) {
        if (auto* table = dynamic_cast<CVTTable*>(tool)) table->OnCopyTable();
    }
}

void CToolCommands::OnCutTable()
{
    CDesignTool* tool = m_view.GetCurrentTool();
    if (m_view.GetCurrentToolCmd() == ID_TOOL_SELECT) {
        if (auto* select = dynamic_cast<CVTSelect*>(tool)) select->OnCutTable();
    } else if (m_view.GetCurrentToolCmd() == ID_TOOL_TABLE) {
        if (auto* table = dynamic_cast<CVTTable*>(tool)) table->OnCutTable();
    }
}

// --- Drawing library ---------------------------------------------------------------------

CVTProcessDrawing* CToolCommands::CurrentLibraryTool() const
{
    if (m_view.GetCurrentToolCmd() != ID_TOOL_PROCESS_DRAWING) return nullptr;
    return dynamic_cast<CVTProcessDrawing*>(m_view.GetCurrentTool());
}

// The selection as a picture for other programs: white, at twice the size
// it has on the screen.
void CToolCommands::OnCopyBitmap()
{
    CVTProcessDrawing* library = CurrentLibraryTool();
    CPageSet* ps = m_view.GetPageSet();
    if (!library || !library->CanCopyBitmap() || !ps || ps->GetPageCount() == 0) return;
    CRect r = library->GetSelectionRect();
    r.NormalizeRect();
    double scale = m_view.GetScale() / 2;
    const double largest = std::max(r.Width(), r.Height()) / scale;
    if (largest > kMaxBitmapSide) scale *= largest / kMaxBitmapSide;
    const int w = int(r.Width() / scale) + 5;
    const int h = int(r.Height() / scale) + 5;
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        dc.SetBkMode(TRANSPARENT);
        ps->DrawCurrentPage(&dc, scale, r.left, r.top, CRect(0, 0, w, h));
    }
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setImage(image);
}

void CToolCommands::OnSaveToLibrary()
{
    CVTProcessDrawing* library = CurrentLibraryTool();
    if (!library || !library->HasSelection()) return;
    CSystemSettings& s = Settings();
    QFileDialog dialog(&m_view, LoadResString(IDS_SAVE_LIBRARY_TITLE));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilter(QtFilter(LoadResString(IDS_LIBRARY_FILTER)));
    dialog.setDefaultSuffix(QStringLiteral("vkl"));
    const QFileInfo initial(GbkToQString(s.m_strLibraryFolder));
    if (initial.dir().exists()) dialog.setDirectory(initial.dir());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString path = dialog.selectedFiles().constFirst();
    s.m_strLibraryFolder = QStringToGbk(path);
    library->WriteLibraryFile(path);
}

void CToolCommands::OnSaveAsLineType()
{
    if (CVTProcessDrawing* library = CurrentLibraryTool(); library && library->HasSelection())
        library->SaveAsLineType();
}
