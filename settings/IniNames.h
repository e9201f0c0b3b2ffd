// The names of sections and keys as QSettings' INI reader takes them, so
// that the profile's check knows which entries the program can reach. A
// name is UTF-8 text (a byte-order mark before it is no part of it) in
// which "%XX" and "%UXXXX" stand for a character and a backslash for a
// slash; the section "General" is the top level, "%General" the group of
// that name. Bytes that are no UTF-8 the reader takes for replacement
// characters: a name of them is none the program asks for.
#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// A section's or a key's name as the reader takes it; none when it is no
// UTF-8.
std::optional<QString> IniUnescapedName(QByteArrayView name);

// The group that a section line gives its entries, ending in a slash; empty
// for the top level. `name` is what stands between the brackets. None
// when it is no UTF-8.
std::optional<QString> IniSectionGroup(QByteArrayView name);

// True when the key the reader files an entry under is the key the
// program asks for: QSettings takes every key asked without slashes at its
// ends and without two in a row, so an entry filed under another (under a
// section of no name, or a key of none) is lost to it.
bool IsReachableIniKey(const QString& key);
