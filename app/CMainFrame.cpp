#include "CMainFrame.h"

#include "res/StringTable.h"

#include <QPalette>
#include <QScrollArea>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent)
{
    setWindowTitle(LoadResString(Ids::IDS_APP_TITLE));
    auto* pageArea = new QScrollArea(this);
    pageArea->setObjectName(QStringLiteral("pageArea"));
    pageArea->setBackgroundRole(QPalette::Dark);
    setCentralWidget(pageArea);
    resize(1024, 768);
}
