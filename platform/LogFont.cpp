#include "LogFont.h"

#include "CArchive.h"
#include "CodePage.h"

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <cmath>
#include <cstdlib>
#include <cstring>

std::string LogFont::FaceName() const
{
    return std::string(lfFaceName, strnlen(lfFaceName, kFaceSize - 1));
}

void LogFont::SetFaceName(const std::string& face)
{
    std::memset(lfFaceName, 0, sizeof lfFaceName);
    std::size_t n = std::min<std::size_t>(face.size(), kFaceSize - 1);
    // Never cut a double-byte character in half.
    std::size_t i = 0;
    while (i < n) {
        if (IsLeadByteAt(face, i)) {
            if (i + 2 > n) break;
            i += 2;
        } else {
            ++i;
        }
    }
    std::memcpy(lfFaceName, face.data(), i);
}

void LogFont::StoreRaw(CArchive& ar) const
{
    ar << lfHeight << lfWidth << lfEscapement << lfOrientation << lfWeight;
    ar << lfItalic << lfUnderline << lfStrikeOut << lfCharSet << lfOutPrecision << lfClipPrecision
       << lfQuality << lfPitchAndFamily;
    ar.Write(lfFaceName, sizeof lfFaceName);
}

void LogFont::LoadRaw(CArchive& ar)
{
    ar >> lfHeight >> lfWidth >> lfEscapement >> lfOrientation >> lfWeight;
    ar >> lfItalic >> lfUnderline >> lfStrikeOut >> lfCharSet >> lfOutPrecision >> lfClipPrecision >> lfQuality
        >> lfPitchAndFamily;
    ar.Read(lfFaceName, sizeof lfFaceName);
    lfFaceName[kFaceSize - 1] = '\0';
}

bool LogFont::operator==(const LogFont& o) const
{
    return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement
        && lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic
        && lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut && lfCharSet == o.lfCharSet
        && lfOutPrecision == o.lfOutPrecision && lfClipPrecision == o.lfClipPrecision && lfQuality == o.lfQuality
        && lfPitchAndFamily == o.lfPitchAndFamily && std::memcmp(lfFaceName, o.lfFaceName, sizeof lfFaceName) == 0;
}

void InstallFontSubstitutions()
{
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Noto Sans CJK SC")};
    const QStringList faces = {QStringLiteral("宋体"), QStringLiteral("新宋体"), QStringLiteral("黑体"),
                               QStringLiteral("楷体"), QStringLiteral("楷体_GB2312"), QStringLiteral("仿宋"),
                               QStringLiteral("仿宋_GB2312"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                               QStringLiteral("SimHei"), QStringLiteral("KaiTi"), QStringLiteral("FangSong"),
                               QStringLiteral("Arial"), QStringLiteral("Times New Roman"),
                               QStringLiteral("MS Sans Serif"), QStringLiteral("System")};
    for (const QString& f : faces) QFont::insertSubstitutions(f, cjk);
}

QFont MakeQFont(const LogFont& lf)
{
    InstallFontSubstitutions();
    QFont font(GbkToQString(lf.FaceName()));
    if (lf.FaceName().empty()) font.setFamily(QStringLiteral("WenQuanYi Zen Hei"));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setKerning(false);
    const int weight = lf.lfWeight <= 0 ? FW_NORMAL : std::clamp<int>(lf.lfWeight, 1, 1000);
    font.setWeight(QFont::Weight(weight));
    font.setItalic(lf.lfItalic != 0);
    font.setUnderline(lf.lfUnderline != 0);
    font.setStrikeOut(lf.lfStrikeOut != 0);

    // Negative heights give the character (em) height, positive ones the
    // whole cell (ascent + descent); zero is a default size.
    // Negated wide: a damaged height may be the lowest int.
    const long long height = lf.lfHeight == 0 ? 16 : std::llabs(static_cast<long long>(lf.lfHeight));
    const int pixels = int(std::clamp<long long>(height, 1, 32000));
    font.setPixelSize(pixels);
    if (lf.lfHeight > 0) {
        const qreal cell = QFontMetricsF(font).height();
        if (cell > 0) {
            const int em = int(std::lround(pixels * pixels / cell));
            font.setPixelSize(std::clamp(em, 1, 32000));
        }
    }
    if (lf.lfWidth != 0) {
        const qreal natural = QFontMetricsF(font).averageCharWidth();
        if (natural > 0) {
            // Ten times the natural width at most: small glyphs drawn much
            // wider than that can fail in FreeType's rasteriser, and Qt then
            // copies from a null bitmap (seen with Qt 6.4 and a damaged
            // text record).
            const int stretch = int(std::lround(std::fabs(double(lf.lfWidth)) * 100.0 / natural));
            font.setStretch(std::clamp(stretch, 1, 1000));
        }
    }
    return font;
}
