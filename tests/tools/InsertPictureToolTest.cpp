// The insert picture tool through the view: a click asks for a picture
// file and places the picture 60 mm wide at the picture's own proportions;
// an unreadable file is refused with the message and nothing placed; while
// a picture is edited a click on another picture edits that one and a
// click on empty paper places the next.
#include "tests/editors/EditorTestSupport.h"

#include "editors/CVTModifyPicture.h"
#include "res/StringTable.h"
#include "tools/CVTInsertPicture.h"

#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace {

class InsertPictureToolTest : public EditorViewFixture {
protected:
    void SetUp() override
    {
        EditorViewFixture::SetUp();
        ASSERT_TRUE(files.isValid());
        SelectTool(CVEKView::kInsertPictureTool);
        tool = Tool<CVTInsertPicture>(CVEKView::kInsertPictureTool);
        Chosen() = QString();
        CVTInsertPicture::SetFileChooser([](QWidget*) {
            ++Asked();
            return Chosen();
        });
        Asked() = 0;
    }
    static QString& Chosen()
    {
        static QString chosen;
        return chosen;
    }
    static int& Asked()
    {
        static int asked = 0;
        return asked;
    }
    QString Picture(const char* name, int w, int h, QColor colour = QColor(0, 160, 0))
    {
        const QString path = files.filePath(QString::fromLatin1(name));
        EXPECT_TRUE(Solid(w, h, colour).save(path));
        return path;
    }
    std::vector<CImageElement*> Pictures()
    {
        std::vector<CImageElement*> out;
        for (CGraphElement* e : Page()->Elements())
            if (e->GetType() == ELEMENT_IMAGE) out.push_back(static_cast<CImageElement*>(e));
        return out;
    }

    QTemporaryDir files;
    CVTInsertPicture* tool = nullptr;
};

} // namespace

// The height follows the pixel size exactly: a small picture of 13 x 7
// pixels is 3231 units high (whole millimetres would make it 3000 or
// 3692), and a picture one pixel wide still gets a sound height.
TEST_F(InsertPictureToolTest, PicturesArePlacedSixtyMillimetresWideAtTheirOwnProportions)
{
    struct Case {
        const char* name;
        int w, h;
        int height;
    };
    const Case cases[] = {
        {"a.png", 800, 600, 4500},
        {"b.png", 13, 7, 3231},
        {"c.bmp", 1, 40, 240000},
        {"d.png", 40, 1, 150},
    };
    int x = 1000;
    for (const Case& c : cases) {
        Chosen() = Picture(c.name, c.w, c.h);
        Click(x, 1000);
        ASSERT_FALSE(Pictures().empty()) << c.name;
        const CImageElement* p = Pictures().back();
        EXPECT_EQ(CornersOf(p), (std::array<CPoint, 4>{CPoint(x, 1000), CPoint(x + 6000, 1000),
                                                        CPoint(x + 6000, 1000 + c.height), CPoint(x, 1000 + c.height)}))
            << c.name;
        EXPECT_EQ(p->GetImageSize(), CSize(c.w, c.h)) << c.name;
        // Leave the editor, so the next click places again.
        tool->Reset();
        x += 100;
    }
    EXPECT_EQ(CVTInsertPicture::PlacedHeight(0, 10), 6000);
}

TEST_F(InsertPictureToolTest, AnUnreadableFileIsRefusedAndNothingIsPlaced)
{
    const QString path = files.filePath(QStringLiteral("broken.png"));
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\x89PNG not really");
    }
    Chosen() = path;
    doc.SetModifiedFlag(false);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->close();
        }
    });
    Click(1000, 1000);
    EXPECT_EQ(shown, LoadResString(36066));
    EXPECT_TRUE(Pictures().empty());
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(tool->IsEditing(), 0);

    // Cancelling the file dialog changes nothing either.
    Chosen() = QString();
    Click(1000, 1000);
    EXPECT_TRUE(Pictures().empty());
    EXPECT_EQ(doc.UndoCount(), 0);
}

TEST_F(InsertPictureToolTest, ThePlacedPictureIsDrawnOnItsCornersAndEditedAtOnce)
{
    Chosen() = Picture("green.png", 600, 300);
    Click(1000, 1000);
    ASSERT_EQ(Pictures().size(), 1u);
    EXPECT_EQ(tool->IsEditing(), 1);
    CImageElement* picture = Pictures()[0];
    EXPECT_EQ(tool->GetEditor()->GetElement(), picture);
    QImage page = RenderPage();
    EXPECT_TRUE(ColourAt(page, 4000, 2500, QColor(0, 160, 0)));
    EXPECT_FALSE(ColourAt(page, 4000, 4500, QColor(0, 160, 0)));

    // Turned a quarter about its centre by the lower-right corner.
    MoveTo(7000, 4000);
    Click(7000, 4000);
    MoveTo(2500, 5500);
    Click(2500, 5500);
    EXPECT_EQ(CornersOf(picture),
              (std::array<CPoint, 4>{CPoint(5500, -500), CPoint(5500, 5500), CPoint(2500, 5500), CPoint(2500, -500)}));
    page = RenderPage();
    // Now standing: green below the old bottom edge, paper right of it.
    EXPECT_TRUE(ColourAt(page, 4000, 5000, QColor(0, 160, 0)));
    EXPECT_FALSE(ColourAt(page, 6500, 2500, QColor(0, 160, 0)));
    EXPECT_EQ(Asked(), 1);
}

TEST_F(InsertPictureToolTest, WhileEditingAClickPicksAnotherPictureOrPlacesTheNext)
{
    CImageElement* other = AddPicture({CPoint(1000, 5000), CPoint(3000, 5000), CPoint(3000, 6000), CPoint(1000, 6000)});
    // A click on a picture with nothing edited places a new one.
    Chosen() = Picture("new.png", 600, 300);
    Click(2000, 5500);
    ASSERT_EQ(Pictures().size(), 2u);
    EXPECT_EQ(Asked(), 1);
    CImageElement* placed = Pictures()[1];
    EXPECT_EQ(tool->GetEditor()->GetElement(), placed);

    // The other picture lies under the placed one there; away from it the
    // click edits the other picture.
    MoveTo(1500, 5900);
    EXPECT_EQ(view->GetToolCursorId(), CVTInsertPicture::kCursorOverPicture);
    EXPECT_EQ(view->GetStatusPrompt(), LoadResString(CVTInsertPicture::kPromptOverPicture));
    Click(1500, 5900);
    EXPECT_EQ(tool->GetEditor()->GetElement(), other);
    EXPECT_EQ(Asked(), 1);

    Click(8000, 1000);
    EXPECT_EQ(Asked(), 2);
    EXPECT_EQ(Pictures().size(), 3u);
    // The right button outside the zoom mode does nothing.
    RightClick(8500, 6500);
    EXPECT_EQ(Pictures().size(), 3u);
    EXPECT_EQ(tool->IsEditing(), 1);
}

TEST_F(InsertPictureToolTest, TheDialogFilterOffersEveryPictureFormatInBothCases)
{
    const QString filter = CVTInsertPicture::DialogFilter();
    EXPECT_TRUE(filter.startsWith(QString::fromUtf8("所有可读格式 (*.bmp *.BMP *.jpg *.JPG")));
    EXPECT_TRUE(filter.contains(QStringLiteral("*.emf *.EMF)")));
    EXPECT_TRUE(filter.endsWith(QString::fromUtf8(";;所有文件 (*)")));
}
