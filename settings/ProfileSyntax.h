// The syntax check of the profile "Vek.ini", made before QSettings reads
// it. QSettings reads any bytes without a word, taking what it can for
// entries, and writes what it took back over the file; so a profile that
// it would misread is found first and kept aside. Misread is what would
// lose or change a value: lines run together (a quote left open, a
// backslash before a line break), a value in QSettings' notation of a
// type cut short, a line that is neither a section, an entry nor a
// comment, text after a section name, a section name without its bracket,
// an entry filed under a key the program cannot ask for (under a section
// of no name, or of no key). A file larger than any profile, or holding
// control bytes, is no profile: neither program writes those (QSettings
// escapes them), and a block that a crash left zeroed holds them.
//
// The lines are judged as the reader cuts them (IniLines.h): whatever the
// line breaks (CR, LF, CR LF, LF CR), with a comment after a section name,
// with byte-order marks where the reader passes them over. Any other byte
// is text (the Windows program's paths are GBK, QSettings' UTF-8 with DEL
// as it is), so that what either program wrote reads back without a word.
#pragma once

#include <QByteArray>
#include <QString>

// A profile larger than this is no profile (either program's is a few
// kilobytes).
constexpr qint64 kLargestProfile = qint64(1) << 20;

// True when QSettings reads `bytes` without losing or changing a value;
// otherwise false with what was found in `why`. An empty file is sound.
bool IsSoundProfile(const QByteArray& bytes, QString* why = nullptr);
