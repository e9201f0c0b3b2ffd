#include "ui/CSystemSetupSheet.h"

#include "ui/CAutoSaveIntervalPage.h"
#include "ui/CSetCaptureSensitivityPage.h"
#include "ui/CSetDefaultPageSize.h"
#include "ui/CSetFilesPathPage.h"
#include "ui/CSetTableParamPage.h"
#include "ui/CSetWorkUnitPage.h"

#include "res/StringTable.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

CSystemSetupSheet::CSystemSetupSheet(int captionId, QWidget* parent, int firstPage) : QDialog(parent)
{
    setWindowTitle(LoadResString(captionId));
    m_tabs = new QTabWidget(this);
    // All six tabs in view, as on a property sheet.
    m_tabs->setUsesScrollButtons(false);
    m_pages = {new CSetWorkUnitPage, new CSetCaptureSensitivityPage, new CAutoSaveIntervalPage,
               new CSetFilesPathPage, new CSetTableParamPage,         new CSetDefaultPageSize};
    for (CSettingsPage* page : m_pages) {
        m_tabs->addTab(page, page->Caption());
        connect(page, &CSettingsPage::ModifiedChanged, this, &CSystemSetupSheet::UpdateApplyButton);
        connect(page, &CSettingsPage::Refusing, this, [this, page] { m_tabs->setCurrentWidget(page); });
    }

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
    m_apply = buttons->addButton(QStringLiteral("应用(&A)"), QDialogButtonBox::ApplyRole);
    m_apply->setEnabled(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSystemSetupSheet::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSystemSetupSheet::reject);
    connect(m_apply, &QPushButton::clicked, this, &CSystemSetupSheet::OnApply);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addWidget(buttons);

    // A page is filled the first time it is shown.
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (CSettingsPage* page = GetPage(index)) page->EnsureCreated();
    });
    SetActivePage(firstPage);
    if (CSettingsPage* page = GetPage(GetActiveIndex())) page->EnsureCreated();
}

int CSystemSetupSheet::DoModal()
{
    return exec();
}

CSettingsPage* CSystemSetupSheet::GetPage(int index) const
{
    return index >= 0 && index < int(m_pages.size()) ? m_pages[std::size_t(index)] : nullptr;
}

int CSystemSetupSheet::GetActiveIndex() const
{
    return m_tabs->currentIndex();
}

void CSystemSetupSheet::SetActivePage(int index)
{
    if (GetPage(index)) m_tabs->setCurrentIndex(index);
}

void CSystemSetupSheet::UpdateApplyButton()
{
    bool any = false;
    for (const CSettingsPage* page : m_pages) any = any || page->IsModified();
    m_apply->setEnabled(any);
}

bool CSystemSetupSheet::OnApply()
{
    for (int i = 0; i < int(m_pages.size()); ++i) {
        CSettingsPage* page = m_pages[std::size_t(i)];
        if (!page->IsCreated()) continue;
        if (page->OnValidate()) continue;
        SetActivePage(i);
        if (QWidget* field = page->RefusedField()) field->setFocus(Qt::OtherFocusReason);
        return false;
    }
    for (CSettingsPage* page : m_pages)
        if (page->IsCreated()) page->OnOK();
    Q_EMIT SettingsApplied();
    for (CSettingsPage* page : m_pages) page->Reload();
    return true;
}

void CSystemSetupSheet::accept()
{
    if (OnApply()) QDialog::accept();
}
