// The process-drawing tool's exchange with files and the line types:
// placing library and plotter files, writing the library file, saving a
// custom line type.
#include "library/tool/CVTProcessDrawing.h"

#include "library/tool/CHpglImport.h"
#include "app/CFrameServices.h"
#include "settings/CSystemSettings.h"
#include "settings/FileSaving.h"
#include "app/CVEKView.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglElementBuilder.h"
#include "library/CHpglReader.h"
#include "library/CLibraryContent.h"
#include "library/CLibraryReader.h"
#include "library/CLibraryWriter.h"
#include "library/HpglState.h"

#include "geometry/Distance.h"
#include "model/CCurveElement.h"
#include "model/CLineAttr.h"
#include "model/CPage.h"
#include "platform/CArchive.h"
#include "platform/CodePage.h"
#include "res/StringTable.h"

#include <QApplication>
#include <QMessageBox>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <optional>

namespace {

constexpr int IDS_LIBRARY_NOT_WRITTEN = 36200;
constexpr int IDS_LIBRARY_OUT_OF_RANGE = 36201;
constexpr int IDS_LIBRARY_TOO_NEW = 36202;
// The width and gap of a line type made from a selection.
constexpr int kLineTypeWidth = 300;
constexpr int kLineTypeGap = 100;

bool EndsWith(const QString& path, const char* suffix)
{
    return path.endsWith(QLatin1String(suffix), Qt::CaseInsensitive);
}

int PlotterMessage(CHpglReader::Result result)
{
    switch (result) {
    case CHpglReader::Result::Ok: return 0;
    case CHpglReader::Result::CannotOpen: return Ids::IDS_CANNOT_OPEN;
    case CHpglReader::Result::NotHpgl: return Ids::IDS_NOT_HPGL;
    case CHpglReader::Result::TooLarge: return Ids::IDS_HPGL_TOO_MUCH;
    }
    return Ids::IDS_NOT_HPGL;
}

// The offset that moves `from` onto `to`, when it fits in page
// coordinates.
std::optional<CPoint> OffsetBetween(const CPoint& from, const CPoint& to)
{
    const std::int64_t dx = std::int64_t(to.x) - from.x;
    const std::int64_t dy = std::int64_t(to.y) - from.y;
    if (dx < INT_MIN / 2 || dx > INT_MAX / 2 || dy < INT_MIN / 2 || dy > INT_MAX / 2) return std::nullopt;
    return CPoint(int(dx), int(dy));
}

// The top-left corner of a plotter drawing at page scale: the least x and
// y of its lines, or of its labels when it has no lines.
CPoint PlotterTopLeft(const CHpglDrawing& drawing, const CHpglElementBuilder& builder)
{
    bool any = false;
    CPoint least;
    const auto take = [&](const CPoint& p) {
        least = any ? CPoint(std::min(least.x, p.x), std::min(least.y, p.y)) : p;
        any = true;
    };
    for (const CHpglPolyline& polyline : drawing.Polylines())
        for (const CPoint& p : polyline.points) take(builder.ScalePoint(p.x, p.y));
    if (!any)
        for (const CHpglBuiltLabel& label : drawing.Labels())
            take(builder.ScalePoint(RoundToInt(label.position.x), RoundToInt(label.position.y)));
    return least;
}

} // namespace

void CVTProcessDrawing::ShowMessage(int id) const
{
    QMessageBox::critical(m_pView, LoadResString(Ids::IDS_APP_TITLE), LoadResString(id));
}

int CVTProcessDrawing::ReadLibraryFile()
{
    const QString start = GbkToQString(Settings().m_strLibraryFolder);
    const QString path = m_chooseFile ? m_chooseFile(start) : QString();
    if (path.isEmpty()) return 0;
    const CPoint at(std::min(m_ptAnchor.x, m_ptCurrent.x), std::min(m_ptAnchor.y, m_ptCurrent.y));
    if (EndsWith(path, "vkl")) {
        Settings().m_strLibraryFolder = QStringToGbk(path);
        return PlaceLibraryFile(path, at);
    }
    if (EndsWith(path, "plt")) return PlacePlotterFile(path, at);
    QApplication::beep();
    return 0;
}

