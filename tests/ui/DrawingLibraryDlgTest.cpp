// The library browser: its folder tree, the listing of a folder's files by
// type, choosing a file, the thumbnails drawn from the files' heads (and
// never twice), damaged previews, and a picture of the whole dialog.
#include "ui/CDrawingLibraryDlg.h"
#include "ui/CFolderTreeCtrl.h"
#include "ui/CLibraryListBox.h"
#include "ui/CLibraryPreviewCache.h"

#include "library/CLibraryThumbnail.h"
#include "library/CLibraryWriter.h"
#include "tests/library/LibraryTestSupport.h"
#include "tests/ui/ScreenshotSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QSet>
#include <QTemporaryDir>
#include <QMouseEvent>

#include <sys/stat.h>

namespace {

std::string Drawing(int shift = 0)
{
    libtest::Sheet sheet;
    std::vector<CGraphElement*> elements = {
        sheet.Open({sheet.Point(0, 0), sheet.Point(6000, 3000 + shift)}),
        sheet.Closed({sheet.Point(1000, 2000), sheet.Point(5000, 2000), sheet.Point(3000, 500)}),
        sheet.Text({500, 2500}, {2500, 2500}, {2500, 2900}, {500, 2900}),
    };
    return CLibraryWriter::Build(elements);
}

void Write(const QString& path, const std::string& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), qint64(bytes.size()));
}

void Mouse(QWidget* w, QEvent::Type type, const QPoint& p)
{
    QMouseEvent e(type, QPointF(p), w->mapToGlobal(QPointF(p)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
}

void DoubleClick(QWidget* w, const QPoint& p)
{
    Mouse(w, QEvent::MouseButtonPress, p);
    Mouse(w, QEvent::MouseButtonRelease, p);
    Mouse(w, QEvent::MouseButtonDblClick, p);
    Mouse(w, QEvent::MouseButtonRelease, p);
}

int Dark(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) > 128 && qGray(image.pixel(x, y)) < 100) ++dark;
    return dark;
}

QStringList Names(const QStringList& paths)
{
    QStringList names;
    for (const QString& p : paths) names << QFileInfo(p).fileName();
    return names;
}

class LibraryBrowserTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        root = QDir(dir.path());
        ASSERT_TRUE(root.mkpath(QStringLiteral("lib/pockets")));
        ASSERT_TRUE(root.mkpath(QStringLiteral("library/collars")));
        Write(root.filePath(QStringLiteral("lib/pocket.vkl")), Drawing());
        Write(root.filePath(QStringLiteral("lib/COLLAR.VKL")), Drawing(500));
        ASSERT_TRUE(QFile::copy(QStringLiteral(VEK_REALDATA_DIR "/hpgl/hp2xx_fwedges.plt"),
                                root.filePath(QStringLiteral("lib/wedges.plt"))));
        Write(root.filePath(QStringLiteral("lib/notes.txt")), "notes");
        ASSERT_EQ(mkfifo(root.filePath(QStringLiteral("lib/pipe.vkl")).toLocal8Bit().constData(), 0600), 0);
        ASSERT_TRUE(root.mkpath(QStringLiteral("lib/folder.vkl")));
    }
    QString Lib() const { return root.filePath(QStringLiteral("lib")); }

    QTemporaryDir dir;
    QDir root;
    CLibraryPreviewCache cache;
};

} // namespace

// --- The folder tree ---------------------------------------------------------------------

