#include "ui/CDrawingLibraryDlg.h"

#include "ui/CFolderTreeCtrl.h"
#include "ui/CLibraryListBox.h"
#include "ui/CLibraryPreviewCache.h"

#include "res/StringTable.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

namespace {

constexpr int IDS_LIBRARY_FILTER = 36016;

// The dialog's layout in dialog units of its "System" font, two pixels
// each way.
constexpr int kUnit = 2;
QRect Units(int x, int y, int w, int h) { return QRect(x * kUnit, y * kUnit, w * kUnit, h * kUnit); }

// The folder a path names: the path itself when it is a folder, else the
// folder part before its file name or pattern.
QString FolderOf(const QString& path)
{
    if (path.isEmpty()) return QString();
    const QFileInfo info(path);
    if (info.isDir()) return info.absoluteFilePath();
    return info.absolutePath();
}

} // namespace

CDrawingLibraryDlg::CDrawingLibraryDlg(const QString& path, QWidget* parent, CLibraryPreviewCache* cache)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("工艺图库"));
    setFixedSize(Units(0, 0, 306, 189).size());

    m_list = new CLibraryListBox(cache ? *cache : CLibraryPreviewCache::Shared(), this);
    m_list->setGeometry(Units(7, 7, 180, 175));
    m_tree = new CFolderTreeCtrl(this);
    m_tree->setGeometry(Units(194, 7, 105, 127));
    m_fileType = new QComboBox(this);
    m_fileType->setGeometry(Units(194, 137, 105, 13));
    m_ok = new QPushButton(QStringLiteral("确定(&O)"), this);
    m_ok->setGeometry(Units(194, 168, 40, 14));
    m_ok->setDefault(true);
    m_cancel = new QPushButton(QStringLiteral("取消(&C)"), this);
    m_cancel->setGeometry(Units(259, 168, 40, 14));
    connect(m_ok, &QPushButton::clicked, this, &CDrawingLibraryDlg::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CDrawingLibraryDlg::reject);

    // The names of the file types, without their patterns.
    const QStringList parts = LoadResString(IDS_LIBRARY_FILTER).split(QLatin1Char('|'), Qt::SkipEmptyParts);
    for (int i = 0; i + 1 < parts.size(); i += 2) m_fileType->addItem(parts[i]);
    m_fileType->setCurrentIndex(0);

    m_path = FolderOf(path);
    m_currentFolder = m_path;
    m_filling = true;
    m_tree->SetStartFolder(m_path);
    m_tree->FillDrives();
    m_filling = false;
    if (QTreeWidgetItem* current = m_tree->currentItem()) m_currentFolder = CFolderTreeCtrl::GetItemPath(current);

    connect(m_tree, &QTreeWidget::currentItemChanged, this, &CDrawingLibraryDlg::OnFolderChanged);
    connect(m_fileType, qOverload<int>(&QComboBox::currentIndexChanged), this, &CDrawingLibraryDlg::ListFiles);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &CDrawingLibraryDlg::accept);
    ListFiles();
    m_list->setFocus();
}

CDrawingLibraryDlg::~CDrawingLibraryDlg() = default;

QString CDrawingLibraryDlg::ChooseFile(QWidget* parent, const QString& start)
{
    CDrawingLibraryDlg dialog(start, parent);
    if (dialog.exec() != QDialog::Accepted) return QString();
    return dialog.GetFilePath();
}

void CDrawingLibraryDlg::OnFolderChanged()
{
    if (m_filling) return;
    const QString folder = CFolderTreeCtrl::GetItemPath(m_tree->currentItem());
    if (folder.isEmpty()) return;
    m_currentFolder = folder;
    ListFiles();
}

QStringList CDrawingLibraryDlg::Patterns() const
{
    const QString type = m_fileType->currentText();
    const int open = type.indexOf(QLatin1Char('('));
    const int close = type.indexOf(QLatin1Char(')'), open + 1);
    if (open < 0 || close < 0) return {QStringLiteral("*")};
    QStringList patterns = type.mid(open + 1, close - open - 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    // "*.*" names every file, also those without a dot.
    for (QString& pattern : patterns)
        if (pattern.trimmed() == QLatin1String("*.*")) pattern = QStringLiteral("*");
    return patterns;
}

// Regular files only: a FIFO or a device would block the browser, and a
// folder is no drawing. Names match in any case, as on the Windows
// program's disks.
void CDrawingLibraryDlg::ListFiles()
{
    m_filePaths.clear();
    QFileInfoList files;
    if (!m_currentFolder.isEmpty()) {
        QDir dir(m_currentFolder);
        dir.setFilter(QDir::Files | QDir::Hidden);
        dir.setSorting(QDir::Name | QDir::IgnoreCase);
        dir.setNameFilters(Patterns());
        for (const QFileInfo& file : dir.entryInfoList()) {
            if (!file.isFile() || m_filePaths.contains(file.absoluteFilePath())) continue;
            files << file;
            m_filePaths << file.absoluteFilePath();
        }
    }
    m_list->SetFiles(files);
}

void CDrawingLibraryDlg::accept()
{
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_filePaths.size() || !m_list->currentItem() || !m_list->currentItem()->isSelected()) {
        m_path.clear();
        return;
    }
    m_path = m_filePaths[row];
    QDialog::accept();
}
