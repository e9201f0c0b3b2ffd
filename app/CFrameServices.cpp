#include "app/CFrameServices.h"

#include <QWidget>

CFrameServices* CFrameServices::Of(const QWidget* widget)
{
    return widget ? dynamic_cast<CFrameServices*>(widget->window()) : nullptr;
}

CVEKView* CFrameServices::EditingViewOf(const QWidget* widget)
{
    CFrameServices* frame = Of(widget);
    return frame ? frame->GetEditingView() : nullptr;
}
