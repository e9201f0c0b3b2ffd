#include "ui/CAutoSaveFileNameDialog.h"

#include "res/StringTable.h"

#include <QFileInfo>

CAutoSaveFileNameDialog::CAutoSaveFileNameDialog(const QString& initialFile, QWidget* parent) : QFileDialog(parent)
{
    setWindowTitle(LoadResString(IDS_TITLE));
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    setDefaultSuffix(QStringLiteral("qpn"));
    setNameFilters({QStringLiteral("Pattern Files (*.qpn)"), QStringLiteral("All Files (*)")});
    // The same dialog on every desktop, and one the tests can drive.
    setOption(QFileDialog::DontUseNativeDialog);
    if (!initialFile.isEmpty()) {
        const QFileInfo info(initialFile);
        if (info.dir().exists()) setDirectory(info.absolutePath());
        selectFile(info.fileName());
    }
}

int CAutoSaveFileNameDialog::DoModal()
{
    return exec() == QDialog::Accepted && !selectedFiles().isEmpty() ? IDOK : IDCANCEL;
}

QString CAutoSaveFileNameDialog::GetPathName() const
{
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.front();
}
