#include "model/CTextFont.h"

#include "platform/CArchive.h"

#include <cstdint>

CTextFont::CTextFont(const std::string& text, const LogFont& font, COLORREF colour)
    : m_text(text), m_font(font), m_hasFont(true), m_colour(colour)
{
}

void CTextFont::SetLogFont(const LogFont& font)
{
    m_font = font;
    m_hasFont = true;
}

// Reads into locals first: a truncated record leaves the text font as it was.
int CTextFont::Load(CArchive& ar)
{
    std::string text;
    COLORREF colour = 0;
    LogFont lf;
    ar >> text >> colour;
    ar >> lf.lfHeight >> lf.lfWidth >> lf.lfEscapement >> lf.lfOrientation >> lf.lfWeight;
    ar >> lf.lfItalic >> lf.lfUnderline >> lf.lfStrikeOut >> lf.lfCharSet >> lf.lfOutPrecision
        >> lf.lfClipPrecision >> lf.lfQuality >> lf.lfPitchAndFamily;
    std::string face;
    ar >> face;
    // A font holds at most 31 bytes of face name; longer names are cut as
    // font creation cuts them, never inside a double-byte character.
    lf.SetFaceName(face);

    m_text = std::move(text);
    m_colour = colour;
    m_font = lf;
    m_hasFont = true;
    return 1;
}

int CTextFont::Store(CArchive& ar) const
{
    // Without a font the zeroed description is written: it reads back as
    // the default font of the default height.
    const LogFont& lf = m_font;
    ar << m_text << std::uint32_t(m_colour);
    ar << lf.lfHeight << lf.lfWidth << lf.lfEscapement << lf.lfOrientation << lf.lfWeight;
    ar << lf.lfItalic << lf.lfUnderline << lf.lfStrikeOut << lf.lfCharSet << lf.lfOutPrecision
       << lf.lfClipPrecision << lf.lfQuality << lf.lfPitchAndFamily;
    ar << lf.FaceName();
    return 1;
}

bool CTextFont::operator==(const CTextFont& o) const
{
    return m_text == o.m_text && m_colour == o.m_colour && m_hasFont == o.m_hasFont && m_font == o.m_font;
}
