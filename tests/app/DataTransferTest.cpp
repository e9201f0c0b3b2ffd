#include "app/CDataTransfer.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "model/CTextElement.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include "PageContent.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <memory>

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

class DataTransferTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Settings().SetDefaults();
        source.InsertPageAtFront();
        page = source.GetPageAt(0);
        far1 = AddPoint(page, 50000, 50000);
        square = AddFilledSquare(page, 1000, 1000, 1000, kRed);
        inside = AddPoint(page, 1500, 1500);
        far2 = AddPoint(page, -3000, 400);
        other = AddOpenCurve(page, {far1, far2});
    }

    static CElementList Selection(std::initializer_list<CGraphElement*> elements)
    {
        CElementList list;
        for (CGraphElement* e : elements) list.AddTail(e);
        return list;
    }

    // What a copy of the selection puts on the clipboard.
    static std::unique_ptr<QMimeData> Copied(const CElementList& selection)
    {
        auto data = std::make_unique<QMimeData>();
        CDataTransfer().CopyToClipboard(selection, data.get());
        return data;
    }

    static std::unique_ptr<QMimeData> WithRecord(const std::string& record)
    {
        auto data = std::make_unique<QMimeData>();
        data->setData(CDataTransfer::FormatName(), QByteArray(record.data(), qsizetype(record.size())));
        return data;
    }

    static CPageSet* NewDocument(std::unique_ptr<CPageSet>& holder)
    {
        holder = std::make_unique<CPageSet>();
        holder->InsertPageAtFront();
        return holder.get();
    }

    CPageSet source;
    CPage* page = nullptr;
    CSharedPoint* far1 = nullptr;
    CSharedPoint* inside = nullptr;
    CSharedPoint* far2 = nullptr;
    CClosedCurveElement* square = nullptr;
    COpenCurveElement* other = nullptr;
};

} // namespace

TEST_F(DataTransferTest, CopyCarriesTheSelectionAndOnlyThePointsInsideItsBounds)
{
    const std::unique_ptr<CPageSet> copy = CDataTransfer::MakeClipboardPageSet(Selection({square}));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetPageCount(), 1);
    EXPECT_EQ(copy->GetCurrentPageIndex(), 0);
    const CPage& copied = *copy->GetPageAt(0);
    ASSERT_EQ(copied.GetElementCount(), 1);

    // The square's corners and the free point inside, in the source's order.
    std::vector<CPoint> points;
    for (const CSharedPoint* p : copied.Points()) points.push_back(p->GetPosition());
    const std::vector<CPoint> expected{{1000, 1000}, {2000, 1000}, {2000, 2000}, {1000, 2000}, {1500, 1500}};
    EXPECT_EQ(points, expected);

    auto* curve = dynamic_cast<CClosedCurveElement*>(copied.ElementAt(0));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(NodePositions(*curve), NodePositions(*square));
    EXPECT_EQ(curve->GetFillKind(), FILL_SOLID);
    EXPECT_EQ(curve->GetStartColor(), kRed);
    for (const CCurveNode* node : curve->Nodes()) EXPECT_EQ(copied.FindPoint(node->GetPoint()), 1);
    // Nothing of the source changed.
    EXPECT_EQ(page->GetPointCount(), 7);
    EXPECT_EQ(page->GetElementCount(), 2);
}

TEST_F(DataTransferTest, MirroredPointsTravelAsPlainPointsWhereTheyStand)
{
    CSharedPoint* axis1 = AddPoint(page, 1200, 0);
    CSharedPoint* axis2 = AddPoint(page, 1200, 10000);
    auto* mirrored = new CSharedPoint(page, inside, axis1, axis2); // stands at (900, 1500)
    page->AddPoint(mirrored);
    auto* line = AddOpenCurve(page, {inside, mirrored});

    const std::unique_ptr<CPageSet> copy = CDataTransfer::MakeClipboardPageSet(Selection({line}));
    ASSERT_NE(copy, nullptr);
    const CPage& copied = *copy->GetPageAt(0);
    ASSERT_EQ(copied.GetElementCount(), 1);
    auto* curve = dynamic_cast<CCurveElement*>(copied.ElementAt(0));
    ASSERT_NE(curve, nullptr);
    EXPECT_EQ(NodePositions(*curve), (std::vector<CPoint>{{1500, 1500}, {900, 1500}}));
    for (const CSharedPoint* p : copied.Points()) EXPECT_FALSE(p->IsMirrored());
}

