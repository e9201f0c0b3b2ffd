#include "app/ToolCursors.h"

#include "res/CursorTable.h"

// The pictures are compiled into a static library, whose resources register
// only when asked to.
static void InitToolImageResources()
{
    Q_INIT_RESOURCE(toolimages);
}

namespace {

void RegisterResources()
{
    static const bool registered = (InitToolImageResources(), true);
    Q_UNUSED(registered);
}

} // namespace

bool HasCursorPicture(int id)
{
    return FindCursorSpec(id) != nullptr;
}

QCursor CursorOfId(int id)
{
    if (id == 0) return QCursor(Qt::ArrowCursor);
    const CursorSpec* spec = FindCursorSpec(id);
    if (!spec) return QCursor(Qt::CrossCursor);
    // Read at each change of the tool's cursor only, which is cheap; no
    // cursor outlives the application this way.
    RegisterResources();
    const QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(id));
    return picture.isNull() ? QCursor(Qt::CrossCursor) : QCursor(picture, spec->hotX, spec->hotY);
}

QPixmap ToolIcon(int id)
{
    RegisterResources();
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(id));
}
