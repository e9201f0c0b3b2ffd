// Enter in some fields of a dialog does what it does there (a list chooses
// its current item, a name field adds its name) and goes no further: the
// dialog's default button acts only on Enter in the other fields. Without
// it an item chosen by Enter would also close the dialog, and a keyboard
// user could never choose a second one.
#pragma once

#include <QObject>
#include <QPointer>

#include <initializer_list>
#include <vector>

class QDialog;
class QWidget;

class CLocalEnterKeys : public QObject {
    Q_OBJECT
public:
    // Watches the Enter keys that reach the dialog; the dialog owns it.
    CLocalEnterKeys(QDialog* dialog, std::initializer_list<QWidget*> fields);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QDialog* m_dialog;
    std::vector<QPointer<QWidget>> m_fields;
};
