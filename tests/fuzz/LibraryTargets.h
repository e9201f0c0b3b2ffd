// What the fuzz targets of the library folder do with one input: the
// plotter reader, the drawing-library file and its preview. The fuzzers
// and the replay tests of their findings both call them. Reading must end
// in a result, never a crash or a hang, and what is read must keep the
// readers' promises.
#pragma once

#include "FuzzSupport.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglElementBuilder.h"
#include "library/CHpglReader.h"
#include "library/CLibraryContent.h"
#include "library/CLibraryPreviewReader.h"
#include "library/CLibraryReader.h"
#include "library/CLibraryThumbnail.h"
#include "library/CLibraryWriter.h"
#include "library/HpglEncodedPolyline.h"
#include "library/HpglState.h"
#include "model/CPage.h"
#include "model/CPageSet.h"

#include <QBuffer>
#include <QByteArray>

#include <string>

namespace fuzz {

// The bytes as a plotter file, built and placed on a page, which is drawn;
// the encoded-polyline decoder also takes the bytes whole.
inline bool Hpgl(const std::string& bytes)
{
    DecodeHpglPolyline(bytes);
    HpglState state;
    if (CHpglReader::ReadBytes(bytes.data(), bytes.size(), state) != CHpglReader::Result::Ok) {
        if (!state.primitives.empty() || !state.labels.empty()) throw Broken("a refused file left content behind");
        return false;
    }
    CHpglDrawing drawing;
    if (drawing.Build(state) != CHpglDrawing::Result::Ok) return false;
    const CRect bounds = drawing.Bounds();
    if (bounds.left != 0 || bounds.top != 0 || bounds.right > CHpglDrawing::kMaxExtent ||
        bounds.bottom > CHpglDrawing::kMaxExtent || bounds.right < 0 || bounds.bottom < 0)
        throw Broken("drawing bounds out of range");
    for (const CHpglPolyline& polyline : drawing.Polylines()) {
        if (polyline.points.size() < 2) throw Broken("a polyline of fewer than two points");
        for (const CPoint& p : polyline.points)
            if (p.x < 0 || p.y < 0 || p.x > bounds.right || p.y > bounds.bottom)
                throw Broken("a point outside the drawing's bounds");
    }
    CPageSet pageSet;
    pageSet.InsertPageAtFront();
    HpglElementStyle style;
    style.font.lfHeight = 300;
    const std::size_t added = CHpglElementBuilder(style).AddToPage(drawing, pageSet.GetPageAt(0)).size();
    if (added > drawing.Polylines().size() + drawing.Labels().size()) throw Broken("more elements than drawn");
    DrawPages(pageSet);
    return true;
}

// The bytes as a library file read whole. A refused file leaves nothing
// behind; a drawing that was read is placed on a page, drawn, written again,
// and what was written reads back and writes the same bytes once more.
inline bool LibraryFile(const std::string& bytes)
{
    CLibraryContent content;
    if (CLibraryReader::ReadBytes(bytes, 0, content) != CLibraryReader::Result::Ok) {
        if (content.GetElementCount() != 0 || content.GetPointCount() != 0)
            throw Broken("a refused library file left content behind");
        return false;
    }
    if (!content.CanPlaceAt(CPoint(0, 0))) return true;
    const int count = content.GetElementCount();
    CPageSet pageSet;
    pageSet.InsertPageAtFront();
    const std::vector<CGraphElement*> placed = content.PlaceOn(pageSet.GetPageAt(0), CPoint(0, 0));
    if (int(placed.size()) != count || pageSet.GetPageAt(0)->GetElementCount() != count)
        throw Broken("not every element was placed");
    DrawPages(pageSet);
    const std::string once = CLibraryWriter::Build(placed);
    CLibraryContent again;
    if (CLibraryReader::ReadBytes(once, 0, again) != CLibraryReader::Result::Ok)
        throw Broken("a written library file does not read back");
    // A text measured again may now reach beyond where a drawing is placed.
    if (!again.CanPlaceAt(CPoint(0, 0))) return true;
    CPageSet second;
    second.InsertPageAtFront();
    if (CLibraryWriter::Build(again.PlaceOn(second.GetPageAt(0), CPoint(0, 0))) != once)
        throw Broken("a library file read back writes other bytes");
    return true;
}

// The bytes as the head of a library file, read from memory and from a
// device (which passes picture pixels over), and drawn as a thumbnail.
inline bool LibraryPreview(const std::string& bytes)
{
    CLibraryPreview fromBytes;
    const CLibraryPreviewReader::Result read = CLibraryPreviewReader::ReadBytes(bytes, fromBytes);
    QByteArray raw(bytes.data(), int(bytes.size()));
    QBuffer buffer(&raw);
    buffer.open(QIODevice::ReadOnly);
    CLibraryPreview fromDevice;
    if (CLibraryPreviewReader::ReadDevice(buffer, fromDevice) != read ||
        fromDevice.outlines != fromBytes.outlines || fromDevice.texts.size() != fromBytes.texts.size() ||
        fromDevice.pictures.size() != fromBytes.pictures.size() || fromDevice.tables != fromBytes.tables ||
        fromDevice.complete != fromBytes.complete)
        throw Broken("a library head reads differently from a file");
    const QImage image = CLibraryThumbnail::Render(QStringLiteral("fuzz.vkl"), read, fromBytes);
    if (image.width() != CLibraryThumbnail::kCellSize || image.height() != CLibraryThumbnail::kBandHeight)
        throw Broken("a thumbnail of the wrong size");
    return read == CLibraryPreviewReader::Result::Ok;
}

} // namespace fuzz
