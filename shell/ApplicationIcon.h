// The program's icon, the one the resources give the main window: set for
// the whole application at start-up, so that every window shows it, and
// shown in the about box.
#pragma once

#include <QIcon>

constexpr int IDR_MAINFRAME = 128;
// The size of the picture, at which the about box shows it.
constexpr int kAboutIconSize = 64;

// The icon of resource IDR_MAINFRAME (res/icons/128.png).
QIcon ApplicationIcon();
