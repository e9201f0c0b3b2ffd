// Each settings page, the colours dialog and the password dialog drawn as
// a user sees them. With VEK_SCREENSHOT_DIR set the pictures are kept
// there (run under a real X server to look at them).
#include "settings/CSystemSettings.h"

#include "ui/CPasswordDlg.h"
#include "ui/CSettingsPage.h"
#include "ui/CSystemColorsDlg.h"
#include "ui/CSystemSetupSheet.h"
#include "tests/ui/ScreenshotSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTabWidget>

TEST(SettingsScreenshots, EveryPageIsDrawnWithItsControls)
{
    Settings().SetDefaults();
    CSystemSetupSheet sheet;
    sheet.show();
    for (int i = 0; i < sheet.GetPageCount(); ++i) {
        sheet.SetActivePage(i);
        QApplication::processEvents();
        const QImage shot = sheet.grab().toImage();
        ASSERT_FALSE(shot.isNull());
        EXPECT_GT(DistinctColours(shot), 3) << i;
        EXPECT_TRUE(sheet.GetPage(i)->isVisible()) << i;
        KeepScreenshot(shot, QStringLiteral("settings-page-%1").arg(i + 1));
    }
    CSystemColorsDlg colours;
    colours.show();
    colours.SampleList()->setCurrentRow(3);
    QApplication::processEvents();
    const QImage shot = colours.grab().toImage();
    EXPECT_GT(DistinctColours(shot), 40); // the 48 swatches
    KeepScreenshot(shot, QStringLiteral("system-colours"));
    CPasswordDlg password;
    password.show();
    QApplication::processEvents();
    KeepScreenshot(password.grab().toImage(), QStringLiteral("password"));
}
