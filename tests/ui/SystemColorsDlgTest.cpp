#include "ModalDriver.h"

#include "settings/CSystemSettings.h"

#include "ui/CColorListBox.h"
#include "ui/CColorSampleList.h"
#include "ui/CFolderDialog.h"
#include "ui/CSystemColorsDlg.h"

#include "platform/CDC.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>

namespace {

class SystemColorsTest : public ::testing::Test {
protected:
    void SetUp() override { Settings().SetDefaults(); }
    ModalDriver driver;
};

QImage Shot(QWidget* w)
{
    return w->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

TEST(ColorListBox, FortyEightStandardColoursColumnByColumn)
{
    struct Case {
        int index;
        COLORREF colour;
    };
    const Case cases[] = {{0, RGB(0, 0, 0)},       {1, RGB(255, 255, 255)}, {2, RGB(255, 192, 192)},
                          {9, RGB(224, 224, 224)}, {18, RGB(255, 0, 0)},    {23, RGB(0, 0, 255)},
                          {40, RGB(128, 0, 128)},  {47, RGB(64, 0, 64)},    {48, 0}};
    for (const Case& c : cases) EXPECT_EQ(CColorListBox::StandardColor(c.index), c.colour) << c.index;
    EXPECT_EQ(CColorListBox::LastIndexOf(RGB(255, 0, 0)), 18);
    EXPECT_EQ(CColorListBox::LastIndexOf(RGB(1, 2, 3)), -1);

    CColorListBox list;
    ASSERT_EQ(list.count(), 48);
    list.resize(list.sizeHint());
    list.show();
    const QImage image = Shot(&list);
    const int frame = list.frameWidth();
    // Item i in column i / 6, row i % 6; the swatch fills the cell less 3.
    for (int i : {0, 1, 5, 6, 18, 23, 47}) {
        const QPoint centre(frame + (i / 6) * 25 + 12, frame + (i % 6) * 25 + 12);
        EXPECT_EQ(FromQColor(image.pixelColor(centre)), CColorListBox::StandardColor(i)) << i;
        // The swatch's outline, and the background around it.
        EXPECT_EQ(image.pixelColor(centre.x() - 9, centre.y()), list.palette().color(QPalette::Text)) << i;
        EXPECT_EQ(image.pixelColor(centre.x() - 11, centre.y()), list.palette().color(QPalette::Base)) << i;
    }
    list.setCurrentRow(18);
    const QImage selected = Shot(&list);
    EXPECT_EQ(selected.pixelColor(frame + 3 * 25 + 1, frame + 0 * 25 + 12), list.palette().color(QPalette::Highlight));
}

TEST(ColorSampleList, SwatchAndNameOfEachRecord)
{
    CColorSample red{RGB(255, 0, 0), QStringLiteral("纸张颜色")};
    CColorSample blue{RGB(0, 0, 255), QStringLiteral("第1提示颜色")};
    CColorSampleList list;
    list.AddSample(&red);
    list.AddSample(&blue);
    list.resize(160, 60);
    list.show();
    EXPECT_EQ(list.Sample(1), &blue);
    EXPECT_EQ(list.Sample(2), nullptr);
    const QRect first = list.visualItemRect(list.item(0));
    EXPECT_EQ(first.height(), 20);
    const QPoint origin = list.viewport()->mapTo(&list, first.topLeft());
    QImage image = Shot(&list);
    EXPECT_EQ(FromQColor(image.pixelColor(origin + QPoint(10, 10))), red.colour);
    EXPECT_EQ(image.pixelColor(origin + QPoint(2, 10)), list.palette().color(QPalette::Text));
    // The record is read when drawn: a changed colour shows at once.
    red.colour = RGB(0, 128, 0);
    list.viewport()->update();
    image = Shot(&list);
    EXPECT_EQ(FromQColor(image.pixelColor(origin + QPoint(10, 10))), red.colour);
    // Some of the name is drawn right of the swatch.
    bool text = false;
    for (int x = 26; x < 80 && !text; ++x)
        for (int y = 2; y < 18 && !text; ++y)
            text = image.pixelColor(origin + QPoint(x, y)) != list.palette().color(QPalette::Base);
    EXPECT_TRUE(text);
}

TEST_F(SystemColorsTest, AnEntryShowsItsCellAndACellRecoloursTheEntry)
{
    CSystemColorsDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("设置颜色"));
    const char* names[] = {"第1提示颜色", "第2提示颜色", "尺寸提示颜色", "纸张颜色", "纸张外面的颜色", "可画区域的边框颜色"};
    ASSERT_EQ(dlg.SampleList()->count(), 6);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(dlg.Entry(i).name, QString::fromUtf8(names[i]));
    EXPECT_EQ(dlg.Entry(3).colour, RGB(255, 255, 255));

    dlg.SampleList()->setCurrentRow(3); // paper: white
    EXPECT_EQ(dlg.Palette()->currentRow(), 1);
    dlg.SampleList()->setCurrentRow(4); // outside the paper: grey, cell 25
    EXPECT_EQ(dlg.Palette()->currentRow(), 25);
    dlg.SampleList()->setCurrentRow(5); // the frame: not a palette colour
    EXPECT_EQ(dlg.Palette()->currentRow(), -1);
    dlg.Palette()->setCurrentRow(18);
    EXPECT_EQ(dlg.Entry(5).colour, RGB(255, 0, 0));
    EXPECT_EQ(Settings().m_crMarginFrameColor, RGB(240, 240, 240)); // only OK writes

    driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
    EXPECT_EQ(dlg.DoModal(), CSystemColorsDlg::IDOK);
    EXPECT_EQ(Settings().m_crMarginFrameColor, RGB(255, 0, 0));
    EXPECT_EQ(Settings().m_crPaperColor, RGB(255, 255, 255));
}

TEST_F(SystemColorsTest, OkWithoutAChangeAnswersCancelAndCancelWritesNothing)
{
    {
        CSystemColorsDlg dlg;
        dlg.SampleList()->setCurrentRow(0);
        dlg.Palette()->setCurrentRow(18); // red, the colour it has already
        driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->accept(); });
        EXPECT_EQ(dlg.DoModal(), CSystemColorsDlg::IDCANCEL);
    }
    {
        CSystemColorsDlg dlg;
        dlg.SampleList()->setCurrentRow(0);
        dlg.Palette()->setCurrentRow(0);
        driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        EXPECT_EQ(dlg.DoModal(), CSystemColorsDlg::IDCANCEL);
        EXPECT_EQ(Settings().m_crPromptColor1, RGB(255, 0, 0));
    }
    // A cell chosen with no entry chosen changes nothing.
    CSystemColorsDlg dlg;
    dlg.Palette()->setCurrentRow(5);
    for (int i = 0; i < 6; ++i) EXPECT_NE(dlg.Entry(i).colour, CColorListBox::StandardColor(5)) << i;
}

