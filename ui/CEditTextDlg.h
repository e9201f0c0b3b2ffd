// The edit-text dialog "编辑文字" (dialog 215): the wording of a text, typed
// over several lines, with the phrase list "词库" beside it. A double click
// on a phrase puts it at the caret; the "T" button edits the whole list in
// the word-list editor; OK records the text as the newest phrase of
// "Text.lst" (CPhraseList).
//
// The caller sets the text (GBK, as the model keeps it), runs the dialog
// and on Accepted reads the text back, its line breaks as CR LF.
#pragma once

#include <QDialog>
#include <QString>

#include <string>

class QLabel;
class QListWidget;
class QListWidgetItem;
class QPlainTextEdit;
class QToolButton;

class CEditTextDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int IDD = 215;
    static constexpr int IDC_PHRASE_EDITOR = 1093;
    static constexpr int IDC_PHRASES = 1094;
    static constexpr int IDC_TEXT = 1064;

    // `phraseFile` is "Text.lst" in the configuration folder unless given.
    explicit CEditTextDlg(QWidget* parent = nullptr, const QString& phraseFile = QString());
    ~CEditTextDlg() override;

    void SetText(const std::string& gbkText);
    std::string GetText() const;

    // Asks for a wording with the dialog: true and the new text on OK.
    static bool Edit(QWidget* parent, std::string& gbkText);

    // The list box filled again from the file; its warning shown when the
    // file is damaged.
    void LoadPhraseList();
    // A phrase of the list put at the caret of the text, replacing the
    // selection (the list's double click).
    void InsertPhrase(const QString& phrase);
    // The "T" button: the word-list editor, then the list reloaded.
    void EditDictionary();

    QPlainTextEdit* TextEdit() const { return m_text; }
    QListWidget* PhraseList() const { return m_phrases; }
    QLabel* WarningLabel() const { return m_warning; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void OnPhraseDoubleClicked(QListWidgetItem* item);

    QString m_phraseFile;
    QPlainTextEdit* m_text = nullptr;
    QListWidget* m_phrases = nullptr;
    QToolButton* m_dictionaryButton = nullptr;
    QLabel* m_warning = nullptr;
};
