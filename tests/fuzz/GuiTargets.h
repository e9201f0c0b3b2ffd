// What the fuzz target of the main window's profile entry does with one
// input; the fuzzer and the replay tests of its findings both call it.
#pragma once

#include "FuzzSupport.h"

#include "settings/CWindowPlacement.h"
#include "settings/ProfileSyntax.h"

#include <QSettings>

namespace fuzz {

// "Vek.ini": the main window's placement ("WindowPos" under "Settings"),
// read through the profile the way the main window reads it, after the
// check of its syntax. A placement that reads must format and read back
// the same.
inline bool WindowPos(const std::string& bytes)
{
    // The syntax check the start makes before anything reads the profile.
    IsSoundProfile(QByteArray::fromStdString(bytes));
    const InputFile file(bytes, ".ini");
    QSettings profile(file.Path(), QSettings::IniFormat);
    CWindowPlacement placement;
    if (!CWindowPlacement::FromProfileValue(profile.value(CWindowPlacement::ProfileKey()), &placement)) return false;
    CWindowPlacement again;
    if (!CWindowPlacement::Parse(placement.Format(), &again))
        throw Broken("a formatted placement cannot be read back");
    if (again.flags != placement.flags || again.showCmd != placement.showCmd ||
        again.ptMinPosition != placement.ptMinPosition || again.ptMaxPosition != placement.ptMaxPosition ||
        again.rcNormalPosition != placement.rcNormalPosition)
        throw Broken("a formatted placement reads back different");
    return true;
}

} // namespace fuzz
