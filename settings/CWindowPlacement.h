// The main window's layout as "Vek.ini" keeps it: the entry "WindowPos" of
// the section "Settings", ten numbers in the order of the Windows
// program's WINDOWPLACEMENT after its length (flags, show state, the
// minimised and maximised positions and the normal rectangle), so that
// either program reads what the other wrote.
#pragma once

#include "platform/Types.h"

#include <QString>

class QVariant;

struct CWindowPlacement {
    static constexpr UINT kLength = 44;
    static constexpr UINT WPF_RESTORETOMAXIMIZED = 2;
    static constexpr UINT SW_SHOWNORMAL = 1;
    static constexpr UINT SW_SHOWMINIMIZED = 2;
    static constexpr UINT SW_SHOWMAXIMIZED = 3;
    // Positions farther out than this are on no screen: the window's sizes
    // are worked out from them, and must not overflow.
    static constexpr int kFarthestPixel = 1 << 20;

    // The profile's key, "Settings/WindowPos".
    static QString ProfileKey();

    // The ten numbers, all required; false for anything else, positions
    // beyond any screen and a normal rectangle without area included.
    static bool Parse(const QString& text, CWindowPlacement* placement);
    // The profile's value: an unquoted list of numbers reads back from it
    // as a list of strings.
    static bool FromProfileValue(const QVariant& value, CWindowPlacement* placement);
    QString Format() const;

    UINT length = kLength;
    UINT flags = 0;
    UINT showCmd = 0;
    CPoint ptMinPosition;
    CPoint ptMaxPosition;
    CRect rcNormalPosition;
};