TEST(FolderTree, PathsMatchByWholeFolderNames)
{
    struct Case {
        const char* ancestor;
        const char* folder;
        bool on;
    };
    const Case cases[] = {
        {"/data/lib", "/data/lib", true},       {"/data/lib", "/data/lib/pockets", true},
        {"/data/lib", "/data/library", false},  {"/data/lib", "/data/li", false},
        {"/data/lib/", "/data/lib/x", true},    {"/", "/data", true},
        {"/data/lib", "/data/lib/../library", false}, {"", "/data", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CFolderTreeCtrl::IsOnPath(QString::fromLatin1(c.ancestor), QString::fromLatin1(c.folder)), c.on)
            << c.ancestor << " " << c.folder;
    const QStringList roots = CFolderTreeCtrl::RootFolders();
    EXPECT_TRUE(roots.contains(QDir::cleanPath(QDir::homePath())));
    EXPECT_TRUE(roots.contains(QStringLiteral("/")));
}

TEST_F(LibraryBrowserTest, TheTreeOpensDownToTheStartFolderAndNoSibling)
{
    CFolderTreeCtrl tree;
    tree.SetStartFolder(Lib());
    EXPECT_GE(tree.FillDrives(), 2);
    ASSERT_NE(tree.currentItem(), nullptr);
    EXPECT_EQ(CFolderTreeCtrl::GetItemPath(tree.currentItem()), QDir::cleanPath(Lib()));
    // "library" starts like "lib" but is not on the way.
    QTreeWidgetItem* library = tree.FindItem(root.filePath(QStringLiteral("library")));
    ASSERT_NE(library, nullptr);
    EXPECT_FALSE(library->isExpanded());
    EXPECT_EQ(library->childCount(), 0);
    EXPECT_EQ(library->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);

    // Closing and opening again reads the folder again.
    QTreeWidgetItem* lib = tree.currentItem();
    lib->setExpanded(true);
    const int before = lib->childCount();
    lib->setExpanded(false);
    ASSERT_TRUE(root.mkpath(QStringLiteral("lib/labels")));
    lib->setExpanded(true);
    EXPECT_EQ(lib->childCount(), before + 1);

    // A folder without sub-folders cannot be opened.
    QTreeWidgetItem* pockets = tree.FindItem(root.filePath(QStringLiteral("lib/pockets")));
    ASSERT_NE(pockets, nullptr);
    EXPECT_NE(pockets->childIndicatorPolicy(), QTreeWidgetItem::ShowIndicator);
    pockets->setExpanded(true);
    EXPECT_FALSE(pockets->isExpanded());
}

// --- Listing and choosing --------------------------------------------------------------------

TEST_F(LibraryBrowserTest, ListsRegularFilesOfTheChosenTypeInAnyCase)
{
    CDrawingLibraryDlg dialog(Lib() + QStringLiteral("/*.vkl"), nullptr, &cache);
    EXPECT_EQ(dialog.GetCurrentFolder(), QDir::cleanPath(Lib()));
    ASSERT_EQ(dialog.FileTypeCombo()->count(), 3);
    EXPECT_EQ(dialog.FileTypeCombo()->itemText(0), QStringLiteral("工艺图库(*.vkl)"));
    // Neither the FIFO nor the folder named like a library file.
    EXPECT_EQ(Names(dialog.GetFilePaths()), (QStringList{QStringLiteral("COLLAR.VKL"), QStringLiteral("pocket.vkl")}));
    EXPECT_EQ(dialog.ListBox()->count(), 2);
    dialog.FileTypeCombo()->setCurrentIndex(1);
    EXPECT_EQ(Names(dialog.GetFilePaths()), QStringList{QStringLiteral("wedges.plt")});
    dialog.FileTypeCombo()->setCurrentIndex(2);
    EXPECT_EQ(Names(dialog.GetFilePaths()),
              (QStringList{QStringLiteral("COLLAR.VKL"), QStringLiteral("notes.txt"), QStringLiteral("pocket.vkl"),
                           QStringLiteral("wedges.plt")}));

    // Choosing another folder in the tree lists it.
    QTreeWidgetItem* pockets = dialog.FolderTree()->FindItem(root.filePath(QStringLiteral("lib/pockets")));
    ASSERT_NE(pockets, nullptr);
    dialog.FolderTree()->setCurrentItem(pockets);
    EXPECT_EQ(dialog.GetCurrentFolder(), root.filePath(QStringLiteral("lib/pockets")));
    EXPECT_EQ(dialog.ListBox()->count(), 0);
}

TEST_F(LibraryBrowserTest, OkNeedsAChosenFileAndADoubleClickEndsAtOnce)
{
    CDrawingLibraryDlg dialog(Lib() + QStringLiteral("/pocket.vkl"), nullptr, &cache);
    dialog.show();
    QApplication::processEvents();
    dialog.accept();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.GetFilePath().isEmpty());

    dialog.ListBox()->setCurrentRow(1);
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.GetFilePath(), QDir::cleanPath(Lib() + QStringLiteral("/pocket.vkl")));

    CDrawingLibraryDlg again(Lib(), nullptr, &cache);
    again.show();
    QApplication::processEvents();
    QListWidget* list = again.ListBox();
    const QRect cell = list->visualItemRect(list->item(0));
    DoubleClick(list->viewport(), cell.center());
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(QFileInfo(again.GetFilePath()).fileName(), QStringLiteral("COLLAR.VKL"));
}

