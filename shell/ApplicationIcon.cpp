#include "shell/ApplicationIcon.h"

// The picture is compiled into a static library, whose resources register
// only when asked to.
static void InitApplicationIconResource()
{
    Q_INIT_RESOURCE(appicon);
}

QIcon ApplicationIcon()
{
    static const bool registered = (InitApplicationIconResource(), true);
    Q_UNUSED(registered);
    return QIcon(QStringLiteral(":/icons/%1.png").arg(IDR_MAINFRAME));
}
