// One page of the settings sheet. A page fills its controls from the
// settings the first time it is shown, tells the sheet when its controls
// differ from the settings (the sheet then offers Apply), checks what the
// user typed before anything is stored, and writes its values back when
// the sheet applies. A page that was never shown writes nothing.
#pragma once

#include <QString>
#include <QWidget>

class CSettingsPage : public QWidget {
    Q_OBJECT
public:
    CSettingsPage(int dialogId, const QString& caption, QWidget* parent = nullptr);

    int DialogId() const { return m_nDialogId; }
    QString Caption() const { return m_caption; }

    // Fills the controls the first time; later calls do nothing.
    void EnsureCreated();
    bool IsCreated() const { return m_bCreated; }
    // Fills a shown page again from the settings (after they were applied,
    // possibly in another work unit) and marks it unmodified.
    void Reload();

    bool IsModified() const { return m_bModified; }
    void SetModified(bool modified = true);

    // Checks the values the page would store. A refused value is shown to
    // the user with `message`, its field takes the focus, and the page
    // answers false; nothing is stored then by any page.
    virtual bool OnValidate() { return true; }
    // Controls to settings; only called after every page validated.
    virtual void OnOK() = 0;

    // The control of a dialog item id (kept as the object name).
    template <class T>
    T* Control(int id) const
    {
        return findChild<T*>(QString::number(id));
    }


    // The field of the last refusal.
    QWidget* RefusedField() const { return m_refusedField; }

Q_SIGNALS:
    void ModifiedChanged();
    // A value is about to be refused: whoever shows the page brings it to
    // the front, so that the message and the field are seen together.
    void Refusing();

protected:
    virtual void OnInitDialog() = 0;
    // Shows the message, puts the focus on the field and answers false.
    bool Refuse(QWidget* field, const QString& message);
    // A control named after its dialog item id.
    template <class T>
    static T* Named(T* widget, int id)
    {
        widget->setObjectName(QString::number(id));
        return widget;
    }

private:
    int m_nDialogId;
    QString m_caption;
    bool m_bCreated = false;
    bool m_bModified = false;
    QWidget* m_refusedField = nullptr;
};
