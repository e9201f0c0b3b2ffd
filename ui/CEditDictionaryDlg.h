// The word-list editor "编辑词典" (dialog 239): the whole phrase list as one
// text, a phrase a line, saved in the typed order on OK (at most 200
// phrases; blank lines and repeats dropped). Cancel leaves the file alone.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;

class CEditDictionaryDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 239;
    static constexpr int IDC_WORDS = 1096;

    CEditDictionaryDlg(QWidget* parent, const QString& phraseFile);
    ~CEditDictionaryDlg() override;

    QPlainTextEdit* WordsEdit() const { return m_words; }

    void accept() override;

private:
    QString m_phraseFile;
    QPlainTextEdit* m_words = nullptr;
    QLabel* m_warning = nullptr;
};
