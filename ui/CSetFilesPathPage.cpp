#include "ui/CSetFilesPathPage.h"

#include "ui/CFolderDialog.h"
#include "ui/CPasswordDlg.h"

#include "settings/CSystemSettings.h"

#include "platform/CodePage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CSetFilesPathPage::CSetFilesPathPage(QWidget* parent) : CSettingsPage(IDD, QStringLiteral("档案目录"), parent)
{
    m_archiveOnly = Named(new QCheckBox(QStringLiteral("将工艺单文件保存到指定目录"), this), IDC_ARCHIVE_ONLY);
    m_folder = Named(new QLineEdit(this), IDC_FOLDER);
    m_browse = Named(new QPushButton(QStringLiteral("..."), this), IDC_BROWSE);
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    auto* row = new QHBoxLayout;
    row->addWidget(m_folder);
    row->addWidget(m_browse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_archiveOnly);
    layout->addLayout(row);
    layout->addStretch();

    connect(m_archiveOnly, &QCheckBox::clicked, this, &CSetFilesPathPage::OnCheckClicked);
    connect(m_folder, &QLineEdit::textEdited, this, &CSetFilesPathPage::OnFolderEdited);
    connect(m_browse, &QPushButton::clicked, this, &CSetFilesPathPage::OnBrowse);
}

bool CSetFilesPathPage::IsWritableFolder(const QString& folder)
{
    if (folder.trimmed().isEmpty()) return false;
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

void CSetFilesPathPage::OnInitDialog()
{
    RestoreFromSettings();
}

void CSetFilesPathPage::RestoreFromSettings()
{
    const CSystemSettings& s = Settings();
    m_archiveOnly->setChecked(s.m_bArchiveOnly != 0);
    m_folder->setText(GbkToQString(s.m_strArchiveFolder));
    EnableControls();
}

void CSetFilesPathPage::EnableControls()
{
    m_folder->setEnabled(m_archiveOnly->isChecked());
    m_browse->setEnabled(m_archiveOnly->isChecked());
}

bool CSetFilesPathPage::Unlock()
{
    if (m_bUnlocked) return true;
    // One question per user action, also when the dialog's focus changes
    // raise more edits.
    if (m_bAsking) return false;
    m_bAsking = true;
    CPasswordDlg dlg(this);
    m_bUnlocked = dlg.DoModal() == CPasswordDlg::IDOK;
    m_bAsking = false;
    return m_bUnlocked;
}

bool CSetFilesPathPage::IsChanged() const
{
    const CSystemSettings& s = Settings();
    return m_archiveOnly->isChecked() != (s.m_bArchiveOnly != 0)
        || m_folder->text() != GbkToQString(s.m_strArchiveFolder);
}

void CSetFilesPathPage::OnCheckClicked()
{
    if (Unlock()) {
        SetModified(IsChanged());
    } else {
        RestoreFromSettings();
        SetModified(false);
    }
    EnableControls();
}

void CSetFilesPathPage::OnFolderEdited()
{
    if (Unlock())
        SetModified(IsChanged());
    else
        RestoreFromSettings();
}

void CSetFilesPathPage::OnBrowse()
{
    if (!Unlock()) return;
    CFolderDialog dlg(m_folder->text(), CFolderDialog::BIF_RETURNONLYFSDIRS, this);
    if (dlg.DoModal() != CFolderDialog::IDOK) return;
    m_folder->setText(dlg.GetFolderPath());
    SetModified(IsChanged());
}

bool CSetFilesPathPage::OnValidate()
{
    if (!IsChanged() || !m_archiveOnly->isChecked()) return true;
    if (IsWritableFolder(m_folder->text())) return true;
    return Refuse(m_folder, QStringLiteral("指定的目录不存在或者不能写入,请选择一个可以保存文件的目录。"));
}

void CSetFilesPathPage::OnOK()
{
    if (!IsChanged()) return;
    CSystemSettings& s = Settings();
    s.m_bArchiveOnly = m_archiveOnly->isChecked() ? 1 : 0;
    QString folder = m_folder->text();
    // The folder that was checked, whatever folder the program runs in later.
    if (s.m_bArchiveOnly && !folder.trimmed().isEmpty()) folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    s.m_strArchiveFolder = QStringToGbk(folder);
}
