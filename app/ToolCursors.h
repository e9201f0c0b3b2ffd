// The tools' cursors and icons by resource number. The pictures and their
// hot spots come from the cursor table of res/; a number without a picture
// shows the cross hair that drawing needs, and 0 the standard arrow.
#pragma once

#include <QCursor>
#include <QPixmap>

// The cursor of resource number `id`.
QCursor CursorOfId(int id);
// Whether `id` has a picture of its own.
bool HasCursorPicture(int id);
// The tool icon of resource number `id` (null when there is none).
QPixmap ToolIcon(int id);
