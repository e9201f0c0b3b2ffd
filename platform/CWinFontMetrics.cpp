#include "CWinFontMetrics.h"

#include "CodePage.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QMutex>
#include <QMutexLocker>
#include <QRawFont>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <tuple>
#include <vector>

namespace {

constexpr int kLargestPixels = 32000;
// A height of 0 asks for the system's default size.
constexpr int kDefaultPixels = 16;

// The Chinese fixed-pitch faces' tables: 256 units to the em, ascent 220,
// descent 36, so the cell is exactly one em.
constexpr int kChineseUnitsPerEm = 256;
constexpr int kChineseAscent = 220;

// Rounded as the system rounds scaled metrics: halves up.
int RoundPixels(double v)
{
    return int(std::floor(v + 0.5));
}

int ClampPixels(long long v)
{
    return int(std::clamp<long long>(v, 1, kLargestPixels));
}

const QStringList& ChineseFamilies()
{
    static const QStringList families = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                                         QStringLiteral("Noto Sans CJK SC")};
    return families;
}

// The families the Chinese faces are drawn with. Each Chinese font is
// preceded by its "Mono" variant when that is installed: its letters are
// half an em wide, as the faces measure them, so they sit evenly in their
// places instead of a proportional letter being squeezed into or left
// short of each one.
const QStringList& ChineseDrawingFamilies()
{
    static const QStringList families = [] {
        QStringList list;
        for (const QString& family : ChineseFamilies()) {
            const QString mono = family + QStringLiteral(" Mono");
            if (QFontDatabase::hasFamily(mono)) list << mono;
            list << family;
        }
        return list;
    }();
    return families;
}

struct StandIn {
    const char* face;
    const char* family;
    // The Windows font's own average character width (design units),
    // which a nonzero lfWidth scales to: the stand-ins share every advance
    // but count their average over other characters.
    int averageWidth;
};

const StandIn kTableFaces[] = {
    {"Arial", "Liberation Sans", 904},
    {"Times New Roman", "Liberation Serif", 821},
    {"Courier New", "Liberation Mono", 1229},
    {"Liberation Sans", "Liberation Sans", 0},
    {"Liberation Serif", "Liberation Serif", 0},
    {"Liberation Mono", "Liberation Mono", 0},
};

int WindowsAverageWidth(const QString& face)
{
    for (const StandIn& s : kTableFaces)
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) return s.averageWidth;
    return 0;
}

const QStringList& ChineseFaces()
{
    static const QStringList faces = {
        QStringLiteral("宋体"),      QStringLiteral("新宋体"),  QStringLiteral("黑体"),
        QStringLiteral("楷体"),      QStringLiteral("楷体_GB2312"), QStringLiteral("仿宋"),
        QStringLiteral("仿宋_GB2312"), QStringLiteral("隶书"),    QStringLiteral("幼圆"),
        QStringLiteral("SimSun"),    QStringLiteral("NSimSun"), QStringLiteral("SimHei"),
        QStringLiteral("KaiTi"),     QStringLiteral("KaiTi_GB2312"), QStringLiteral("FangSong"),
        QStringLiteral("FangSong_GB2312"), QStringLiteral("LiSu"), QStringLiteral("YouYuan")};
    return faces;
}

quint16 U16(const QByteArray& table, int offset)
{
    return quint16((quint8(table[offset]) << 8) | quint8(table[offset + 1]));
}

qint16 S16(const QByteArray& table, int offset)
{
    return qint16(U16(table, offset));
}

void ApplyStyle(QFont& font, const LogFont& lf)
{
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setKerning(false);
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);
}

// Ten times the natural width at most: small glyphs drawn much wider than
// that can fail in FreeType's rasteriser (seen with Qt 6.4 and a damaged
// text record).
void ApplyStretch(QFont& font, double factor)
{
    if (factor == 1.0 || !std::isfinite(factor)) return;
    font.setStretch(std::clamp(int(std::lround(factor * 100.0)), 1, 1000));
}

} // namespace

// The tables of an installed font that the metrics need.
struct CWinFontMetrics::Design {
    int unitsPerEm = 0;
    int winAscent = 0;
    int winDescent = 0;
    int averageWidth = 0;
    std::vector<quint16> advances;  // by glyph; the last one repeats
    QRawFont raw;                   // for the character map
    mutable QMutex mutex;           // the map is read on any thread

