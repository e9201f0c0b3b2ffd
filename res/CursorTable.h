// The tools' cursors by resource number: where each picture's hot spot
// lies and what it shows. The pictures are res/cursors/<number>.png, 32 x
// 32 pixels, drawn by res/MakeImages.cpp from this table; the view loads
// them by number (app/ToolCursors.h).
#pragma once

#include <vector>

struct CursorSpec {
    int id;
    // The pixel that points, in the 32 x 32 picture.
    int hotX;
    int hotY;
    // What the picture shows, for the reader of this table.
    const char* what;
};

// Every cursor, by number.
const std::vector<CursorSpec>& CursorSpecs();
// The cursor `id`, or null when there is none.
const CursorSpec* FindCursorSpec(int id);

// Pictures that are not cursors but are drawn by the same program, by
// their icon number (res/icons/<number>.png).
struct IconSpec {
    int id;
    int width;
    int height;
    const char* what;
};
const std::vector<IconSpec>& ToolIconSpecs();
