// The bar layout of the main window as QMainWindow::saveState writes it
// (kept in "Vek.ini"), checked before Qt reads it back. Qt's reader trusts
// the counts it finds: a tool-bar line that claims two billion bars is
// read bar by bar past the end of the bytes, for minutes, at every start.
//
// A sound layout is one in the form Qt 6 writes: the version marker and
// the window's own version; the dock areas (each area once, its nested
// sequences and tabs, its dock widgets); any floating tab groups; the
// tool-bar lines, each in one of the four areas; nothing after. Every count
// fits the bytes that remain, every bar is one the window has and appears
// once, so a layout never names more bars than the window holds.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class CBarLayoutCheck {
public:
    // The object names of the window's tool bars and dock widgets.
    CBarLayoutCheck(QStringList toolBars, QStringList docks);

    // True when `state` is a layout of these bars saved as `version`;
    // otherwise false with what was found in `why`.
    bool IsSound(const QByteArray& state, int version, QString* why = nullptr) const;

private:
    QStringList m_toolBars;
    QStringList m_docks;
};
