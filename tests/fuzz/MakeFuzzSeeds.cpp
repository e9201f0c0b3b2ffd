// Writes a small corpus of sound inputs for every fuzz target, made by the
// program's own writers, so that fuzzing starts from records that load and
// reaches deep into them at once:  make_fuzz_seeds <folder>  fills
// <folder>/<Target>/ for each target.
#include "app/CDataTransfer.h"
#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "library/CLibraryWriter.h"
#include "library/HpglEncodedPolyline.h"
#include "model/CClosedCurveElement.h"
#include "model/CFillStyle.h"
#include "model/CImageElement.h"
#include "model/COleArchiveContext.h"
#include "model/COleObjectElement.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "model/CTextElement.h"
#include "model/CTextPairElement.h"
#include "model/CVEKCntrItem.h"
#include "platform/CArchive.h"
#include "platform/CCompoundFile.h"
#include "platform/CDC.h"
#include "tables/CTableElement.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace {

QDir g_out;
QDir g_scratch;

void Save(const char* target, const char* name, const std::string& bytes)
{
    g_out.mkpath(QString::fromLatin1(target));
    QFile file(g_out.filePath(QStringLiteral("%1/%2").arg(QString::fromLatin1(target), QString::fromLatin1(name))));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size())) {
        std::fprintf(stderr, "cannot write %s/%s\n", target, name);
        std::exit(1);
    }
}

void Append16(std::string& s, std::int64_t v)
{
    for (int i = 0; i < 2; ++i) s.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
}

void Append32(std::string& s, std::int64_t v)
{
    for (int i = 0; i < 4; ++i) s.push_back(char((std::uint64_t(v) >> (8 * i)) & 0xFF));
}

QImage FourColours(int w, int h)
{
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, qRgba(x < w / 2 ? 255 : 0, y < h / 2 ? 255 : 0, 128, (x + y) % 3 ? 255 : 128));
    return image;
}

std::string Encode(const QImage& image, const char* format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) return std::string();
    return bytes.toStdString();
}

// A 24-bit device-independent bitmap: a BMP file without its file header.
std::string Dib(const QImage& image)
{
    return Encode(image.convertToFormat(QImage::Format_RGB888), "bmp").substr(14);
}

// A presentation stream caching the bitmap for the content aspect.
std::string PresentationStream(const std::string& dib)
{
    std::string s;
    Append32(s, -1);
    Append32(s, 8);          // CF_DIB
    Append32(s, 4);          // no target device
    Append32(s, 1);          // content aspect
    Append32(s, -1);
    Append32(s, 2);
    Append32(s, 0);
    Append32(s, 1000);
    Append32(s, 800);
    Append32(s, std::int64_t(dib.size()));
    return s + dib;
}

std::string CompObjStream(const std::string& userType, const std::string& progId)
{
    std::string s(28, '\0');
    s[0] = 1;
    s[2] = char(0xFE);
    s[3] = char(0xFF);
    Append32(s, std::int64_t(userType.size() + 1));
    s += userType;
    s.push_back('\0');
    Append32(s, 0);
    Append32(s, std::int64_t(progId.size() + 1));
    s += progId;
    s.push_back('\0');
    return s;
}

std::string OleStream(bool linked)
{
    std::string s;
    Append32(s, 0x02000001);
    Append32(s, linked ? 1 : 0);
    Append32(s, 0);
    Append32(s, 0);
    return s;
}

CCompoundEntry ObjectStorage()
{
    CCompoundEntry storage;
    storage.isStorage = true;
    storage.classId = {0x20, 0x08, 0x02, 0, 0, 0, 0, 0, 0xC0, 0, 0, 0, 0, 0, 0, 0x46};
    auto stream = [&storage](const char* name, const std::string& data) {
        CCompoundEntry e;
        e.name = name;
        e.data = data;
        storage.children.push_back(e);
    };
    stream("\001CompObj", CompObjStream("Worksheet", "Excel.Sheet.8"));
    stream("\001Ole", OleStream(false));
    stream("\002OlePres000", PresentationStream(Dib(FourColours(4, 3))));
    return storage;
}

CCurveNodeList Nodes(CPage* page, std::initializer_list<int> numbers, int kind)
{
    CCurveNodeList nodes;
    for (int n : numbers) nodes.AddTail(new CCurveNode(page->GetPointAt(n), kind));
    return nodes;
}

