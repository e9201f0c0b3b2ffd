#include "ui/CFolderTreeCtrl.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QStorageInfo>
#include <QStyle>

namespace {

constexpr int kPathRole = Qt::UserRole;

QString Clean(const QString& path) { return QDir::cleanPath(QDir::fromNativeSeparators(path)); }

QDir::Filters FolderFilter() { return QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden; }

} // namespace

CFolderTreeCtrl::CFolderTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemExpanded, this, &CFolderTreeCtrl::OnItemExpanded);
    connect(this, &QTreeWidget::itemCollapsed, this, &CFolderTreeCtrl::OnItemCollapsed);
}

void CFolderTreeCtrl::SetStartFolder(const QString& folder)
{
    m_startFolder = folder.isEmpty() ? QString() : Clean(folder);
}

bool CFolderTreeCtrl::IsOnPath(const QString& ancestor, const QString& folder)
{
    const QString a = Clean(ancestor);
    const QString f = Clean(folder);
    if (a.isEmpty() || f.isEmpty()) return false;
    if (f == a) return true;
    return f.startsWith(a.endsWith(QLatin1Char('/')) ? a : a + QLatin1Char('/'));
}

QStringList CFolderTreeCtrl::RootFolders()
{
    QStringList roots;
    const auto add = [&roots](const QString& path) {
        const QString clean = Clean(path);
        if (!clean.isEmpty() && !roots.contains(clean) && QDir(clean).exists()) roots << clean;
    };
    add(QDir::homePath());
    add(QDir::rootPath());
    // Disks and sticks; the kernel's own file systems have no device file.
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        if (!volume.device().startsWith("/dev/")) continue;
        add(volume.rootPath());
    }
    return roots;
}

QString CFolderTreeCtrl::GetItemPath(const QTreeWidgetItem* item)
{
    return item ? item->data(0, kPathRole).toString() : QString();
}

void CFolderTreeCtrl::ShowsChildren(QTreeWidgetItem* item, bool show)
{
    item->setChildIndicatorPolicy(show ? QTreeWidgetItem::ShowIndicator
                                       : QTreeWidgetItem::DontShowIndicatorWhenChildless);
}

bool CFolderTreeCtrl::HasSubfolders(const QString& path)
{
    QDirIterator it(path, FolderFilter());
    return it.hasNext();
}

QTreeWidgetItem* CFolderTreeCtrl::AddRoot(const QString& path)
{
    auto* item = new QTreeWidgetItem(this);
    item->setText(0, path);
    item->setToolTip(0, path);
    item->setData(0, kPathRole, path);
    item->setIcon(0, style()->standardIcon(path == Clean(QDir::homePath()) ? QStyle::SP_DirHomeIcon
                                                                          : QStyle::SP_DriveHDIcon));
    ShowsChildren(item, HasSubfolders(path));
    return item;
}

int CFolderTreeCtrl::FillDrives()
{
    clear();
    QTreeWidgetItem* start = nullptr;
    QString startRoot;
    const QStringList roots = RootFolders();
    for (const QString& root : roots) {
        QTreeWidgetItem* item = AddRoot(root);
        // The deepest root holding the start folder leads to it.
        if (IsOnPath(root, m_startFolder) && root.size() > startRoot.size()) {
            start = item;
            startRoot = root;
        }
    }
    if (start) ExpandToPath(start);
    return int(roots.size());
}

void CFolderTreeCtrl::ExpandToPath(QTreeWidgetItem* item)
{
    setCurrentItem(item);
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i) {
        QTreeWidgetItem* child = item->child(i);
        if (IsOnPath(GetItemPath(child), m_startFolder)) {
            ExpandToPath(child);
            return;
        }
    }
}

int CFolderTreeCtrl::FillSubfolders(QTreeWidgetItem* item)
{
    const QString path = GetItemPath(item);
    const QDir dir(path);
    const QStringList names = dir.entryList(FolderFilter(), QDir::Name | QDir::IgnoreCase);
    const QIcon closed = style()->standardIcon(QStyle::SP_DirClosedIcon);
    for (const QString& name : names) {
        auto* child = new QTreeWidgetItem(item);
        const QString childPath = dir.filePath(name);
        child->setText(0, name);
        child->setData(0, kPathRole, childPath);
        child->setIcon(0, closed);
        ShowsChildren(child, HasSubfolders(childPath));
    }
    return int(names.size());
}

void CFolderTreeCtrl::OnItemExpanded(QTreeWidgetItem* item)
{
    if (item->childCount() > 0) return;
    if (FillSubfolders(item) == 0) {
        // Nothing to open after all: the folder loses its button.
        ShowsChildren(item, false);
        item->setExpanded(false);
        return;
    }
    if (item->parent()) item->setIcon(0, style()->standardIcon(QStyle::SP_DirOpenIcon));
}

void CFolderTreeCtrl::OnItemCollapsed(QTreeWidgetItem* item)
{
    qDeleteAll(item->takeChildren());
    if (item->parent()) item->setIcon(0, style()->standardIcon(QStyle::SP_DirClosedIcon));
    ShowsChildren(item, HasSubfolders(GetItemPath(item)));
}

QTreeWidgetItem* CFolderTreeCtrl::FindItem(const QString& folder) const
{
    const QString wanted = Clean(folder);
    QTreeWidgetItemIterator it(const_cast<CFolderTreeCtrl*>(this));
    while (*it) {
        if (GetItemPath(*it) == wanted) return *it;
        ++it;
    }
    return nullptr;
}
