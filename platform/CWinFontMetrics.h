// Text metrics as the Windows program gets them for the fonts its files
// name, worked out for the installed fonts that stand in for them, so that
// a text measures here as it measured there and a box or a table cell laid
// out by the Windows program fits its text here too.
//
// - Arial, Times New Roman and Courier New are drawn with Liberation Sans,
//   Serif and Mono, whose every advance and vertical metric equals theirs.
//   Advances and the cell come from the font's own tables, scaled and
//   rounded to whole pixels as the system rounds them.
// - The Chinese faces (宋体 and 新宋体, also 黑体, 楷体, 仿宋, 隶书, 幼圆 and
//   their English names) are fixed-pitch fonts on Windows: every character
//   of one byte in the code page (ASCII) is half an em wide, every Chinese
//   character (two bytes) one em, and the cell is one em high. They are
//   drawn with an installed Chinese font at those advances, its "Mono"
//   variant (letters half an em wide) where one is installed.
// - Every other face keeps the installed font's own metrics.
// Heights follow the system's rule: a negative lfHeight is the character
// (em) height, a positive one the cell height (ascent + descent); a
// nonzero lfWidth is the average character width, scaling every advance.
#pragma once

#include "LogFont.h"

#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <memory>

class CWinFontMetrics {
public:
    // The metrics of `lf` at device size (lfHeight and lfWidth in pixels).
    explicit CWinFontMetrics(const LogFont& lf);

    // The font the text is drawn with, at the em size worked out here.
    const QFont& Font() const { return m_font; }
    int Ascent() const { return m_ascent; }
    // The cell height: ascent + descent.
    int Height() const { return m_ascent + m_descent; }
    int AverageCharWidth() const { return m_averageWidth; }
    // The whole-pixel advance of one character of a text (a Unicode
    // character, a surrogate pair kept together).
    int Advance(const QString& ch) const;

    // How a face is measured.
    enum class Rule {
        Chinese,  // half an em for one byte, an em for two
        Tables,   // the stand-in font's own advance and vertical tables
        Installed // whatever the installed font measures
    };
    // The rule for a face name (as Unicode) and the installed family that
    // draws it.
    static Rule RuleOf(const QString& face);
    static QString StandInFamily(const QString& face);
    // Whether a character of a text takes one byte in the code page.
    static bool IsSingleByte(const QString& ch);

    // The tables of an installed font that Rule::Tables reads (kept once
    // per font and shared).
    struct Design;

private:

    void MeasureChinese(const LogFont& lf);
    bool MeasureFromTables(const LogFont& lf);
    void MeasureInstalled(const LogFont& lf);

    Rule m_rule = Rule::Installed;
    QFont m_font;
    QFontMetrics m_metrics{m_font};
    // The font's design tables (Rule::Tables).
    std::shared_ptr<const Design> m_design;
    double m_scale = 1.0;   // pixels per design unit, across
    int m_em = 16;          // Rule::Chinese: the em in pixels
    double m_widthFactor = 1.0;
    int m_ascent = 0;
    int m_descent = 0;
    int m_averageWidth = 0;
};