// The file is read whole before anything changes: only a drawing that was
// read to its end reaches the page, as one undo step.
int CVTProcessDrawing::PlaceLibraryFile(const QString& path, const CPoint& at)
{
    CPage* page = CurrentPage();
    if (!page) return 0;
    CLibraryContent content;
    switch (CLibraryReader::ReadFile(path, page->GetMaxLevel(), content)) {
    case CLibraryReader::Result::Ok: break;
    case CLibraryReader::Result::CannotOpen: ShowMessage(Ids::IDS_CANNOT_OPEN); return 0;
    case CLibraryReader::Result::NotLibrary: QApplication::beep(); return 0;
    case CLibraryReader::Result::Unsupported: ShowMessage(IDS_LIBRARY_TOO_NEW); return 0;
    case CLibraryReader::Result::Damaged: ShowMessage(Ids::IDS_BAD_FILE); return 0;
    }
    if (content.GetElementCount() == 0) {
        QApplication::beep();
        return 0;
    }
    const std::optional<CPoint> offset = OffsetBetween(content.GetBounds().TopLeft(), at);
    if (!offset || !content.CanPlaceAt(*offset)) {
        ShowMessage(IDS_LIBRARY_OUT_OF_RANGE);
        return 0;
    }
    SaveUndoState();
    m_selected = content.PlaceOn(page, *offset);
    InvalidateView();
    return 1;
}

// The whole plotter drawing, closed lines and labels included, moves so
// that its top-left corner lies on the insertion point.
int CVTProcessDrawing::PlacePlotterFile(const QString& path, const CPoint& at)
{
    CPage* page = CurrentPage();
    if (!page) return 0;
    HpglState state;
    if (const int message = PlotterMessage(CHpglReader::ReadFile(path, state))) {
        ShowMessage(message);
        return 0;
    }
    CHpglDrawing drawing;
    switch (drawing.Build(state)) {
    case CHpglDrawing::Result::Ok: break;
    case CHpglDrawing::Result::Empty: ShowMessage(Ids::IDS_HPGL_NOTHING_DRAWN); return 0;
    case CHpglDrawing::Result::TooLarge: ShowMessage(Ids::IDS_HPGL_TOO_LARGE); return 0;
    }
    const CHpglElementBuilder builder(CHpglImport::StyleFromSettings());
    const std::optional<CPoint> offset = OffsetBetween(PlotterTopLeft(drawing, builder), at);
    if (!offset) {
        ShowMessage(IDS_LIBRARY_OUT_OF_RANGE);
        return 0;
    }
    // Lines that shrink to a point at page scale are left out: a drawing
    // of nothing else adds nothing and costs no undo step.
    BeginUndoStep();
    std::vector<CGraphElement*> placed = builder.AddToPage(drawing, page, *offset);
    if (placed.empty()) {
        DropUndoStep();
        ShowMessage(Ids::IDS_HPGL_NOTHING_DRAWN);
        return 0;
    }
    CommitUndoStep();
    m_selected = std::move(placed);
    InvalidateView();
    return 1;
}

// Saved as a document is, and refused with the same message: only over a
// regular file, through a new file renamed over it.
bool CVTProcessDrawing::WriteLibraryFile(const QString& path)
{
    if (!m_bSelectionDone || m_selected.empty()) return false;
    QString error;
    try {
        if (SaveWholeFile(path, CLibraryWriter::Build(m_selected), &error)) return true;
    } catch (const CArchiveError& e) {
        error = LoadResString(IDS_LIBRARY_NOT_WRITTEN) + QLatin1Char('\n') + QString::fromUtf8(e.what());
    }
    QMessageBox::critical(m_pView, LoadResString(Ids::IDS_APP_TITLE), error);
    return false;
}

void CVTProcessDrawing::SaveAsLineType()
{
    CLineTypeShapeArray shapes;
    for (CGraphElement* e : m_selected) {
        if (e->GetType() != ELEMENT_CURVE) continue;
        CLineTypeShapeList curveShapes;
        static_cast<CCurveElement*>(e)->GetLineShapes(curveShapes);
        for (const CLineTypeShape& shape : curveShapes) shapes.push_back(shape);
    }
    const CLineAttr lineType = CLineAttr::Custom(kLineTypeWidth, kLineTypeGap, shapes);
    CFrameServices* frame = Frame();
    // A pattern without width cannot be laid along a line.
    const bool added = frame ? frame->AddLineType(lineType) : Settings().AddLineType(lineType);
    if (!added) QApplication::beep();
}
