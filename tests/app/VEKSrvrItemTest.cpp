#include "app/CVEKSrvrItem.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "res/StringTable.h"

#include "PageContent.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QStandardPaths>

#include <memory>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

std::string Bytes(const QByteArray& data)
{
    return std::string(data.constData(), std::size_t(data.size()));
}

const QMimeData* Clipboard()
{
    return QGuiApplication::clipboard()->mimeData();
}

class VEKSrvrItemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QStandardPaths::setTestModeEnabled(true);
        Settings().SetDefaults();
        ASSERT_TRUE(doc.OnNewDocument());
        page = doc.GetPageSet()->GetCurrentPage();
        square = AddFilledSquare(page, 1000, 1000, 1000, kRed);
        CSharedPoint* a = AddPoint(page, 5000, 5000);
        CSharedPoint* b = AddPoint(page, 9000, 6000);
        line = AddOpenCurve(page, {a, b});
        item = CVEKSrvrItem::GetEmbeddedItem(&doc);
        // Something else on the clipboard to begin with.
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    CVEKDoc doc;
    CPage* page = nullptr;
    CClosedCurveElement* square = nullptr;
    COpenCurveElement* line = nullptr;
    CVEKSrvrItem* item = nullptr;
};

} // namespace

TEST_F(VEKSrvrItemTest, TheDocumentOwnsOneItem)
{
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(CVEKSrvrItem::GetEmbeddedItem(&doc), item);
    EXPECT_EQ(item->parent(), &doc);
    EXPECT_EQ(item->GetDocument(), &doc);
    EXPECT_EQ(CVEKSrvrItem::GetEmbeddedItem(nullptr), nullptr);
}

TEST_F(VEKSrvrItemTest, CopyingAnElementPutsItAloneWhileTheItemHoldsItsWholePage)
{
    item->CopyElementToClipboard(line);

    const QMimeData* data = Clipboard();
    ASSERT_NE(data, nullptr);
    ASSERT_TRUE(data->hasFormat(CDataTransfer::FormatName()));
    const std::unique_ptr<CPageSet> copied = CVEKDoc::LoadPageSetRecord(Bytes(data->data(CDataTransfer::FormatName())));
    ASSERT_NE(copied, nullptr);
    ASSERT_EQ(copied->GetPageAt(0)->GetElementCount(), 1);
    auto* copiedLine = dynamic_cast<COpenCurveElement*>(copied->GetPageAt(0)->ElementAt(0));
    ASSERT_NE(copiedLine, nullptr);
    EXPECT_EQ(NodePositions(*copiedLine), NodePositions(*line));
    EXPECT_TRUE(data->hasImage());

    // The item's own data: the page the element came from, whole.
    ASSERT_TRUE(data->hasFormat(CVEKSrvrItem::NativeFormatName()));
    const std::unique_ptr<CPageSet> native =
        CVEKDoc::LoadPageSetRecord(Bytes(data->data(CVEKSrvrItem::NativeFormatName())));
    ASSERT_NE(native, nullptr);
    EXPECT_EQ(PageRecord(*native->GetPageAt(0)), PageRecord(*page));
    EXPECT_EQ(PageRecord(*item->GetPage()), PageRecord(*page));
}

TEST_F(VEKSrvrItemTest, NothingToCopyLeavesTheClipboardAlone)
{
    item->CopyElementToClipboard(nullptr);
    item->CopySelectionToClipboard(CElementList());
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    EXPECT_FALSE(Clipboard()->hasFormat(CDataTransfer::FormatName()));
}

TEST_F(VEKSrvrItemTest, PastingIntoTheDocumentIsOneUndoStep)
{
    CElementList selection;
    selection.AddTail(square);
    selection.AddTail(line);
    item->CopySelectionToClipboard(selection);
    EXPECT_EQ(item->CanPaste(), TRUE);

    CVEKDoc other;
    ASSERT_TRUE(other.OnNewDocument());
    CVEKSrvrItem* otherItem = CVEKSrvrItem::GetEmbeddedItem(&other);
    QString message;
    EXPECT_EQ(otherItem->PasteIntoDocument(&message), CDataTransfer::Pasted);
    EXPECT_TRUE(message.isEmpty());
    EXPECT_EQ(other.UndoCount(), 1);
    EXPECT_TRUE(other.IsModified());
    const CPage& pasted = *other.GetPageSet()->GetCurrentPage();
    ASSERT_EQ(pasted.GetElementCount(), 2);

    ASSERT_EQ(other.Undo(), 1);
    EXPECT_EQ(other.GetPageSet()->GetCurrentPage()->GetElementCount(), 0);
}

TEST_F(VEKSrvrItemTest, RefusedDataLeavesTheDocumentAndItsUndoListAlone)
{
    auto data = std::make_unique<QMimeData>();
    data->setData(CDataTransfer::FormatName(), QByteArray("\x8A\xDF\x56\x9C\x6B\x00", 6));
    QGuiApplication::clipboard()->setMimeData(data.release());
    doc.SetModifiedFlag(false);
    const std::string before = PageRecord(*page);

    QString message;
    EXPECT_EQ(item->PasteIntoDocument(&message), CDataTransfer::PasteRefused);
    EXPECT_EQ(message, LoadResString(Ids::IDS_BAD_FILE));
    EXPECT_EQ(doc.UndoCount(), 0);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(PageRecord(*doc.GetPageSet()->GetCurrentPage()), before);
}

TEST_F(VEKSrvrItemTest, TheItemDrawsItsPageFromTheTopLeftOfItsElements)
{
    CElementList selection;
    selection.AddTail(square);
    item->CopySelectionToClipboard(selection);

    CSize extent;
    QImage image(1200, 1200, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(&painter);
        EXPECT_EQ(item->OnDraw(&dc, extent), TRUE);
    }
    const CRect bounds = item->GetPage()->GetBoundRect();
    EXPECT_EQ(extent, CSize(bounds.Width() + 20, bounds.Height() + 20));
    // The square's inside, one device unit per hundredth of a millimetre.
    EXPECT_EQ(image.pixelColor(1000 - bounds.left + 500, 1000 - bounds.top + 500), QColor(Qt::red));

    CSize size;
    EXPECT_EQ(item->OnGetExtent(CVEKSrvrItem::DVASPECT_CONTENT, size), TRUE);
    EXPECT_EQ(size, CSize(3000, 3000));
    EXPECT_EQ(item->OnGetExtent(4, size), FALSE);
}

TEST_F(VEKSrvrItemTest, TheItemsPageSetGoesThroughAnArchive)
{
    item->CopyElementToClipboard(square);
    CArchive out;
    item->Serialize(out);

    CVEKDoc other;
    CVEKSrvrItem* otherItem = CVEKSrvrItem::GetEmbeddedItem(&other);
    CArchive in(out.Buffer());
    otherItem->Serialize(in);
    EXPECT_EQ(PageRecord(*otherItem->GetPage()), PageRecord(*page));

    // A damaged record keeps what the item had.
    CArchive damaged(out.Buffer().substr(0, 40));
    EXPECT_THROW(otherItem->Serialize(damaged), CArchiveError);
    EXPECT_EQ(PageRecord(*otherItem->GetPage()), PageRecord(*page));
}
