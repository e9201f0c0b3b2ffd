#include "grading/dialogs/CExcel.h"

#include "grading/dialogs/CGradingStep.h"
#include "grading/CMeasureSheet.h"
#include "grading/dialogs/CSelectExcelItemsDlg.h"
#include "grading/CXlsReader.h"
#include "grading/GradingIds.h"

#include "app/CVEKView.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QFile>
#include <QFileInfo>

bool CExcel::ReadSheet(const QString& path, CMeasureSheet& sheet, QString& why)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        why = file.errorString();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        why = file.errorString();
        return false;
    }
    CXlsReader::Rows cells;
    const CXlsReader::Error error =
        CXlsReader::ReadFirstWorksheet(std::string(bytes.constData(), std::size_t(bytes.size())), cells);
    if (error != CXlsReader::Error::None) {
        why = QString::fromUtf8(CXlsReader::ErrorText(error).c_str());
        return false;
    }
    if (cells.empty()) {
        why = LoadResString(IDS_WORKBOOK_EMPTY);
        return false;
    }
    sheet = CMeasureSheet::FromCells(cells);
    return true;
}

bool CExcel::ReadWorkbook(const QString& path)
{
    CMeasureSheet sheet;
    QString why;
    if (!ReadSheet(path, sheet, why)) {
        CGradingStep::Message(m_owner, LoadResString(IDS_WORKBOOK_UNREADABLE).arg(QFileInfo(path).fileName(), why),
                              QMessageBox::Warning);
        return false;
    }
    CSelectExcelItemsDlg dialog(m_owner);
    dialog.SetSheet(sheet);
    dialog.exec();
    return true;
}
