// A font description laid out like the Windows LOGFONT of the files: five
// 32-bit fields, eight bytes and a 32-byte face name in the code page.
// Heights and widths are in whatever units the caller draws in (page units
// in the model); a QFont is made from it only when drawing.
#pragma once

#include "Types.h"

#include <cstdint>
#include <string>

class CArchive;
class QFont;

struct LogFont {
    std::int32_t lfHeight = 0;
    std::int32_t lfWidth = 0;
    std::int32_t lfEscapement = 0;
    std::int32_t lfOrientation = 0;
    std::int32_t lfWeight = 0;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    char lfFaceName[32] = {};

    static constexpr int kFaceSize = 32;
    static constexpr int kRecordSize = 60;

    // Face name as code-page bytes, at most 31 of them.
    std::string FaceName() const;
    void SetFaceName(const std::string& face);

    // The 60-byte binary image, as the files hold it.
    void StoreRaw(CArchive& ar) const;
    void LoadRaw(CArchive& ar);

    bool operator==(const LogFont& o) const;
    bool operator!=(const LogFont& o) const { return !(*this == o); }
};

constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE ANSI_CHARSET = 0;
constexpr BYTE GB2312_CHARSET = 134;
constexpr std::int32_t FW_NORMAL = 400;
constexpr std::int32_t FW_BOLD = 700;

// Registers the substitutions that map the Chinese face names found in
// documents (宋体, 黑体, 楷体, 仿宋 and their English names) onto installed
// CJK fonts. Safe to call more than once.
void InstallFontSubstitutions();

// A QFont for drawing at device size: lfHeight and lfWidth are taken as
// pixels (negative height = character height, positive = cell height).
// Hinting is off so that text measures the same at every zoom.
QFont MakeQFont(const LogFont& lf);