TEST_F(DataTransferTest, AMirrorSourceTravelsOnlyWithTheCurveItNames)
{
    CSharedPoint* a = AddPoint(page, 3000, 3000);
    CSharedPoint* b = AddPoint(page, 4000, 3000);
    COpenCurveElement* original = AddOpenCurve(page, {a, b});
    COpenCurveElement* mirror = AddOpenCurve(page, {b, a});
    mirror->SetMirrorSource(original);

    struct Case {
        const char* name;
        CElementList selection;
        bool linked;
    };
    const Case cases[] = {
        {"both", Selection({original, mirror}), true},
        {"mirror alone", Selection({mirror}), false},
    };
    for (const Case& c : cases) {
        const std::unique_ptr<CPageSet> copy = CDataTransfer::MakeClipboardPageSet(c.selection);
        const CPage& copied = *copy->GetPageAt(0);
        auto* copiedMirror = dynamic_cast<CCurveElement*>(copied.ElementAt(copied.GetElementCount() - 1));
        ASSERT_NE(copiedMirror, nullptr) << c.name;
        EXPECT_EQ(copiedMirror->GetMirrorSource(), c.linked ? copied.ElementAt(0) : nullptr) << c.name;
    }
}

TEST_F(DataTransferTest, CopyPutsTheRecordAndAPictureOfTheSelection)
{
    const std::unique_ptr<QMimeData> data = Copied(Selection({square}));
    ASSERT_TRUE(data->hasFormat(CDataTransfer::FormatName()));
    const QByteArray bytes = data->data(CDataTransfer::FormatName());
    const std::unique_ptr<CPageSet> back = CVEKDoc::LoadPageSetRecord(std::string(bytes.constData(), std::size_t(bytes.size())));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->GetPageCount(), 1);
    EXPECT_EQ(back->GetPageAt(0)->GetElementCount(), 1);
    EXPECT_EQ(back->GetPaperSize(), CPageSet().GetPaperSize());

    ASSERT_TRUE(data->hasImage());
    const QImage picture = qvariant_cast<QImage>(data->imageData());
    // 10 mm at 96 pixels per inch (about 38 pixels) and a border of 10.
    EXPECT_NEAR(picture.width(), 38 + 20, 2);
    EXPECT_NEAR(picture.height(), 38 + 20, 2);
    EXPECT_TRUE(Near(picture.pixelColor(picture.width() / 2, picture.height() / 2), kRed, 0));
    EXPECT_TRUE(Near(picture.pixelColor(2, 2), RGB(255, 255, 255), 0));
}

TEST_F(DataTransferTest, AnEmptySelectionCopiesNothing)
{
    const std::unique_ptr<QMimeData> data = Copied(CElementList());
    EXPECT_TRUE(data->formats().isEmpty());
}

TEST_F(DataTransferTest, PastingIntoAnotherDocumentGivesTheCopiedRecord)
{
    const std::unique_ptr<QMimeData> data = Copied(Selection({square, other}));
    std::unique_ptr<CPageSet> target;
    CPageSet* doc = NewDocument(target);

    CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(data.get());
    ASSERT_EQ(paste.result, CDataTransfer::Pasted);
    const std::string copiedRecord = PageRecord(*paste.pageSet->GetCurrentPage());
    ASSERT_EQ(CDataTransfer::InsertPasteData(doc, paste), CDataTransfer::Pasted);

    EXPECT_EQ(PageRecord(*doc->GetCurrentPage()), copiedRecord);
    // Element by element the paste is the source: same records but for
    // the point numbers, which the nodes' positions stand for here.
    const CPage& pasted = *doc->GetCurrentPage();
    ASSERT_EQ(pasted.GetElementCount(), 2);
    auto* pastedSquare = dynamic_cast<CClosedCurveElement*>(pasted.ElementAt(0));
    auto* pastedLine = dynamic_cast<COpenCurveElement*>(pasted.ElementAt(1));
    ASSERT_NE(pastedSquare, nullptr);
    ASSERT_NE(pastedLine, nullptr);
    EXPECT_EQ(NodePositions(*pastedSquare), NodePositions(*square));
    EXPECT_EQ(NodePositions(*pastedLine), NodePositions(*other));
    EXPECT_EQ(pastedSquare->GetBoundRect(), square->GetBoundRect());
    EXPECT_EQ(pastedLine->GetBoundRect(), other->GetBoundRect());
}

