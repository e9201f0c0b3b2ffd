#include "ui/ToolbarFocus.h"

#include "app/CFrameServices.h"
#include "app/CVEKView.h"

void ToolbarControlFocusIn(const QWidget* control)
{
    if (CVEKView* view = CFrameServices::EditingViewOf(control)) view->SetRefocusFlag(FALSE);
}

void ToolbarControlFocusOut(const QWidget* control)
{
    if (CVEKView* view = CFrameServices::EditingViewOf(control)) view->SetRefocusFlag(TRUE);
}

void FocusEditingView(const QWidget* control)
{
    if (CVEKView* view = CFrameServices::EditingViewOf(control)) view->setFocus(Qt::OtherFocusReason);
}
