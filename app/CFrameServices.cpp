#include "app/CFrameServices.h"

#include <QWidget>

namespace {

CFrameServices* g_applicationFrame = nullptr;

} // namespace

CFrameServices* CFrameServices::Of(const QWidget* widget)
{
    if (widget)
        if (auto* frame = dynamic_cast<CFrameServices*>(widget->window())) return frame;
    return g_applicationFrame;
}

CVEKView* CFrameServices::EditingViewOf(const QWidget* widget)
{
    CFrameServices* frame = Of(widget);
    return frame ? frame->GetEditingView() : nullptr;
}

void CFrameServices::SetApplicationFrame(CFrameServices* frame)
{
    g_applicationFrame = frame;
}
