// The pictures of the buttons of the commands that are not tools (a
// tool's picture is in its row, CToolDescriptor): one line drawing per
// command on a 16 x 16 grid (IconStrokes.h), scaled to the requested size.
#pragma once

#include <QIcon>

// The picture of a command; an empty icon for a command without one.
QIcon CommandIcon(int commandId, int size = 16);