TEST(FolderDialog, StatusTextIsCutAfterThirtyFiveCharacters)
{
    const QString exact(35, QLatin1Char('a'));
    EXPECT_EQ(CFolderDialog::ShortenPath(exact), exact);
    EXPECT_EQ(CFolderDialog::ShortenPath(exact + QLatin1Char('b')), exact + QStringLiteral("..."));
    EXPECT_EQ(CFolderDialog::ShortenPath(QString()), QString());
}

TEST_F(SystemColorsTest, FolderPickerOpensAtTheFolderAndHandsBackTheChoice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("inner")));
    CFolderDialog picker(dir.path(), CFolderDialog::BIF_RETURNONLYFSDIRS);
    driver.Then([&dir](QWidget* w) {
        auto* dlg = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(QDir(dlg->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        EXPECT_EQ(dlg->fileMode(), QFileDialog::Directory);
        dlg->selectFile(QDir(dir.path()).filePath(QStringLiteral("inner")));
        static_cast<QDialog*>(dlg)->accept();
    });
    ASSERT_EQ(picker.DoModal(), CFolderDialog::IDOK);
    EXPECT_EQ(QDir(picker.GetFolderPath()).canonicalPath(), QDir(dir.filePath(QStringLiteral("inner"))).canonicalPath());

    driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    EXPECT_EQ(picker.DoModal(), CFolderDialog::IDCANCEL);
}