TEST_F(DataTransferTest, PastedCurvesStandOnNewPointsOfAPageThatHasPointsAlready)
{
    std::unique_ptr<CPageSet> target;
    CPageSet* doc = NewDocument(target);
    CPage* existing = doc->GetCurrentPage();
    CSharedPoint* e1 = AddPoint(existing, 7, 7);
    CSharedPoint* e2 = AddPoint(existing, 70, 7);
    AddPoint(existing, 700, 7);
    COpenCurveElement* old = AddOpenCurve(existing, {e1, e2});
    const std::string oldRecord = ElementRecord(*old);

    const std::unique_ptr<QMimeData> data = Copied(Selection({square}));
    CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(data.get());
    ASSERT_EQ(CDataTransfer::InsertPasteData(doc, paste), CDataTransfer::Pasted);

    EXPECT_EQ(existing->GetPointCount(), 3 + 5);
    ASSERT_EQ(existing->GetElementCount(), 2);
    EXPECT_EQ(ElementRecord(*old), oldRecord);
    auto* pasted = dynamic_cast<CCurveElement*>(existing->ElementAt(1));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(NodePositions(*pasted), NodePositions(*square));
    for (const CCurveNode* node : pasted->Nodes()) EXPECT_GE(existing->GetPointIndex(node->GetPoint()), 3);
}

TEST_F(DataTransferTest, PastingTwiceGivesTwoIndependentCopiesInThePlace)
{
    std::unique_ptr<CPageSet> target;
    CPageSet* doc = NewDocument(target);
    const std::unique_ptr<QMimeData> data = Copied(Selection({square}));
    for (int i = 0; i < 2; ++i) {
        CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(data.get());
        ASSERT_EQ(CDataTransfer::InsertPasteData(doc, paste), CDataTransfer::Pasted);
    }
    const CPage& pasted = *doc->GetCurrentPage();
    ASSERT_EQ(pasted.GetElementCount(), 2);
    auto* first = dynamic_cast<CCurveElement*>(pasted.ElementAt(0));
    auto* second = dynamic_cast<CCurveElement*>(pasted.ElementAt(1));
    EXPECT_EQ(NodePositions(*first), NodePositions(*second));
    for (const CCurveNode* node : first->Nodes()) EXPECT_EQ(second->UsesPoint(node->GetPoint()), 0);

    // Moving a point of the first copy leaves the second where it was.
    first->GetFirstNode()->GetPoint()->MoveTo(0, 0, 1);
    EXPECT_EQ(second->GetFirstNode()->GetPosition(), CPoint(1000, 1000));
}

TEST_F(DataTransferTest, DamagedElementDataIsRefusedAndTheDocumentStaysAsItWas)
{
    const std::unique_ptr<QMimeData> good = Copied(Selection({square}));
    const QByteArray bytes = good->data(CDataTransfer::FormatName());
    const std::string record(bytes.constData(), std::size_t(bytes.size()));
    auto patched = [&record](std::size_t offset, std::uint32_t value) {
        std::string r = record;
        for (int i = 0; i < 4; ++i) r[offset + std::size_t(i)] = char((value >> (8 * i)) & 0xFF);
        return r;
    };
    // The header: magic, version, a word, 17 reserved, units, paper,
    // four margins, reserved, then the page count; each page opens with
    // its highest level and its point count.
    constexpr std::size_t kPageCount = 110;
    constexpr std::size_t kPointCount = kPageCount + 4 + 4;
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"empty", std::string()},
        {"truncated", record.substr(0, record.size() / 2)},
        {"last byte missing", record.substr(0, record.size() - 1)},
        {"wrong magic", patched(0, 0x12345678)},
        {"huge page count", patched(kPageCount, 0x7FFFFFFF)},
        {"no pages", patched(kPageCount, 0)},
        {"huge point count", patched(kPointCount, 0x7FFFFFFF)},
        {"negative point count", patched(kPointCount, 0xFFFFFFFF)},
        {"text instead", std::string("hello, world")},
    };

    std::unique_ptr<CPageSet> target;
    CPageSet* doc = NewDocument(target);
    AddFilledSquare(doc->GetCurrentPage(), 5, 5, 500, kRed);
    const std::string before = PageRecord(*doc->GetCurrentPage());
    for (const Case& c : cases) {
        const std::unique_ptr<QMimeData> data = WithRecord(c.bytes);
        CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(data.get());
        EXPECT_EQ(paste.result, CDataTransfer::PasteRefused) << c.name;
        EXPECT_EQ(paste.message, LoadResString(Ids::IDS_BAD_FILE)) << c.name;
        EXPECT_EQ(CDataTransfer::InsertPasteData(doc, paste), CDataTransfer::PasteRefused) << c.name;

        QGuiApplication::clipboard()->setMimeData(WithRecord(c.bytes).release());
        QString message;
        EXPECT_EQ(CDataTransfer().Paste(doc, &message), CDataTransfer::PasteRefused) << c.name;
        EXPECT_FALSE(message.isEmpty()) << c.name;
        EXPECT_EQ(PageRecord(*doc->GetCurrentPage()), before) << c.name;
    }
}

