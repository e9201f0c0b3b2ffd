// One tool as the view knows it: the command that chooses it, the tip of
// its button, the cursor and status prompt it shows on becoming current,
// the picture of its button, and how it is made. The tool factory hands
// the view one row per tool (CToolFactory::Tools); a row's place in that
// list is the tool's number.
#pragma once

#include "app/IconStrokes.h"
#include "platform/Types.h"

#include <memory>

class CDesignTool;
class CVEKView;

struct CToolDescriptor {
    // Makes the tool working in `view`.
    using Maker = std::unique_ptr<CDesignTool> (*)(CVEKView* view);
    // Draws the button picture on a 16 x 16 grid (PictureIcon renders it at
    // any size).
    using Picture = IconStrokes::Picture;

    UINT command;
    // The tool tip and the menu entry, UTF-8.
    const char* tip;
    // The cursor resource and the status prompt (string number) the view
    // shows when the tool becomes current, before the tool's own Activate.
    int cursor;
    UINT prompt;
    Picture picture;
    Maker make;
    // The number of the tool inside the symmetric-drawing tool, where the
    // drawing tools become its sub-tools; -1 for a tool that is none.
    int subTool = -1;
};
