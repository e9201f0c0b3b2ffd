// Conversion between the model's byte strings (the GBK code page, exactly
// what files hold) and Unicode. GB18030 is used in both directions: it is
// GBK for every GBK character and can carry any other character too, so
// nothing is lost on the way through.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// Bytes of the character that starts at index i of a GBK string: 1 for
// ASCII, 2 for a double-byte character, 4 for a GB18030 four-byte one
// (digits in the second and fourth byte). A CR or LF is never taken as the
// second byte of a damaged pair, and a lead byte at the end stands alone.
std::size_t GbkCharLengthAt(const std::string& s, std::size_t i);

// One character of a GBK string: where its bytes lie and what it is.
struct GbkChar {
    std::size_t start = 0;
    std::size_t size = 0;
    QString text;
};

// The string cut into characters by GbkCharLengthAt, each decoded alone
// (a malformed one becomes U+FFFD).
std::vector<GbkChar> SplitGbkCharacters(const std::string& bytes);
