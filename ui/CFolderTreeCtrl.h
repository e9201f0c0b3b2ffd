// The folder tree of the library browser. Its roots are the user's home
// folder, the file system's root and every other mounted volume; a
// folder's sub-folders are read only when it is opened, and read again each
// time it is opened after being closed, so folders made meanwhile show.
// At start the tree opens down to a start folder, selecting each folder on
// the way; a folder is on the way only when it is the start folder or one
// of its ancestors, whole names compared.
#pragma once

#include <QString>
#include <QStringList>
#include <QTreeWidget>

class CFolderTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CFolderTreeCtrl(QWidget* parent = nullptr);

    // Set before the roots are filled.
    void SetStartFolder(const QString& folder);
    // Adds the roots and opens the tree down to the start folder; returns
    // the number of roots.
    int FillDrives();
    // The roots, as they are listed.
    static QStringList RootFolders();
    // The folder an item stands for.
    static QString GetItemPath(const QTreeWidgetItem* item);
    // The item of a folder among those filled so far, or null.
    QTreeWidgetItem* FindItem(const QString& folder) const;

    // Whether `folder` is `ancestor` itself or lies inside it.
    static bool IsOnPath(const QString& ancestor, const QString& folder);

private:
    QTreeWidgetItem* AddRoot(const QString& path);
    void ExpandToPath(QTreeWidgetItem* item);
    int FillSubfolders(QTreeWidgetItem* item);
    void OnItemExpanded(QTreeWidgetItem* item);
    void OnItemCollapsed(QTreeWidgetItem* item);
    static bool HasSubfolders(const QString& path);
    static void ShowsChildren(QTreeWidgetItem* item, bool show);

    QString m_startFolder;
};
