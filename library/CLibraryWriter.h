// Writes a selection of elements as a drawing-library file (.vkl): the head
// with the union of the elements' bounds, a coarse preview of the drawing
// on a 60-step grid for the browser, then the shared points of the curves
// and each element's own library record.
#pragma once

#include "library/CLibraryPreview.h"

#include "platform/Types.h"

#include <string>
#include <vector>

class CGraphElement;

class CLibraryWriter {
public:
    // Where a page point lands on the preview grid: the longer side of the
    // drawing spans 0 to 60, the shorter one is centred on 30.
    struct Grid {
        double cx = 0;
        double cy = 0;
        // Page units per grid step; never below 1, so a drawing without
        // width or height still maps.
        double unit = 1;
        CPoint Map(const CPoint& p) const;
    };
    static Grid GridFor(const CRect& bounds);

    // The union of the elements' bounds (elements without area take no
    // part).
    static CRect UnionBounds(const std::vector<CGraphElement*>& elements);

    // The file's bytes for the elements in list order. Only curves,
    // pictures, texts and tables are written; other kinds are left out.
    // They are saved as every file of the program is, by SaveWholeFile.
    static std::string Build(const std::vector<CGraphElement*>& elements);
};
