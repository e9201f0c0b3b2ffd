#include "grading/dialogs/CGradingBasisDlg.h"

#include "grading/CGradingOutput.h"
#include "grading/CGradingPages.h"
#include "grading/dialogs/CGradingStep.h"
#include "grading/dialogs/CSaveGradingDlg.h"
#include "grading/CSmlFile.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "geometry/NumberText.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"
#include "settings/FileSaving.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QVBoxLayout>

#include <cmath>

CGradingBasisDlg::CGradingBasisDlg(CVEKView* view) : QDialog(view), m_view(view)
{
    setObjectName(QString::number(IDD));
    setWindowTitle(QStringLiteral("设置归号依据的信息"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidgetResizable(true);
    m_rows = new QWidget(m_scroll);
    new QGridLayout(m_rows);
    m_scroll->setWidget(m_rows);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGradingBasisDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGradingBasisDlg::reject);
    resize(360, 340);
}

void CGradingBasisDlg::SetBasisItems(const std::vector<std::string>& items)
{
    m_items = items;
    for (QLabel* l : m_prompts) delete l;
    for (QLineEdit* e : m_edits) delete e;
    m_prompts.clear();
    m_edits.clear();
    auto* grid = static_cast<QGridLayout*>(m_rows->layout());
    const int n = BasisCount();
    for (int i = 0; i < 2 * n; ++i) {
        const QString name = GbkToQString(m_items[std::size_t(i % n)]);
        const QString text = i < n ? LoadResString(IDS_ENTER_A) + name
                                   : LoadResString(IDS_ENTER) + name + LoadResString(IDS_INTERVAL);
        auto* prompt = new QLabel(text, m_rows);
        prompt->setAlignment(Qt::AlignCenter);
        auto* edit = new QLineEdit(m_rows);
        edit->setObjectName(QStringLiteral("edit%1").arg(i));
        grid->addWidget(prompt, i, 0);
        grid->addWidget(edit, i, 1);
        m_prompts.push_back(prompt);
        m_edits.push_back(edit);
    }
    if (!m_edits.empty()) m_edits.front()->setFocus();
}

QLineEdit* CGradingBasisDlg::Edit(int i) const
{
    return i >= 0 && i < int(m_edits.size()) ? m_edits[std::size_t(i)] : nullptr;
}

QLabel* CGradingBasisDlg::Prompt(int i) const
{
    return i >= 0 && i < int(m_prompts.size()) ? m_prompts[std::size_t(i)] : nullptr;
}

// Base values and intervals alike must be numbers above 0: an interval of
// 0 or none grades nothing.
bool CGradingBasisDlg::ReadBasis(std::vector<CGradingBasis>& basis)
{
    std::vector<double> values;
    for (QLineEdit* edit : m_edits) {
        const double value = LeadingNumber(edit->text().toStdString());
        if (!(value > 0) || !std::isfinite(value)) {
            CGradingStep::Message(this, IDS_ENTER_POSITIVE, QMessageBox::Critical);
            edit->setFocus();
            edit->selectAll();
            m_scroll->ensureWidgetVisible(edit);
            return false;
        }
        values.push_back(value);
    }
    const int n = BasisCount();
    basis.clear();
    for (int j = 0; j < n; ++j)
        basis.push_back({m_items[std::size_t(j)], values[std::size_t(j)], values[std::size_t(n + j)]});
    return true;
}

QString CGradingBasisDlg::AskResultFile()
{
    CSaveGradingDlg question(this);
    if (question.exec() != QDialog::Accepted) return QString();
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QStringLiteral("sml"));
    dialog.setNameFilters({QStringLiteral("文件(*.sml)"), QStringLiteral("所有文件(*.*)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().front();
}

void CGradingBasisDlg::accept()
{
    std::vector<CGradingBasis> basis;
    if (!ReadBasis(basis)) return;
    RunGrading(basis);
    QDialog::accept();
}

void CGradingBasisDlg::RunGrading(const std::vector<CGradingBasis>& basis)
{
    CPageSet& ps = *m_view->GetPageSet();
    const std::vector<int> pages =
        CGradingPages::PagesHolding(ps, CGradingPages::BodyTitle(), ps.GetCurrentPageIndex());
    CGradingRun run;
    if (run.Run(CGradingPages::ReadTable(ps, pages), basis) != CGradingRun::Error::None) {
        CGradingStep::Message(this, IDS_NO_PERSONS, QMessageBox::Warning);
        return;
    }
    const QString path = AskResultFile();
    if (!path.isEmpty()) {
        // Saved as every file is; the message names the result file.
        const std::string bytes = CSmlFile::Bytes(run.ResultFileTable());
        FileWriteFailure failure;
        if (!WriteFileAtomically(path, bytes.data(), bytes.size(), &failure)) {
            CGradingStep::Message(
                this, LoadResString(IDS_RESULT_NOT_SAVED).arg(QFileInfo(path).fileName(), FileWriteFailureReason(failure)),
                QMessageBox::Warning);
            return;
        }
    }
    {
        CGradingStep step(m_view);
        if (CGradingOutput::Write(step.PageSet(), CGradingStep::StyleFromSettings(), run, pages).graded.empty()) {
            CGradingStep::Message(this, IDS_PAGE_TOO_SMALL, QMessageBox::Warning);
            return;
        }
        step.Commit();
    }
    CGradingStep::ShowTextControls(m_view, 5);
}
