// Each settings page, the colours dialog and the password dialog drawn as
// a user sees them. With VEK_SCREENSHOT_DIR set the pictures are kept
// there (run under a real X server to look at them).
#include "app/CSystemSettings.h"

#include "ui/CPasswordDlg.h"
#include "ui/CSettingsPage.h"
#include "ui/CSystemColorsDlg.h"
#include "ui/CSystemSetupSheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QSet>
#include <QTabWidget>

namespace {

void Keep(const QImage& image, const QString& name)
{
    const QString dir = qEnvironmentVariable("VEK_SCREENSHOT_DIR");
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

// A drawn dialog has its controls: many distinct colours, not one fill.
int DistinctColours(const QImage& image)
{
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2) colours.insert(image.pixel(x, y));
    return int(colours.size());
}

} // namespace

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
        Keep(shot, QStringLiteral("settings-page-%1").arg(i + 1));
    }
    CSystemColorsDlg colours;
    colours.show();
    colours.SampleList()->setCurrentRow(3);
    QApplication::processEvents();
    const QImage shot = colours.grab().toImage();
    EXPECT_GT(DistinctColours(shot), 40); // the 48 swatches
    Keep(shot, QStringLiteral("system-colours"));
    CPasswordDlg password;
    password.show();
    QApplication::processEvents();
    Keep(password.grab().toImage(), QStringLiteral("password"));
}