    bool Read(const QFont& font)
    {
        raw = QRawFont::fromFont(font);
        if (!raw.isValid()) return false;
        const QByteArray head = raw.fontTable("head");
        const QByteArray os2 = raw.fontTable("OS/2");
        const QByteArray hhea = raw.fontTable("hhea");
        const QByteArray hmtx = raw.fontTable("hmtx");
        if (head.size() < 20 || os2.size() < 78 || hhea.size() < 36) return false;
        unitsPerEm = U16(head, 18);
        averageWidth = S16(os2, 2);
        winAscent = U16(os2, 74);
        winDescent = U16(os2, 76);
        const int count = U16(hhea, 34);
        if (unitsPerEm <= 0 || winAscent + winDescent <= 0 || count <= 0 || hmtx.size() < count * 4) return false;
        advances.resize(std::size_t(count));
        for (int i = 0; i < count; ++i) advances[std::size_t(i)] = U16(hmtx, i * 4);
        return true;
    }

    // The design advance of the character; -1 when the font lacks it.
    int AdvanceOf(const QString& ch) const
    {
        QMutexLocker lock(&mutex);
        const QList<quint32> glyphs = raw.glyphIndexesForString(ch);
        if (glyphs.isEmpty() || glyphs.front() == 0) return -1;
        const std::size_t glyph = std::min<std::size_t>(glyphs.front(), advances.size() - 1);
        return advances[glyph];
    }
};

namespace {

// The tables of each stand-in font, read once.
std::shared_ptr<const CWinFontMetrics::Design> DesignOf(const QString& family, const LogFont& lf);

} // namespace

CWinFontMetrics::Rule CWinFontMetrics::RuleOf(const QString& face)
{
    // A face without a name is the system's default, which for Chinese
    // text is 宋体.
    if (face.isEmpty() || ChineseFaces().contains(face, Qt::CaseInsensitive)) return Rule::Chinese;
    for (const StandIn& s : kTableFaces)
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) return Rule::Tables;
    return Rule::Installed;
}

QString CWinFontMetrics::StandInFamily(const QString& face)
{
    for (const StandIn& s : kTableFaces)
        if (face.compare(QLatin1String(s.face), Qt::CaseInsensitive) == 0) return QLatin1String(s.family);
    if (RuleOf(face) == Rule::Chinese) return ChineseFamilies().front();
    return face;
}

bool CWinFontMetrics::IsSingleByte(const QString& ch)
{
    // The euro sign is the code page's one single byte above ASCII.
    return ch.size() == 1 && (ch[0].unicode() < 0x80 || ch[0].unicode() == 0x20AC);
}

CWinFontMetrics::CWinFontMetrics(const LogFont& lf)
{
    const QString face = GbkToQString(lf.FaceName());
    m_rule = RuleOf(face);
    if (m_rule == Rule::Chinese) {
        MeasureChinese(lf);
    } else if (m_rule != Rule::Tables || !MeasureFromTables(lf)) {
        m_rule = Rule::Installed;
        MeasureInstalled(lf);
    }
    m_metrics = QFontMetrics(m_font);
}

void CWinFontMetrics::MeasureChinese(const LogFont& lf)
{
    // Negative or positive, the height is the em: the cell is one em.
    m_em = lf.lfHeight == 0 ? kDefaultPixels : ClampPixels(std::llabs(static_cast<long long>(lf.lfHeight)));
    m_ascent = RoundPixels(double(kChineseAscent) * m_em / kChineseUnitsPerEm);
    m_descent = m_em - m_ascent;
    const double half = m_em / 2.0;
    m_widthFactor = lf.lfWidth != 0 ? std::min(std::abs(double(lf.lfWidth)), double(kLargestPixels)) / half : 1.0;
    m_averageWidth = RoundPixels(half * m_widthFactor);

    m_font = QFont();
    m_font.setFamilies(ChineseDrawingFamilies());
    ApplyStyle(m_font, lf);
    m_font.setPixelSize(m_em);
    ApplyStretch(m_font, m_widthFactor);
}

