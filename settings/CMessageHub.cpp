#include "settings/CMessageHub.h"

CMessageHub& CMessageHub::Instance()
{
    static CMessageHub hub;
    return hub;
}

void CMessageHub::SendArrowTypeChange(int arrowType, int commandId)
{
    Q_EMIT ArrowTypeChanged(arrowType, commandId);
}

void CMessageHub::SendColorChange(COLORREF color, int commandId)
{
    Q_EMIT ColorChanged(color, commandId);
}

void CMessageHub::SendLineTypeChange(int index)
{
    Q_EMIT LineTypeChanged(index);
}

int CMessageHub::SendLineParamChange(int commandId, int value)
{
    // Without a receiver the emit answers a default-constructed int: refused.
    return Q_EMIT LineParamChanged(commandId, value);
}

void CMessageHub::SendFillTypeChange()
{
    Q_EMIT FillTypeChanged();
}

void CMessageHub::SendFontChange()
{
    Q_EMIT FontChanged();
}

void CMessageHub::SendTextAlignmentChange(int alignment)
{
    Q_EMIT TextAlignmentChanged(alignment);
}
