// The picture of one cell of the library browser, drawn from the head of a
// file and never from its elements: a library file's preview (outlines,
// texts, picture marks and table grids on the 60-step grid), the plotter
// icon for a plotter file, a cross for anything else.
//
// The picture is the cell's upper band, 80 x 60 pixels; the preview's grid
// starts 10 pixels in from the left and 1 down. Whatever a damaged file
// says, nothing is drawn outside the band, no font is larger than
// kMaxFontPixels, and a table grid whose step rounds to 0 is drawn as its
// frame alone.
#pragma once

#include "library/CLibraryPreview.h"
#include "library/CLibraryPreviewReader.h"

#include "platform/Types.h"

#include <QImage>
#include <QString>

class CDC;

class CLibraryThumbnail {
public:
    static constexpr int kCellSize = 80;
    static constexpr int kBandHeight = 60;
    static constexpr int kPreviewLeft = 10;
    static constexpr int kPreviewTop = 1;
    static constexpr int kMaxFontPixels = 120;
    // Lines of a text drawn at most; the band holds no more.
    static constexpr int kMaxTextLines = 64;

    enum class Kind { Library, Plotter, Other };

    // Reads the file's head and draws the band; transparent where nothing
    // is drawn.
    static QImage Render(const QString& path);
    // The same from a preview already read, with the reader's result.
    static QImage Render(const QString& path, CLibraryPreviewReader::Result read, const CLibraryPreview& preview);

    // The preview with the grid's origin at `origin` (device pixels), in the
    // dc's pen; false when an outline without points was met (the cell
    // then also shows its icon or cross).
    static bool DrawPreview(CDC& dc, const CLibraryPreview& preview, const CPoint& origin);
    static void DrawPlotterIcon(CDC& dc, const CPoint& at);
    static void DrawPicturePlaceholder(CDC& dc, const CLibraryPreview::Picture& picture, const CPoint& origin);
    static void DrawCross(CDC& dc, const CRect& area);

    // Plotter files by their name's ending, in any case.
    static bool IsPlotterName(const QString& path);
};
