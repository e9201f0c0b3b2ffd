// A text with the font and the colour it is drawn in: the common way texts
// are kept and stored by text elements, table cells and library entries.
// The font's height and width are page units; drawing scales them.
#pragma once

#include "platform/LogFont.h"
#include "platform/Types.h"

#include <string>

class CArchive;

class CTextFont {
public:
    // Empty text, no font, colour 0.
    CTextFont() = default;
    CTextFont(const std::string& text, const LogFont& font, COLORREF colour);

    // Copies are independent: each holds its own font description.
    CTextFont(const CTextFont&) = default;
    CTextFont& operator=(const CTextFont&) = default;

    // Text as GBK bytes.
    const std::string& GetText() const { return m_text; }
    void SetText(const std::string& text) { m_text = text; }
    COLORREF GetColor() const { return m_colour; }
    void SetColor(COLORREF colour) { m_colour = colour; }

    bool HasFont() const { return m_hasFont; }
    // The font; all fields zero and no face when the record holds no font.
    const LogFont& GetLogFont() const { return m_font; }
    void SetLogFont(const LogFont& font);

    // Record: text, colour, the LOGFONT fields one by one, face name as a
    // string. A text font without a font stores a zeroed description. Load
    // throws CArchiveError on a truncated record.
    int Load(CArchive& ar);
    int Store(CArchive& ar) const;

    bool operator==(const CTextFont& o) const;
    bool operator!=(const CTextFont& o) const { return !(*this == o); }

private:
    std::string m_text;
    LogFont m_font;
    bool m_hasFont = false;
    COLORREF m_colour = 0;
};
