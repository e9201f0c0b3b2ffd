// Settings read from "Config.dat" that no settings page can give and that
// would break the program: a font height of the lowest int (negated when
// the font is made), a backup interval whose milliseconds overflow the
// timer, a default paper no document may have, a precision of 0 (divided
// by when lengths are shown), and the like. Such a field is damage. The
// same for the line types of "LineType.dat", where such a value means the
// records were misread.
#pragma once

#include <QStringList>

#include <climits>

class CLineAttr;
class CSystemSettings;

// The longest backup interval whose milliseconds an int holds.
constexpr int kMaxTimerMinutes = INT_MAX / 60000;

// Gives every damaged field of the record its default and returns the
// fields' names as the settings pages call them; empty when none was.
QStringList RepairDamagedSettings(CSystemSettings& settings);

// True when the line type is one the tools can make: a known kind, a
// width and lengths none of which is negative, and for a custom kind a
// pattern with a width to lay along the line.
bool IsSoundLineType(const CLineAttr& lineType);

// True when `preview` is a display copy the program makes: a sound line
// type whose pattern, for a custom kind, is either scaled to the display
// width as adding a line type scales it (no point further out than a
// pattern of the tallest shape allowed reaches), or is `copiedFrom`'s own,
// as a list read without display copies gets them.
bool IsSoundPreview(const CLineAttr& preview, const CLineAttr& copiedFrom);
