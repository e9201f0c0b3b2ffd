// The library browser "工艺图库": a folder tree, a file-type choice and a
// list of thumbnails of the chosen folder's files, from which the user
// picks the library drawing or plotter file to place. Double-clicking a
// thumbnail, or OK with one selected, ends the dialog with that file.
#pragma once

#include <QDialog>
#include <QFileInfoList>
#include <QString>
#include <QStringList>

class CFolderTreeCtrl;
class CLibraryListBox;
class CLibraryPreviewCache;
class QComboBox;
class QPushButton;

class CDrawingLibraryDlg : public QDialog {
    Q_OBJECT
public:
    // `path` names the folder to open by its folder part (a file name or
    // pattern after it is dropped; an existing folder is taken whole).
    CDrawingLibraryDlg(const QString& path, QWidget* parent = nullptr,
                       CLibraryPreviewCache* cache = nullptr);
    ~CDrawingLibraryDlg() override;

    // Runs the dialog; the chosen file's path, or empty when cancelled.
    static QString ChooseFile(QWidget* parent, const QString& start);

    // The chosen file, after OK.
    QString GetFilePath() const { return m_path; }
    const QString& GetCurrentFolder() const { return m_currentFolder; }
    const QStringList& GetFilePaths() const { return m_filePaths; }

    CLibraryListBox* ListBox() const { return m_list; }
    CFolderTreeCtrl* FolderTree() const { return m_tree; }
    QComboBox* FileTypeCombo() const { return m_fileType; }

    // Lists the current folder's files of the chosen type.
    void ListFiles();

public Q_SLOTS:
    void accept() override;

private:
    void OnFolderChanged();
    // The patterns of the chosen file type: the text between its first
    // parentheses, split at ';'.
    QStringList Patterns() const;

    CLibraryListBox* m_list = nullptr;
    CFolderTreeCtrl* m_tree = nullptr;
    QComboBox* m_fileType = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QStringList m_filePaths;
    QString m_currentFolder;
    QString m_path;
    bool m_filling = false;
};