// One page with every readable element kind, another with a little.
void FillPageSet(CPageSet& pageSet, const CVEKCntrItemPtr& item)
{
    while (pageSet.GetPageCount() < 2) pageSet.AppendPage();
    CPage* page = pageSet.GetPageAt(0);
    const int xy[][2] = {{2000, 2000}, {8000, 2500}, {9000, 7000}, {3000, 8000}, {5000, 5000}, {6000, 1000}};
    for (const auto& p : xy) page->AddPoint(new CSharedPoint(page, p[0], p[1]));
    page->AddPoint(new CSharedPoint(page, page->GetPointAt(4), page->GetPointAt(0), page->GetPointAt(1)));

    page->AddElement(new COpenCurveElement(page, 1, CLineAttr(1, 20, 60, 30), RGB(200, 0, 0),
                                           Nodes(page, {0, 4, 2}, NODE_SMOOTH), 1, 200, 30.0, 2, 150,
                                           25.0));
    page->AddElement(new COpenCurveElement(page, 2, CLineAttr(30), RGB(0, 0, 0),
                                           Nodes(page, {5, 6}, NODE_CORNER), 0, 0, 0.0, 0, 0, 0.0));
    page->AddElement(new CClosedCurveElement(page, 1, CLineAttr(10), RGB(0, 0, 255),
                                             Nodes(page, {0, 1, 2, 3}, NODE_CORNER), nullptr,
                                             RGB(255, 255, 0)));
    page->AddElement(new CClosedCurveElement(page, 3, CLineAttr(5), RGB(0, 128, 0),
                                             Nodes(page, {0, 4, 3}, NODE_SMOOTH), nullptr, 3,
                                             RGB(255, 0, 0), RGB(0, 0, 255), CPoint(2000, 2000),
                                             CPoint(8000, 8000), 0.5, 0.7, CPoint(5000, 5000),
                                             RGB(255, 255, 255), 45.0, 100));
    page->AddElement(new CClosedCurveElement(page, 2, CLineAttr(5), RGB(0, 0, 0),
                                             Nodes(page, {1, 2, 4}, NODE_CORNER), nullptr,
                                             FourColours(4, 4), CSize(500, 500), CPoint(100, 100),
                                             1.0, 10.0));
    page->AddElement(new CClosedCurveElement(page, 2, CLineAttr(5), RGB(0, 0, 0),
                                             Nodes(page, {2, 3, 4}, NODE_CORNER), nullptr, CFillStyle()));

    const QString png = g_scratch.filePath(QStringLiteral("picture.png"));
    FourColours(3, 2).save(png, "PNG");
    page->AddElement(new CImageElement(page, 1, png, 1000, 12000, 4000, 3000));

    LogFont font = CSystemSettings::DefaultTextFont();
    page->AddElement(new CTextElement(page, 4, CTextFont("Front \xC7\xB0\xC6\xAC", font, RGB(0, 0, 0)), 1500,
                                      17000, 1));
    font.lfEscapement = 300;
    page->AddElement(new CTextElement(page, 4, CTextFont("A\r\nBC", font, RGB(0, 0, 255)), 6000, 17000, 2));
    page->AddElement(new CTextPairElement(page, 1));

    auto* table = new CTableElement(page, 2, 3, 3, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4,
                                    CSystemSettings::DefaultTextFont(), RGB(0, 0, 0), RGB(255, 255, 255),
                                    CRect(2000, 20000, 11000, 22100));
    table->SetCellText(1, 1, "\xB2\xBF\xCE\xBB"); // 部位
    table->SetCellText(2, 2, "70\r\n72");
    table->SetCellDiagonal({1, 1}, true, false, RGB(0, 0, 0), 25);
    CScreenDC dc;
    table->MergeCells(&dc, {{3, 1}, {3, 2}});
    table->MergeCells(&dc, {{1, 3}, {2, 3}});
    page->AddElement(table);

    auto object = new COleObjectElement(page, 5, item);
    object->SetRect(CRect(10000, 10000, 14000, 13000));
    page->AddElement(object);

    CPage* second = pageSet.GetPageAt(1);
    second->AddPoint(new CSharedPoint(second, 100, 100));
    second->AddPoint(new CSharedPoint(second, 900, 400));
    second->AddElement(new COpenCurveElement(second, 0, CLineAttr(2), RGB(0, 0, 0),
                                             Nodes(second, {0, 1}, NODE_CORNER), 0, 0, 0.0, 0, 0, 0.0));
    second->AddElement(new COleObjectElement(second, 0, item));  // the same object twice
}

std::string PageSetRecord(const CPageSet& pageSet)
{
    return CVEKDoc::StorePageSetRecord(pageSet);
}

