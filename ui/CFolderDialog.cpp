#include "ui/CFolderDialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

CFolderDialog::CFolderDialog(const QString& initialFolder, unsigned flags, QWidget* parent)
    : m_strInitialFolder(initialFolder), m_flags(flags), m_parent(parent)
{
}

CFolderDialog::~CFolderDialog() = default;

QString CFolderDialog::ShortenPath(const QString& path)
{
    if (path.size() <= kStatusLength) return path;
    return path.left(kStatusLength) + QStringLiteral("...");
}

void CFolderDialog::SetStatusText(const QString& text)
{
    if (!(m_flags & BIF_STATUSTEXT)) return;
    m_strStatus = ShortenPath(text);
    if (m_dialog) m_dialog->setWindowTitle(QStringLiteral("Current Selection: %1").arg(m_strStatus));
}

void CFolderDialog::OnInitialized()
{
    if (!m_strInitialFolder.isEmpty() && QFileInfo(m_strInitialFolder).isDir())
        m_dialog->setDirectory(m_strInitialFolder);
    SetStatusText(m_strInitialFolder);
}

void CFolderDialog::OnSelChanged(const QString& path)
{
    m_strFolderPath = path;
    if (!m_strFolderPath.isEmpty() && !m_strFolderPath.endsWith(QLatin1Char('/')))
        m_strFolderPath += QLatin1Char('/');
    SetStatusText(m_strFolderPath);
}

int CFolderDialog::DoModal()
{
    m_strFolderPath = m_strInitialFolder;
    QFileDialog dialog(m_parent, QStringLiteral("Current Selection"));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setObjectName(QStringLiteral("CFolderDialog"));
    m_dialog = &dialog;
    QObject::connect(&dialog, &QFileDialog::currentChanged, &dialog, [this](const QString& path) {
        if (QFileInfo(path).isDir()) OnSelChanged(path);
    });
    OnInitialized();
    const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
    m_dialog = nullptr;
    if (!chosen) return IDCANCEL;
    // Only a folder of the file system counts.
    const QFileInfo folder(dialog.selectedFiles().front());
    if (!folder.isDir()) return IDCANCEL;
    m_strFolderPath = QDir::cleanPath(folder.absoluteFilePath());
    return IDOK;
}
