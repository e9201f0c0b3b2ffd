// The pictures of the tool-bar buttons, drawn rather than loaded: one line
// drawing per command on a 16 x 16 grid, scaled to the requested size so
// that the design bar can be built at the three sizes the screen width
// asks for.
#pragma once

#include <QIcon>

// The picture of a command; an empty icon for a command without one.
QIcon CommandIcon(int commandId, int size = 16);
// Whether CommandIcon has a picture for the command.
bool HasCommandIcon(int commandId);