TEST_F(DataTransferTest, TextBecomesOneTextElementAtTheOriginInTheDefaultFont)
{
    Settings().m_crFontColor = RGB(0, 128, 0);
    struct Case {
        const char* name;
        QString text;
        std::string stored;
        QString lost;
    };
    const Case cases[] = {
        {"ascii", QStringLiteral("hello"), "hello", QString()},
        {"chinese", QStringLiteral("中文"), "\xD6\xD0\xCE\xC4", QString()},
        {"lines", QStringLiteral("a\nb"), "a\nb", QString()},
        {"emoji", QStringLiteral("a😀b😀"), "a?b?", QStringLiteral("😀")},
        {"outside gbk", QStringLiteral("x\u0E01y"), "x?y", QStringLiteral("\u0E01")},
        {"half a pair", QString(QChar(0xD800)) + QStringLiteral("z"), "?z", QString(QChar::ReplacementCharacter)},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CPageSet> target;
        CPageSet* doc = NewDocument(target);
        auto data = std::make_unique<QMimeData>();
        data->setText(c.text);
        CDataTransfer::PasteData paste = CDataTransfer::ReadPasteData(data.get());
        ASSERT_EQ(paste.result, CDataTransfer::Pasted) << c.name;
        EXPECT_EQ(paste.message.isEmpty(), c.lost.isEmpty()) << c.name;
        if (!c.lost.isEmpty()) EXPECT_TRUE(paste.message.contains(c.lost)) << c.name;
        ASSERT_EQ(CDataTransfer::InsertPasteData(doc, paste), CDataTransfer::Pasted) << c.name;

        const CPage& pasted = *doc->GetCurrentPage();
        ASSERT_EQ(pasted.GetElementCount(), 1) << c.name;
        auto* text = dynamic_cast<CTextElement*>(pasted.ElementAt(0));
        ASSERT_NE(text, nullptr) << c.name;
        EXPECT_EQ(text->GetTextFont().GetText(), c.stored) << c.name;
        EXPECT_EQ(text->GetOrigin(), CPoint(0, 0)) << c.name;
        EXPECT_EQ(text->GetTextFont().GetColor(), RGB(0, 128, 0)) << c.name;
        EXPECT_EQ(text->GetTextFont().GetLogFont().lfHeight, Settings().m_lfDefaultFont.lfHeight) << c.name;
    }
}

TEST_F(DataTransferTest, PicturesAndEmptyTextPasteNothing)
{
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    struct Case {
        const char* name;
        bool text;
        bool image;
        QString content;
        BOOL canPaste;
    };
    const Case cases[] = {
        {"picture", false, true, QString(), TRUE},
        {"text with a picture", true, true, QStringLiteral("caption"), TRUE},
        {"empty text", true, false, QString(), TRUE},
        {"nothing", false, false, QString(), FALSE},
    };
    for (const Case& c : cases) {
        auto data = std::make_unique<QMimeData>();
        if (c.text) data->setText(c.content);
        if (c.image) data->setImageData(picture);
        EXPECT_EQ(CDataTransfer::CanPaste(data.get()), c.canPaste) << c.name;
        QGuiApplication::clipboard()->setMimeData(data.release());
        std::unique_ptr<CPageSet> target;
        CPageSet* doc = NewDocument(target);
        EXPECT_EQ(CDataTransfer().Paste(doc), CDataTransfer::PasteNothing) << c.name;
        EXPECT_EQ(doc->GetCurrentPage()->GetElementCount(), 0) << c.name;
    }
}

TEST_F(DataTransferTest, TheClipboardCarriesACopyToAnotherDocument)
{
    auto data = std::make_unique<QMimeData>();
    CDataTransfer().CopyToClipboard(Selection({other}), data.get());
    QGuiApplication::clipboard()->setMimeData(data.release());
    EXPECT_EQ(CDataTransfer().CanPaste(), TRUE);

    std::unique_ptr<CPageSet> target;
    CPageSet* doc = NewDocument(target);
    EXPECT_EQ(CDataTransfer().Paste(doc), CDataTransfer::Pasted);
    ASSERT_EQ(doc->GetCurrentPage()->GetElementCount(), 1);
    auto* pasted = dynamic_cast<COpenCurveElement*>(doc->GetCurrentPage()->ElementAt(0));
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(NodePositions(*pasted), NodePositions(*other));
}
