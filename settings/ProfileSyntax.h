// The syntax of the profile "Vek.ini" as both the Windows program and this
// one write it: lines of text ending in a line break (CR LF or LF), each
// empty, a comment (";" or "#"), a section ("[Settings]") or an entry
// ("WindowPos=..."). The text may hold any bytes of the code page (the
// Windows program's paths are GBK) but no control bytes: QSettings writes
// those escaped, and a quote or a backslash of a value too.
//
// QSettings reads any bytes without a word, taking what it can for entries,
// and writes what it took back over the file; so the profile's syntax is
// checked before it is read. A file of random bytes, one with lines that
// are none of the above, one that QSettings would read across lines (a
// quote left open, a backslash before a line break) and one whose value in
// QSettings' notation of a type was cut short are damaged. A byte-order
// mark and a last line without its line break, as editors leave them, are
// read by QSettings as if they were not there, and are sound.
#pragma once

#include <QByteArray>
#include <QString>

// A profile larger than this is no profile (either program's is a few
// kilobytes).
constexpr qint64 kLargestProfile = qint64(1) << 20;

// True when `bytes` are a profile's text; otherwise false with what was
// found in `why`. An empty file is sound.
bool IsSoundProfile(const QByteArray& bytes, QString* why = nullptr);