// --- Thumbnails --------------------------------------------------------------------------------

TEST_F(LibraryBrowserTest, ThumbnailsShowPreviewsIconsAndCrosses)
{
    const QImage drawing = CLibraryThumbnail::Render(Lib() + QStringLiteral("/pocket.vkl"));
    ASSERT_EQ(drawing.size(), QSize(80, 60));
    // The line from the grid's (0, 15) to (60, 45): dark at its middle,
    // (30, 30) on the grid, (40, 31) in the band.
    bool onLine = false;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) onLine = onLine || qGray(drawing.pixel(40 + dx, 31 + dy)) < 100;
    EXPECT_TRUE(onLine);
    // Nothing left of the grid.
    for (int y = 0; y < 60; ++y) EXPECT_EQ(qAlpha(drawing.pixel(2, y)), 0) << y;

    const QImage plotter = CLibraryThumbnail::Render(Lib() + QStringLiteral("/wedges.plt"));
    QSet<QRgb> colours;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 80; ++x) colours.insert(plotter.pixel(x, y));
    EXPECT_GT(colours.size(), 5);

    const QImage cross = CLibraryThumbnail::Render(Lib() + QStringLiteral("/notes.txt"));
    EXPECT_LT(qGray(cross.pixel(20, 10)), 100);
    EXPECT_LT(qGray(cross.pixel(60, 10)), 100);
    EXPECT_LT(qGray(cross.pixel(40, 30)), 100);
    // An upper-case plotter name is a plotter file too.
    QFile::copy(Lib() + QStringLiteral("/wedges.plt"), Lib() + QStringLiteral("/WEDGES2.PLT"));
    EXPECT_EQ(CLibraryThumbnail::Render(Lib() + QStringLiteral("/WEDGES2.PLT")), plotter);
}

