// What the fuzz targets of the model do with one input; the fuzzers and
// the replay tests of their findings both call these. Each returns whether
// the input loaded. Damage must show as CArchiveError (or a refusal), so
// any other exception passes through as a finding, and a broken promise
// of what loaded throws Broken.
#pragma once

#include "FuzzSupport.h"

#include "model/COleArchiveContext.h"
#include "model/COlePresentation.h"
#include "model/CGraphElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CPictureFile.h"
#include "model/CPixelBlock.h"
#include "model/CSharedPoint.h"
#include "model/CVEKCntrItem.h"
#include "model/ElementFactory.h"
#include "platform/CArchive.h"
#include "platform/CCompoundFile.h"

#include <memory>
#include <string>
#include <vector>

namespace fuzz {

namespace detail {

inline std::unique_ptr<CPageSet> LoadPageSet(const std::string& bytes)
{
    auto pageSet = std::make_unique<CPageSet>();
    try {
        CArchive ar(bytes);
        COleArchiveContext objects(ar);
        if (pageSet->Load(ar) != 1) return nullptr;
    } catch (const CArchiveError&) {
        return nullptr;
    }
    return pageSet;
}

inline std::string StorePageSet(const CPageSet& pageSet)
{
    CArchive ar;
    COleArchiveContext objects(ar);
    pageSet.Store(ar);
    return ar.Buffer();
}

struct ElementKind {
    int code;
    bool closed;
};
// Tables are made only where the table library is linked; elsewhere the
// factory refuses them like any record it cannot read.
constexpr ElementKind kElementKinds[] = {
    {ELEMENT_CURVE, false}, {ELEMENT_CURVE, true},     {ELEMENT_IMAGE, false},
    {ELEMENT_TEXT, false},  {ELEMENT_TEXTPAIR, false}, {ELEMENT_OLEOBJECT, false},
    {ELEMENT_TABLE, false},
};

inline CPage* PageWithPoints(CPageSet& pageSet)
{
    pageSet.AppendPage();
    CPage* page = pageSet.GetPageAt(0);
    const int xy[8][2] = {{1000, 1000}, {5000, 1000}, {5000, 4000},   {1000, 4000},
                          {3000, 2500}, {0, 0},       {20000, 28000}, {3000, 6000}};
    for (const auto& p : xy) page->AddPoint(new CSharedPoint(page, p[0], p[1]));
    return page;
}

// One element onto the page; null when the record is damaged.
inline CGraphElement* LoadElement(CPage* page, CArchive& ar, int kind, int level, bool closed)
{
    try {
        std::unique_ptr<CGraphElement> element = CreateElement(page, kind, level, closed);
        element->Load(ar);
        CGraphElement* loaded = element.get();
        page->AddElement(element.release());
        return loaded;
    } catch (const CArchiveError&) {
        return nullptr;
    }
}

} // namespace detail

// The page-set record: the body of a document file, the backup file and
// the clipboard, loaded the way the document does (a fresh page set, the
// embedded objects' data inside the record). What loads is drawn, stored,
// and must load again from what was stored, and store the same.
inline bool PageSet(const std::string& bytes)
{
    std::unique_ptr<CPageSet> pageSet = detail::LoadPageSet(bytes);
    if (!pageSet) return false;
    DrawPages(*pageSet);
    const std::string stored = detail::StorePageSet(*pageSet);
    std::unique_ptr<CPageSet> again = detail::LoadPageSet(stored);
    if (!again) throw Broken("a stored page set cannot be read back");
    if (detail::StorePageSet(*again) != stored) throw Broken("storing a page set again changes it");
    return true;
}

// Each element kind's record on its own, on a page of eight shared points
// for curve nodes to name. The first byte picks the kind, the second the
// page set's record version (older versions lack fields); the rest is the
// record after the header the page reads. A loaded element is measured,
// drawn, hit-tested, stored, and must load again from what it stored.
inline bool Element(const std::string& bytes)
{
    if (bytes.size() < 2) return false;
    constexpr std::size_t kinds = sizeof detail::kElementKinds / sizeof detail::kElementKinds[0];
    const detail::ElementKind kind = detail::kElementKinds[std::uint8_t(bytes[0]) % kinds];
    const int version = 96 + std::uint8_t(bytes[1]) % 12;

    CPageSet pageSet(version);
    CPage* page = detail::PageWithPoints(pageSet);
    CArchive ar(bytes.substr(2));
    COleArchiveContext objects(ar);
    CGraphElement* element = detail::LoadElement(page, ar, kind.code, 1, kind.closed);
    if (!element) return false;

    element->GetBoundRect();
    element->ContainsPoint(3000, 2500);
    element->UsesPoint(page->GetPointAt(0));
    DrawPages(pageSet);

    CArchive out;
    {
        COleArchiveContext stored(out);
        element->Store(out);
    }
    CPageSet current;
    CPage* again = detail::PageWithPoints(current);
    CArchive in(out.Buffer());
    COleArchiveContext reread(in);
    try {
        std::int32_t storedKind = 0, level = 0, closed = 0;
        in >> storedKind >> level;
        if (storedKind == ELEMENT_CURVE) in >> closed;
        if (storedKind != kind.code || (closed != 0) != kind.closed) throw Broken("an element stored another kind");
        if (!detail::LoadElement(again, in, storedKind, level, closed != 0))
            throw Broken("a stored element cannot be read back");
    } catch (const CArchiveError& e) {
        throw Broken(std::string("a stored element cannot be read back: ") + e.what());
    }
    return true;
}

// Picture files placed on a sheet or used as fill textures: BMP, JPEG,
// PNG, GIF and TIFF through Qt's readers, WMF through libwmf and EMF
// through libemf2svg, each told by its content. A picture that reads
// becomes an element's pixels, so it is stored and loaded as those too.
inline bool Picture(const std::string& bytes)
{
    const InputFile file(bytes, ".pic");
    CPixelBlock pixels;
    if (!CPictureFile::Read(file.Path(), pixels)) {
        if (!pixels.IsEmpty()) throw Broken("a refused picture left pixels");
        return false;
    }
    if (pixels.Width() > CPictureFile::kMaxSide || pixels.Height() > CPictureFile::kMaxSide)
        throw Broken("a picture larger than a pixel block can be read back");
    CArchive out;
    pixels.Store(out);
    CArchive in(out.Buffer());
    CPixelBlock again;
    try {
        again.Load(in);
    } catch (const CArchiveError& e) {
        throw Broken(std::string("a picture's pixels cannot be read back: ") + e.what());
    }
    return true;
}

// Embedded-object items as the records outside a document file hold them
// (backup file, clipboard, library): the archive's object protocol, the
// item record and the compound-file image of the object's storage, whose
// cached picture and type name are then shown. Items are read one after
// another from the same archive, so references to earlier ones are met.
inline bool CntrItem(const std::string& bytes)
{
    CArchive ar(bytes);
    COleArchiveContext objects(ar);
    std::vector<CVEKCntrItemPtr> items;
    try {
        while (ar.BytesLeft() > 0 && items.size() < 16) items.push_back(COleArchiveContext::ReadItem(ar));
    } catch (const CArchiveError&) {
    }
    if (items.empty()) return false;

    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(&painter);
    CArchive out;
    COleArchiveContext stored(out);
    for (const CVEKCntrItemPtr& item : items) {
        COleArchiveContext::WriteItem(out, item);
        if (!item) continue;
        item->GetStorage();
        item->Presentation();
        item->IsLinked();
        item->Draw(&dc, CRect(1, 1, 31, 31));
    }
    painter.end();

    CArchive in(out.Buffer());
    COleArchiveContext reread(in);
    try {
        for (const CVEKCntrItemPtr& item : items)
            if (!item != !COleArchiveContext::ReadItem(in)) throw Broken("items read back differ");
    } catch (const CArchiveError& e) {
        throw Broken(std::string("items written cannot be read: ") + e.what());
    }
    return true;
}

// What is shown of an embedded object: its cached picture (a presentation
// stream holding a device-independent bitmap), its type name and its link
// flag, from the streams of its storage. The input is cut into the three
// streams at the first two "|||" marks, so each can be reached without
// going through a whole compound file.
inline bool OlePresentation(const std::string& bytes)
{
    static const char* const names[] = {"\002OlePres000", "\001CompObj", "\001Ole"};
    CCompoundEntry storage;
    storage.isStorage = true;
    std::size_t start = 0;
    for (int i = 0; i < 3 && start <= bytes.size(); ++i) {
        std::size_t end = i < 2 ? bytes.find("|||", start) : std::string::npos;
        if (end == std::string::npos) end = bytes.size();
        CCompoundEntry stream;
        stream.name = names[i];
        stream.data = bytes.substr(start, end - start);
        storage.children.push_back(std::move(stream));
        start = end + 3;
    }
    const COlePresentation presentation(storage);
    COlePresentation::DecodeDib(bytes);
    return !presentation.GetPicture().isNull();
}

} // namespace fuzz
