#include "CodePage.h"

#include <cerrno>
#include <iconv.h>

namespace {

// Runs iconv over the whole input; invalid input sequences are replaced and
// reported through `ok`.
std::string Convert(const char* to, const char* from, const std::string& in, const std::string& replacement,
                    std::size_t unitSize, bool* ok)
{
    if (ok) *ok = true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (ok) *ok = false;
        return {};
    }
    std::string out;
    out.reserve(in.size() * 2 + 8);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buffer[4096];
    while (srcLeft > 0) {
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer, std::size_t(dst - buffer));
        if (r == std::size_t(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one input unit and put a replacement.
            if (ok) *ok = false;
            out += replacement;
            const std::size_t skip = std::min(unitSize, srcLeft);
            src += skip;
            srcLeft -= skip;
        }
    }
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buffer, std::size_t(dst - buffer));
    iconv_close(cd);
    return out;
}

} // namespace

std::u16string GbkToUtf16(const std::string& bytes)
{
    const std::string replacement("\xFD\xFF", 2); // U+FFFD little-endian
    const std::string raw = Convert("UTF-16LE", "GB18030", bytes, replacement, 1, nullptr);
    std::u16string out(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = char16_t(static_cast<unsigned char>(raw[2 * i]) | (static_cast<unsigned char>(raw[2 * i + 1]) << 8));
    return out;
}

QString GbkToQString(const std::string& bytes)
{
    const std::u16string u = GbkToUtf16(bytes);
    return QString::fromUtf16(u.data(), qsizetype(u.size()));
}

std::string Utf16ToGbk(const std::u16string& text, bool* ok)
{
    std::string raw(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        raw[2 * i] = char(text[i] & 0xFF);
        raw[2 * i + 1] = char(text[i] >> 8);
    }
    return Convert("GB18030", "UTF-16LE", raw, "?", 2, ok);
}

std::string QStringToGbk(const QString& text, bool* ok)
{
    return Utf16ToGbk(std::u16string(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())), ok);
}

std::size_t GbkCharLengthAt(const std::string& s, std::size_t i)
{
    auto high = [&s](std::size_t k) { return (static_cast<unsigned char>(s[k]) & 0x80) != 0; };
    auto digit = [&s](std::size_t k) { return s[k] >= '0' && s[k] <= '9'; };
    if (!high(i) || i + 1 >= s.size() || s[i + 1] == '\r' || s[i + 1] == '\n') return 1;
    if (digit(i + 1) && i + 3 < s.size() && high(i + 2) && digit(i + 3)) return 4;
    return 2;
}

std::vector<GbkChar> SplitGbkCharacters(const std::string& bytes)
{
    std::vector<GbkChar> chars;
    bool ascii = true;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t n = GbkCharLengthAt(bytes, i);
        ascii = ascii && n == 1 && !(static_cast<unsigned char>(bytes[i]) & 0x80);
        chars.push_back(GbkChar{i, n, QString()});
        i += n;
    }
    if (ascii) {
        for (GbkChar& c : chars) c.text = QChar(QLatin1Char(bytes[c.start]));
        return chars;
    }
    // One conversion for the whole text; only when it does not give one
    // character per unit (damaged bytes) is each unit decoded alone.
    const QString all = GbkToQString(bytes);
    std::vector<QString> decoded;
    decoded.reserve(chars.size());
    for (qsizetype i = 0; i < all.size(); ++i) {
        const bool pair = all[i].isHighSurrogate() && i + 1 < all.size() && all[i + 1].isLowSurrogate();
        decoded.push_back(all.mid(i, pair ? 2 : 1));
        if (pair) ++i;
    }
    if (decoded.size() == chars.size()) {
        for (std::size_t k = 0; k < chars.size(); ++k) chars[k].text = decoded[k];
        return chars;
    }
    for (GbkChar& c : chars) c.text = GbkToQString(bytes.substr(c.start, c.size));
    return chars;
}