TEST(LibraryThumbnail, DamagedPreviewsAreDrawnSafely)
{
    const std::string head = libtest::Hex("4C4B4556 6B000000 00000000 00000000 70170000 B80B0000");
    struct Case {
        const char* name;
        std::string bytes;
        bool cross;
    };
    const Case cases[] = {
        // A table two units wide and three high: both grid steps round to 0.
        {"table too small for its grid",
         head + libtest::Hex("00000000 00000000 00000000 01000000 0A000000 0A000000 0C000000 0A000000"
                             "0C000000 0D000000 0A000000 0D000000 00000000 00000000"),
         false},
        // A table whose corners run backwards.
        {"table inside out",
         head + libtest::Hex("00000000 00000000 00000000 01000000 32000000 32000000 0A000000 32000000"
                             "0A000000 0A000000 32000000 0A000000 00000000 00000000"),
         false},
        // A text at a height of two billion.
        {"giant font",
         head + libtest::Hex("00000000 01000000 02 4142 00000000 FFFFFF7F FFFFFF7F 00000000 00000000 90010000"
                             "00 00 00 86 00 00 00 00 00 0A000000 0A000000 01000000 14000000 0A000000"
                             "14000000 14000000 0A000000 14000000 00000000 00000000 00000000 00000000"),
         false},
        {"outline without points", head + libtest::Hex("01000000 00000000 00000000 00000000 00000000"), true},
        {"cut in the outlines", head + libtest::Hex("02000000 05000000 01000000"), false},
        {"newer version", libtest::Hex("4C4B4556 6C000000"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CLibraryPreview preview;
        const CLibraryPreviewReader::Result read = CLibraryPreviewReader::ReadBytes(c.bytes, preview);
        QElapsedTimer timer;
        timer.start();
        const QImage image = CLibraryThumbnail::Render(QStringLiteral("item.vkl"), read, preview);
        EXPECT_LT(timer.elapsed(), 2000);
        ASSERT_EQ(image.size(), QSize(80, 60));
        // A cross goes through the band's middle.
        EXPECT_EQ(qGray(image.pixel(40, 30)) < 100 && qAlpha(image.pixel(40, 30)) > 0, c.cross);
    }
}

// The cache draws each file once for its size and time: a file changed in
// place with both kept is not read again, a newer one is.
TEST_F(LibraryBrowserTest, EachThumbnailIsDrawnOnce)
{
    const QString path = Lib() + QStringLiteral("/pocket.vkl");
    const QFileInfo info(path);
    const QImage first = cache.Thumbnail(info);
    EXPECT_GT(Dark(first), 50);
    const QDateTime modified = info.lastModified();
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.write(QByteArray(int(info.size()), '\0'));
        file.flush();
        file.setFileTime(modified, QFileDevice::FileModificationTime);
    }
    EXPECT_EQ(cache.Thumbnail(QFileInfo(path)), first);
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        file.setFileTime(modified.addSecs(5), QFileDevice::FileModificationTime);
    }
    // Now the zeros are read: no library drawing, a cross.
    const QImage again = cache.Thumbnail(QFileInfo(path));
    EXPECT_NE(again, first);
    EXPECT_LT(qGray(again.pixel(40, 30)), 100);
}

// --- The whole dialog ---------------------------------------------------------------------------

TEST_F(LibraryBrowserTest, TheBrowserAsAUserSeesIt)
{
    for (int i = 0; i < 12; ++i)
        Write(root.filePath(QStringLiteral("lib/entry%1.vkl").arg(i, 2, 10, QLatin1Char('0'))), Drawing(i * 300));
    CDrawingLibraryDlg dialog(Lib(), nullptr, &cache);
    dialog.show();
    dialog.ListBox()->setCurrentRow(3);
    QApplication::processEvents();
    const QImage shot = dialog.grab().toImage();
    KeepScreenshot(shot, QStringLiteral("library-browser"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("工艺图库"));
    EXPECT_EQ(dialog.ListBox()->count(), 14);
    // The list shows four columns of four cells, scrolled sideways.
    const QListWidget* list = dialog.ListBox();
    EXPECT_EQ(list->visualItemRect(list->item(1)).top(), list->visualItemRect(list->item(0)).bottom() + 1);
    EXPECT_GT(list->visualItemRect(list->item(4)).left(), list->visualItemRect(list->item(0)).left());
    EXPECT_TRUE(list->horizontalScrollBar()->isVisible());
    // Thumbnails were drawn for the cells in view.
    const QImage listShot = list->viewport()->grab().toImage();
    EXPECT_GT(Dark(listShot), 200);
    // The selected cell's caption is highlighted.
    const QRect selected = list->visualItemRect(list->item(3));
    const QColor highlight = list->palette().color(QPalette::Highlight);
    EXPECT_EQ(listShot.pixelColor(selected.left() + 4, selected.bottom() - 2), highlight);
}
