// Conversion between the model's byte strings (the GBK code page, exactly
// what files hold) and Unicode. GB18030 is used in both directions: it is
// GBK for every GBK character and can carry any other character too, so
// nothing is lost on the way through.
#pragma once

#include <string>

#include <QString>

// Decodes GBK (GB18030) bytes; malformed bytes become U+FFFD.
QString GbkToQString(const std::string& bytes);
std::u16string GbkToUtf16(const std::string& bytes);

// Encodes Unicode as GB18030 bytes. `ok` (when given) is set false when a
// character could not be encoded; such characters are replaced by '?'.
std::string QStringToGbk(const QString& text, bool* ok = nullptr);
std::string Utf16ToGbk(const std::u16string& text, bool* ok = nullptr);

// True when the byte at index i of a GBK string starts a two-byte
// character (bit 7 set and not the last byte).
inline bool IsLeadByteAt(const std::string& s, std::size_t i)
{
    return (static_cast<unsigned char>(s[i]) & 0x80) != 0 && i + 1 < s.size();
}
