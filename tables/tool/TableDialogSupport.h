// What the table dialogs share: lengths shown and read in the work unit
// at 100 units per millimetre, and the refusal of a field (a message box
// with the program title and the stop icon, then the field focused with
// its whole text selected, the dialog kept open).
#pragma once

#include "geometry/LengthText.h"

#include <QString>

class QLineEdit;
class QWidget;

namespace tabledlg {

constexpr int kUnitsPerMM = 100;

// A length in page units as the work unit and precision show it.
QString LengthText(int value);
// The unit suffix of the work unit.
QString UnitText();
// The field's text read as a length in the work unit.
LengthTextStatus ReadLength(const QLineEdit* field, int& value);
// The message for a text that is no length or too long a one; empty for
// Ok.
QString LengthMessage(LengthTextStatus status);
// Shows the message and puts the focus on the field; always false.
bool Refuse(QWidget* dialog, QLineEdit* field, const QString& message);
bool Refuse(QWidget* dialog, QLineEdit* field, int messageId);

} // namespace tabledlg