// A placeable WMF of 960 x 480 twips: a red and a blue rectangle, a line
// and a text.
std::string Wmf()
{
    std::string records;
    auto record = [&records](int function, std::initializer_list<int> params) {
        Append32(records, 3 + std::int64_t(params.size()));
        Append16(records, function);
        for (int p : params) Append16(records, p);
    };
    record(0x020B, {0, 0});
    record(0x020C, {480, 960});
    record(0x02FC, {0, 0x00FF, 0, 0});
    record(0x012D, {0});
    record(0x02FA, {0, 1, 0, 0, 0});
    record(0x012D, {1});
    record(0x041B, {480, 480, 0, 0});
    record(0x02FC, {0, 0, 0x00FF, 0});
    record(0x012D, {2});
    record(0x041B, {480, 960, 0, 480});
    record(0x0214, {10, 10});          // MOVETO
    record(0x0213, {400, 900});        // LINETO
    record(0x0521, {2, 0x4241, 100, 100});  // TEXTOUT "AB"
    record(0x0000, {});
    std::string header;
    Append16(header, 1);
    Append16(header, 9);
    Append16(header, 0x0300);
    Append32(header, std::int64_t(18 + records.size()) / 2);
    Append16(header, 3);
    Append32(header, 8);
    Append16(header, 0);
    std::string placeable;
    Append32(placeable, 0x9AC6CDD7);
    Append16(placeable, 0);
    for (int v : {0, 0, 960, 480}) Append16(placeable, v);
    Append16(placeable, 1440);
    Append32(placeable, 0);
    int checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= (std::uint8_t(placeable[2 * i]) | (std::uint8_t(placeable[2 * i + 1]) << 8));
    Append16(placeable, checksum);
    return placeable + header + records;
}

// An EMF of 64 x 32 pixels at 96 dpi: two rectangles, an ellipse and a
// polyline.
std::string Emf()
{
    std::string body;
    int count = 0;
    auto record = [&body, &count](int type, std::initializer_list<std::int64_t> values) {
        Append32(body, type);
        Append32(body, 8 + 4 * std::int64_t(values.size()));
        for (std::int64_t v : values) Append32(body, v);
        ++count;
    };
    record(39, {1, 0, 0x0000FF, 0});
    record(37, {1});
    record(37, {0x80000008});
    record(43, {0, 0, 32, 32});
    record(39, {2, 0, 0xFF0000, 0});
    record(37, {2});
    record(43, {32, 0, 64, 32});
    record(42, {10, 5, 50, 25});                           // ELLIPSE
    record(4, {0, 0, 64, 32, 3, 0, 0, 30, 20, 60, 5});     // POLYLINE
    record(14, {0, 16, 20});
    std::string header;
    Append32(header, 1);
    Append32(header, 88);
    for (int v : {0, 0, 63, 31}) Append32(header, v);
    for (int v : {0, 0, 1693, 846}) Append32(header, v);
    Append32(header, 0x464D4520);
    Append32(header, 0x10000);
    Append32(header, std::int64_t(88 + body.size()));
    Append32(header, count + 1);
    Append16(header, 3);
    Append16(header, 0);
    for (int v : {0, 0, 0}) Append32(header, v);
    for (int v : {1024, 768, 270, 203}) Append32(header, v);
    return header + body;
}

