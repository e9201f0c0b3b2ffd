// What the fuzz targets that need the whole GUI library do with one input;
// the fuzzers and the replay tests of their findings both call these.
#pragma once

#include "FuzzSupport.h"

#include "settings/ProfileSyntax.h"
#include "shell/CMainFrame.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

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
    const QVariant value = profile.value(QStringLiteral("Settings/WindowPos"));
    // An unquoted list of numbers reads back as a list of strings.
    const QString text = value.typeId() == QMetaType::QStringList ? value.toStringList().join(QLatin1Char(','))
                                                                   : value.toString();
    CMainFrame::WINDOWPLACEMENT placement;
    if (text.isEmpty() || !CMainFrame::ParseWindowPlacement(text, &placement)) return false;
    CMainFrame::WINDOWPLACEMENT again;
    if (!CMainFrame::ParseWindowPlacement(CMainFrame::FormatWindowPlacement(placement), &again))
        throw Broken("a formatted placement cannot be read back");
    if (again.flags != placement.flags || again.showCmd != placement.showCmd ||
        again.ptMinPosition != placement.ptMinPosition || again.ptMaxPosition != placement.ptMaxPosition ||
        again.rcNormalPosition != placement.rcNormalPosition)
        throw Broken("a formatted placement reads back different");
    return true;
}

} // namespace fuzz