bool CWinFontMetrics::MeasureFromTables(const LogFont& lf)
{
    const QString family = StandInFamily(GbkToQString(lf.FaceName()));
    m_design = DesignOf(family, lf);
    if (!m_design) return false;
    const Design& d = *m_design;
    const long long height = lf.lfHeight;
    if (height > 0) {
        const int cell = ClampPixels(height);
        m_scale = double(cell) / (d.winAscent + d.winDescent);
        m_ascent = RoundPixels(d.winAscent * m_scale);
        m_descent = cell - m_ascent;
    } else {
        const int em = height == 0 ? kDefaultPixels : ClampPixels(-height);
        m_scale = double(em) / d.unitsPerEm;
        m_ascent = RoundPixels(d.winAscent * m_scale);
        m_descent = RoundPixels(d.winDescent * m_scale);
    }
    const int windowsAverage = WindowsAverageWidth(GbkToQString(lf.FaceName()));
    const int average = windowsAverage > 0 ? windowsAverage : d.averageWidth;
    const int natural = std::max(1, RoundPixels(average * m_scale));
    m_widthFactor = lf.lfWidth != 0 ? std::min(std::abs(double(lf.lfWidth)), double(kLargestPixels)) / natural : 1.0;
    m_averageWidth = lf.lfWidth != 0 ? RoundPixels(natural * m_widthFactor) : natural;
    m_em = ClampPixels(RoundPixels(d.unitsPerEm * m_scale));

    QStringList families{family};
    families << ChineseFamilies();
    m_font = QFont();
    m_font.setFamilies(families);
    ApplyStyle(m_font, lf);
    m_font.setPixelSize(m_em);
    ApplyStretch(m_font, m_widthFactor);
    return true;
}

void CWinFontMetrics::MeasureInstalled(const LogFont& lf)
{
    m_font = QFont(GbkToQString(lf.FaceName()));
    ApplyStyle(m_font, lf);
    // Negative heights give the character (em) height, positive ones the
    // whole cell (ascent + descent); zero is a default size.
    int pixels = lf.lfHeight == 0 ? kDefaultPixels : ClampPixels(std::llabs(static_cast<long long>(lf.lfHeight)));
    m_font.setPixelSize(pixels);
    if (lf.lfHeight > 0) {
        const qreal cell = QFontMetricsF(m_font).height();
        if (cell > 0) m_font.setPixelSize(ClampPixels(std::llround(pixels * pixels / cell)));
    }
    if (lf.lfWidth != 0) {
        const qreal natural = QFontMetricsF(m_font).averageCharWidth();
        if (natural > 0) ApplyStretch(m_font, std::abs(double(lf.lfWidth)) / natural);
    }
    const QFontMetrics metrics(m_font);
    m_ascent = metrics.ascent();
    m_descent = metrics.height() - metrics.ascent();
    m_averageWidth = metrics.averageCharWidth();
}

int CWinFontMetrics::Advance(const QString& ch) const
{
    switch (m_rule) {
    case Rule::Chinese:
        return RoundPixels((IsSingleByte(ch) ? m_em / 2.0 : double(m_em)) * m_widthFactor);
    case Rule::Tables: {
        const int design = m_design->AdvanceOf(ch);
        // A character the font lacks comes from the Chinese font the system
        // links in, one em wide (half for one byte).
        if (design < 0) return RoundPixels((IsSingleByte(ch) ? m_em / 2.0 : double(m_em)) * m_widthFactor);
        return RoundPixels(design * m_scale * m_widthFactor);
    }
    case Rule::Installed:
        break;
    }
    return m_metrics.horizontalAdvance(ch);
}

namespace {

std::shared_ptr<const CWinFontMetrics::Design> DesignOf(const QString& family, const LogFont& lf)
{
    const bool bold = lf.lfWeight >= 600;
    const bool italic = lf.lfItalic != 0;
    static QMutex mutex;
    static std::map<std::tuple<QString, bool, bool>, std::shared_ptr<const CWinFontMetrics::Design>> known;
    QMutexLocker lock(&mutex);
    const auto key = std::make_tuple(family, bold, italic);
    const auto it = known.find(key);
    if (it != known.end()) return it->second;
    QFont font(family);
    font.setPixelSize(64);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferOutline);
    auto design = std::make_shared<CWinFontMetrics::Design>();
    std::shared_ptr<const CWinFontMetrics::Design> result;
    if (design->Read(font)) result = design;
    known.emplace(key, result);
    return result;
}

} // namespace
