#include "ui/CAutoSaveIntervalPage.h"

#include "ui/CAutoSaveFileNameDialog.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "platform/CodePage.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


CAutoSaveIntervalPage::CAutoSaveIntervalPage(QWidget* parent)
    : CSettingsPage(IDD, QStringLiteral("自动备份间隙"), parent)
{
    auto* frame = new QGroupBox(this);
    auto* grid = new QGridLayout(frame);
    m_intervalMode = Named(new QRadioButton(QStringLiteral("备份间隙"), frame), IDC_INTERVAL_MODE);
    m_everyStepMode = Named(new QRadioButton(QStringLiteral("备份每一步"), frame), IDC_EVERY_STEP);
    m_minutes = Named(new QLineEdit(frame), IDC_MINUTES);
    m_minutes->setMaxLength(9);
    m_file = Named(new QLineEdit(frame), IDC_FILE);
    m_browse = Named(new QPushButton(QStringLiteral("浏览(&B)"), frame), IDC_BROWSE);
    grid->addWidget(m_intervalMode, 0, 0);
    grid->addWidget(m_minutes, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("分"), frame), 0, 2);
    grid->addWidget(m_everyStepMode, 1, 0);
    grid->addWidget(new QLabel(QStringLiteral("备份名"), frame), 2, 0);
    grid->addWidget(m_file, 2, 1, 1, 2);
    grid->addWidget(m_browse, 2, 3);
    grid->setColumnStretch(1, 1);

    m_autoBackup = Named(new QCheckBox(QStringLiteral("使用自动备份"), this), IDC_AUTO_BACKUP);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_autoBackup);
    layout->addStretch();

    // The user's edits only: the page's own writes go through setText and
    // setChecked, which do not emit these.
    connect(m_minutes, &QLineEdit::textEdited, this, [this] { SetModified(IsChanged()); });
    connect(m_file, &QLineEdit::textEdited, this, [this] { SetModified(true); });
    connect(m_autoBackup, &QCheckBox::clicked, this, [this] {
        EnableControls();
        SetModified(IsChanged());
    });
    for (QRadioButton* r : {m_intervalMode, m_everyStepMode}) {
        connect(r, &QRadioButton::clicked, this, [this] {
            m_bEveryStep = m_everyStepMode->isChecked();
            SetModified(true);
        });
    }
    connect(m_browse, &QPushButton::clicked, this, &CAutoSaveIntervalPage::OnBrowse);
}

int CAutoSaveIntervalPage::ParseMinutes(const QString& text)
{
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 4) return -1;
    for (QChar c : t)
        if (!c.isDigit() || c.unicode() > '9') return -1;
    const int v = t.toInt();
    return v >= kMinMinutes && v <= kMaxMinutes ? v : -1;
}

QString CAutoSaveIntervalPage::ResolvedFile(const QString& typed)
{
    const QString name = typed.trimmed().isEmpty() ? QString::fromLatin1(kDefaultName) : typed.trimmed();
    return CVEKDoc::ResolveBackupPath(name);
}

bool CAutoSaveIntervalPage::IsWritableFile(const QString& absolutePath)
{
    const QFileInfo file(absolutePath);
    if (file.exists()) return file.isFile() && file.isWritable();
    // Folders still to be made are fine when the nearest existing entry
    // above is a folder that takes new entries (not a file in the way).
    QString above = file.absolutePath();
    while (!QFileInfo::exists(above)) {
        const QString parent = QFileInfo(above).absolutePath();
        if (parent == above) return false;
        above = parent;
    }
    const QFileInfo folder(above);
    return folder.isDir() && folder.isWritable();
}

void CAutoSaveIntervalPage::OnInitDialog()
{
    const CSystemSettings& s = Settings();
    m_minutes->setText(QString::number(s.m_nBackupMinutes));
    m_autoBackup->setChecked(s.m_bAutoBackup != 0);
    m_file->setText(GbkToQString(s.m_strBackupFile));
    m_bEveryStep = s.m_bBackupEveryStep != 0;
    (m_bEveryStep ? m_everyStepMode : m_intervalMode)->setChecked(true);
    EnableControls();
}

void CAutoSaveIntervalPage::EnableControls()
{
    const bool on = m_autoBackup->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{m_everyStepMode, m_intervalMode, m_browse, m_minutes, m_file})
        w->setEnabled(on);
}

bool CAutoSaveIntervalPage::IsChanged() const
{
    const CSystemSettings& s = Settings();
    const bool on = m_autoBackup->isChecked();
    if (on != (s.m_bAutoBackup != 0)) return true;
    if (!on) return false;
    if (m_bEveryStep != (s.m_bBackupEveryStep != 0)) return true;
    if (m_file->text() != GbkToQString(s.m_strBackupFile)) return true;
    // Any other text than the stored number counts, so that it is checked.
    return !m_bEveryStep && m_minutes->text().trimmed() != QString::number(s.m_nBackupMinutes);
}

bool CAutoSaveIntervalPage::OnValidate()
{
    if (!IsChanged() || !m_autoBackup->isChecked()) return true;
    if (ParseMinutes(m_minutes->text()) < 0)
        return Refuse(m_minutes,
                      QStringLiteral("备份间隙必须是%1到%2之间的整数(分钟)。").arg(kMinMinutes).arg(kMaxMinutes));
    const QString path = ResolvedFile(m_file->text());
    if (!IsWritableFile(path))
        return Refuse(m_file, QStringLiteral("不能写入备份文件 %1,请选择一个可以写入的文件。").arg(QDir::toNativeSeparators(path)));
    return true;
}

void CAutoSaveIntervalPage::OnOK()
{
    if (!IsChanged()) return;
    CSystemSettings& s = Settings();
    s.m_bAutoBackup = m_autoBackup->isChecked() ? 1 : 0;
    // Switched off, the greyed fields are not taken.
    if (!s.m_bAutoBackup) return;
    const QString path = ResolvedFile(m_file->text());
    s.m_strBackupFile = QStringToGbk(path);
    s.m_nBackupMinutes = ParseMinutes(m_minutes->text());
    s.m_bBackupEveryStep = m_bEveryStep ? 1 : 0;
    // The page shows what is now stored.
    m_file->setText(path);
}

void CAutoSaveIntervalPage::OnBrowse()
{
    CAutoSaveFileNameDialog dlg(m_file->text(), this);
    if (dlg.DoModal() != CAutoSaveFileNameDialog::IDOK) return;
    const QString chosen = dlg.GetPathName();
    if (chosen == m_file->text()) return;
    m_file->setText(chosen);
    SetModified(true);
}
