#include "tables/tool/TableDialogSupport.h"

#include "settings/CSystemSettings.h"

#include "geometry/WorkUnits.h"
#include "res/StringTable.h"

#include <QLineEdit>
#include <QMessageBox>

namespace tabledlg {

namespace {
constexpr int IDS_NOT_A_NUMBER = 36130;
constexpr int IDS_TOO_LARGE = 36131;
} // namespace

QString LengthText(int value)
{
    const CSystemSettings& s = Settings();
    return QString::fromStdString(FormatLength(value, kUnitsPerMM, s.m_nWorkUnit, s.m_nPrecision));
}

QString UnitText()
{
    return QString::fromStdString(UnitSuffix(Settings().m_nWorkUnit));
}

LengthTextStatus ReadLength(const QLineEdit* field, int& value)
{
    return ReadLengthText(field->text().toStdString(), kUnitsPerMM, Settings().m_nWorkUnit, value);
}

QString LengthMessage(LengthTextStatus status)
{
    switch (status) {
    case LengthTextStatus::NotANumber: return LoadResString(IDS_NOT_A_NUMBER);
    case LengthTextStatus::TooLarge:
        return LoadResString(IDS_TOO_LARGE).arg(LengthText(MaxTypedLength(kUnitsPerMM)) + UnitText());
    default: return {};
    }
}

bool Refuse(QWidget* dialog, QLineEdit* field, const QString& message)
{
    QMessageBox::critical(dialog, LoadResString(Ids::IDS_APP_TITLE), message);
    if (field) {
        field->setFocus(Qt::OtherFocusReason);
        field->selectAll();
    }
    return false;
}

bool Refuse(QWidget* dialog, QLineEdit* field, int messageId)
{
    return Refuse(dialog, field, LoadResString(messageId));
}

} // namespace tabledlg
