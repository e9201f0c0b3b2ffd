#include "app/ToolCursors.h"

#include "res/CursorTable.h"

#include <QHash>

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
    // Made once: the view asks at every change of the tool's cursor.
    static QHash<int, QCursor> cache;
    const auto it = cache.constFind(id);
    if (it != cache.constEnd()) return *it;
    RegisterResources();
    const QPixmap picture(QStringLiteral(":/cursors/%1.png").arg(id));
    const QCursor cursor = picture.isNull() ? QCursor(Qt::CrossCursor) : QCursor(picture, spec->hotX, spec->hotY);
    cache.insert(id, cursor);
    return cursor;
}

QPixmap ToolIcon(int id)
{
    RegisterResources();
    return QPixmap(QStringLiteral(":/icons/%1.png").arg(id));
}
