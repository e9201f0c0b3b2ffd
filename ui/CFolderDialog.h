// The folder picker: a directory chooser that opens at a given folder and
// hands back the folder the user chose. The status line (shown only when
// the caller asks for one) carries the selection, shortened.
#pragma once

#include <QString>

class QFileDialog;
class QWidget;

class CFolderDialog {
public:
    static constexpr int IDOK = 1;
    static constexpr int IDCANCEL = 2;
    // Browser flags the callers pass: only file-system folders, and a
    // status line with the current selection.
    static constexpr unsigned BIF_RETURNONLYFSDIRS = 0x0001;
    static constexpr unsigned BIF_STATUSTEXT = 0x0004;
    static constexpr int kStatusLength = 35;

    CFolderDialog(const QString& initialFolder, unsigned flags, QWidget* parent = nullptr);
    virtual ~CFolderDialog();

    virtual int DoModal();
    QString GetFolderPath() const { return m_strFolderPath; }

    // A path for the status line: at most 35 characters, then "...".
    static QString ShortenPath(const QString& path);

protected:
    virtual void OnInitialized();
    virtual void OnSelChanged(const QString& path);

private:
    void SetStatusText(const QString& text);

    QString m_strInitialFolder;
    QString m_strFolderPath;
    QString m_strStatus;
    unsigned m_flags;
    QWidget* m_parent;
    QFileDialog* m_dialog = nullptr;
};