// The smallest GIF: one 2 x 2 frame of two colours (Qt reads GIF but does
// not write it).
std::string Gif()
{
    const unsigned char bytes[] = {
        'G', 'I', 'F', '8', '9', 'a', 2, 0, 2, 0, 0x80, 0, 0,  // screen, 2-colour table
        0xFF, 0, 0, 0, 0, 0xFF,                                // red, blue
        0x2C, 0, 0, 0, 0, 2, 0, 2, 0, 0,                        // image descriptor
        2, 2, 0x44, 0x34, 0,                                   // LZW minimum 2, data
        0x3B};
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    g_out = QDir(QString::fromLocal8Bit(argv[1]));
    g_out.mkpath(QStringLiteral("."));
    g_out.mkpath(QStringLiteral(".scratch"));
    g_scratch = QDir(g_out.filePath(QStringLiteral(".scratch")));

    Settings().SetDefaults();
    Settings().SetDefaultLineTypes();

    auto item = std::make_shared<CVEKCntrItem>();
    item->SetItemNumber(1);
    item->SetStorage(ObjectStorage());

    // Page-set records: the smallest sound one, and one of everything.
    {
        CPageSet empty;
        empty.AppendPage();
        Save("PageSet", "one-empty-page", PageSetRecord(empty));
        CPageSet full;
        FillPageSet(full, item);
        Save("PageSet", "every-kind", PageSetRecord(full));
        Save("Document", "backup-record", PageSetRecord(full));

        // Each element alone, after the kind and version bytes the element
        // target reads first, without the header the page reads.
        const int kinds[] = {ELEMENT_CURVE, ELEMENT_CURVE, ELEMENT_IMAGE, ELEMENT_TEXT, ELEMENT_TEXTPAIR,
                             ELEMENT_OLEOBJECT, ELEMENT_TABLE};
        int n = 0;
        CPage* page = full.GetPageAt(0);
        for (POSITION pos = page->GetFirstElementPosition(); pos;) {
            CGraphElement* element = page->GetNextElement(pos);
            CArchive ar;
            COleArchiveContext objects(ar);
            element->Store(ar);
            const bool closed = element->GetType() == ELEMENT_CURVE && ar.Buffer()[8] != 0;
            int selector = 0;
            while (kinds[selector] != element->GetType() || (selector == 0 && closed)) ++selector;
            const std::size_t header = element->GetType() == ELEMENT_CURVE ? 12 : 8;
            std::string seed;
            seed.push_back(char(selector));
            seed.push_back(char(PAGESET_VERSION - 96));
            seed += ar.Buffer().substr(header);
            Save("Element", ("element-" + std::to_string(n++)).c_str(), seed);
            // The table target reads the table record after its header.
            if (element->GetType() == ELEMENT_TABLE) Save("Table", "measurement-table", ar.Buffer().substr(8));
        }
    }

    // Tables alone: a plain one, and a row merged across a column.
    {
        CPageSet pageSet;
        pageSet.AppendPage();
        CTableElement plain(pageSet.GetPageAt(0), 0, 2, 2, RGB(0, 0, 255), 2, 1, CRect(10, 0, 10, 0), 0,
                            CSystemSettings::DefaultTextFont(), RGB(0, 0, 0), RGB(255, 255, 0), CRect(0, 0, 2000, 1000));
        CArchive ar;
        plain.Store(ar);
        Save("Table", "plain-2x2", ar.Buffer().substr(8));
        CScreenDC dc;
        plain.InsertRow(2, 0);
        plain.MergeCells(&dc, {{2, 1}, {3, 1}});
        plain.SplitCell(&dc, 1, 2, 1, 3);
        CArchive merged;
        plain.Store(merged);
        Save("Table", "merged-and-split", merged.Buffer().substr(8));
    }

    // The document file, with its object in an "Embedding" storage.
    {
        CVEKDoc doc;
        doc.OnNewDocument();
        FillPageSet(*doc.GetPageSet(), item);
        const QString path = g_scratch.filePath(QStringLiteral("doc.vek"));
        QString error;
        if (!doc.OnSaveDocument(path, &error)) {
            std::fprintf(stderr, "cannot save the document: %s\n", qPrintable(error));
            return 1;
        }
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const std::string bytes = file.readAll().toStdString();
        Save("Document", "document", bytes);
        Save("CompoundFile", "document", bytes);
    }

    // Embedded-object items with their storage images: one, then a second
    // item and a reference back to the first.
    {
        std::string image, error;  // the storage image alone
        CCompoundFile::Build(ObjectStorage(), image, error);
        Save("CompoundFile", "object-storage", image);

        CArchive one;
        COleArchiveContext::WriteItem(one, item);
        Save("CntrItem", "one-item", one.Buffer());
        CArchive three;
        COleArchiveContext objects(three);
        auto other = std::make_shared<CVEKCntrItem>();
        other->SetItemNumber(2);
        COleArchiveContext::WriteItem(three, item);
        COleArchiveContext::WriteItem(three, other);
        COleArchiveContext::WriteItem(three, item);
        COleArchiveContext::WriteItem(three, nullptr);
        Save("CntrItem", "items-and-reference", three.Buffer());

        const std::string streams = PresentationStream(Dib(FourColours(4, 3))) + "|||" +
                                    CompObjStream("Worksheet", "Excel.Sheet.8") + "|||" + OleStream(true);
        Save("OlePresentation", "picture-type-link", streams);
        Save("OlePresentation", "palette-bitmap",
             PresentationStream(Dib(FourColours(3, 5)).substr(0)) + "||||||");
    }

    // Clipboard blocks: copied elements (the first byte even), a text.
    {
        CPageSet full;
        FillPageSet(full, item);
        CElementList selection;
        CPage* page = full.GetPageAt(0);
        for (POSITION pos = page->GetFirstElementPosition(); pos;) selection.AddTail(page->GetNextElement(pos));
        const std::unique_ptr<CPageSet> copied = CDataTransfer::MakeClipboardPageSet(selection);
        Save("Clipboard", "copied-elements", std::string(1, '\0') + PageSetRecord(*copied));
        Save("Clipboard", "text", "\x01" "Front \xE5\x89\x8D\xE7\x89\x87\nline two");
    }

    // Library files: the curves, pictures and texts of a full page, and the
    // texts alone (both targets read the same files).
    {
        CPageSet full;
        FillPageSet(full, item);
        std::vector<CGraphElement*> everything;
        std::vector<CGraphElement*> texts;
        CPage* page = full.GetPageAt(0);
        for (POSITION pos = page->GetFirstElementPosition(); pos;) {
            CGraphElement* element = page->GetNextElement(pos);
            everything.push_back(element);
            if (element->GetType() == ELEMENT_TEXT) texts.push_back(element);
        }
        for (const char* target : {"LibraryFile", "LibraryPreview"}) {
            Save(target, "every-kind", CLibraryWriter::Build(everything));
            Save(target, "texts-only", CLibraryWriter::Build(texts));
        }
    }

    // Plotter files: every command the reader knows, encoded polylines in
    // both bases, and printer-language wrapping (the real files of
    // tests/data/real/hpgl are seeds too).
    Save("Hpgl", "every-command",
         "IN;SP1;LT2;PU100,100;PD200,100,200,200;PA300,300;PR10,-10;CI50;AA0,0,90;AR10,10,-45,10;AT5,5,10,0;"
         "RT1,1,2,0;EA400,400;ER-50,50;RA10,10;RR5,5;EW40,0,90;WG40,90,270;IP0,0,4000,4000;SC0,100,0,100,1;"
         "IR10,10,90,90;SC0,10,0,10,2;IW0,0,100,100;RO90;CT1;CI20,2;SI0.2,0.3;DI1,1;LO16;LBlabel\x03"
         "DT#,0;LBown#CO\"note\";PG;");
    {
        std::string encoded = "IN;PE:" + EncodeHpglNumber(2) + ">" + EncodeHpglNumber(1) + "<=" + EncodeHpglNumber(10) +
                              EncodeHpglNumber(20);
        for (int v : {100, 0, 0, 100, -100, 0, 0, -100}) encoded += EncodeHpglNumber(v);
        encoded += ";PE7";
        for (int v : {300, -300, 7, 9}) encoded += EncodeHpglNumber(v, true);
        Save("Hpgl", "encoded-polylines", encoded + ";");
    }
    Save("Hpgl", "printer-wrapped",
         "\x1b%-12345X@PJL ENTER LANGUAGE=HPGL2\r\n\x1b" "E\x1b%0BIN;PD0,0,100,100;\x1b%0A\x1b*b4Wabcd\x1b%0BPU;"
         "\x1b.(;\x1b.I81;;17:PD-12.5,3.25;");

    // The main window's placement in the profile, as written and as a list.
    Save("WindowPos", "normal", "[Settings]\nWindowPos=\"0,1,-1,-1,-1,-1,120,80,1320,900\"\n");
    Save("WindowPos", "maximized-list", "[General]\nBarState=@ByteArray(\\0)\n[Settings]\nWindowPos=2,3,-1,-1,-8,-8,0,0,1600,1000\n");

    // Phrase lists: as the Windows program wrote one, and a damaged one.
    Save("PhraseList", "windows", "\xD0\xE4\xBF\xDA\r\nfront piece\r\n  spaced  \r\n\r\nlast");
    Save("PhraseList", "damaged", std::string("A\0B\r\n\xFF\xC1\r\n", 9) + std::string(1200, 'x'));

    // The settings files as the program writes them.
    {
        CArchive config;
        Settings().StoreConfig(config);
        Save("Config", "defaults", config.Buffer());
        CArchive lineTypes;
        Settings().StoreLineTypes(lineTypes);
        Save("LineType", "defaults", lineTypes.Buffer());
    }

    // Pictures of every format the picture dialog offers.
    {
        const QImage image = FourColours(5, 4);
        for (const char* format : {"png", "bmp", "jpg", "tiff"}) {
            const std::string bytes = Encode(image, format);
            if (!bytes.empty()) Save("Picture", (std::string("picture.") + format).c_str(), bytes);
        }
        Save("Picture", "picture.gif", Gif());
        Save("Picture", "picture.wmf", Wmf());
        Save("Picture", "picture.emf", Emf());
    }

    QDir(g_scratch).removeRecursively();
    return 0;
}
