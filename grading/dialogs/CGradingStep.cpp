#include "grading/dialogs/CGradingStep.h"

#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "res/StringTable.h"

CGradingStep::CGradingStep(CVEKView* view) : m_view(view), m_pageSet(view->GetPageSet())
{
    m_view->ResetCurrentTool();
    m_view->GetDocument()->BeginUndoStep();
}

CGradingStep::~CGradingStep()
{
    if (!m_committed) m_view->GetDocument()->DropUndoStep();
    m_view->SyncPageTabs();
    m_view->Invalidate(FALSE);
}

void CGradingStep::Commit()
{
    if (m_committed) return;
    m_committed = true;
    if (!m_view->GetDocument()->CommitUndoStep()) m_view->GetDocument()->SetModifiedFlag(true);
}

CResultStyle CGradingStep::StyleFromSettings()
{
    const CSystemSettings& s = Settings();
    CResultStyle style;
    style.workUnit = s.m_nWorkUnit;
    style.font = s.m_lfDefaultFont;
    style.fontColor = s.m_crFontColor;
    style.paperColor = s.m_crPaperColor;
    style.lineColor = s.m_crTableLineColor;
    style.borderWidth = s.m_nTableBorderWidth;
    style.innerWidth = s.m_nTableInnerWidth;
    style.cellPadding = s.m_rcCellPadding;
    style.alignment = s.m_nTextAlignment;
    return style;
}

void CGradingStep::ShowTextControls(const CVEKView* view, int fontSizeIndex)
{
    CFrameServices* frame = view ? view->GetFrame() : nullptr;
    if (!frame) return;
    frame->ShowLineControls(0, 0, 0, 0, 0);
    frame->ShowTextControls(1);
    frame->SelectFontSizeQuietly(fontSizeIndex);
}

void CGradingStep::Message(QWidget* parent, const QString& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, LoadResString(Ids::IDS_APP_TITLE), text, QMessageBox::Ok, parent);
    box.exec();
}

void CGradingStep::Message(QWidget* parent, int stringId, QMessageBox::Icon icon)
{
    Message(parent, LoadResString(stringId), icon);
}
