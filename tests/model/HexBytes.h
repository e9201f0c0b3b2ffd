// Test helper: bytes from a hex text; anything but hex digits is ignored,
// so fixtures can be grouped by field.
#pragma once

#include <cctype>
#include <string>

inline std::string HexBytes(const char* text)
{
    std::string out;
    int high = -1;
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (!std::isxdigit(c)) continue;
        const int v = std::isdigit(c) ? c - '0' : std::tolower(c) - 'a' + 10;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(char(high * 16 + v));
            high = -1;
        }
    }
    return out;
}
