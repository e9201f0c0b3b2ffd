#include "ui/CSettingsPage.h"

#include "res/StringTable.h"

#include <QLineEdit>
#include <QMessageBox>

CSettingsPage::CSettingsPage(int dialogId, const QString& caption, QWidget* parent)
    : QWidget(parent), m_nDialogId(dialogId), m_caption(caption)
{
    setObjectName(QString::number(dialogId));
}

void CSettingsPage::EnsureCreated()
{
    if (m_bCreated) return;
    m_bCreated = true;
    OnInitDialog();
}

void CSettingsPage::Reload()
{
    if (m_bCreated) OnInitDialog();
    SetModified(false);
}

void CSettingsPage::SetModified(bool modified)
{
    if (m_bModified == modified) return;
    m_bModified = modified;
    Q_EMIT ModifiedChanged();
}

bool CSettingsPage::Refuse(QWidget* field, const QString& message)
{
    m_refusedField = field;
    Q_EMIT Refusing();
    QMessageBox::warning(window(), LoadResString(Ids::IDS_APP_TITLE), message);
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
    }
    return false;
}
