#include "LogFont.h"

#include "CArchive.h"
#include "CWinFontMetrics.h"
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
    // Widgets that name these faces (the font lists, their samples) get the
    // fonts the drawing is measured and drawn with.
    const QStringList cjk = {QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("WenQuanYi Micro Hei"),
                             QStringLiteral("Noto Sans CJK SC")};
    const QStringList faces = {QStringLiteral("宋体"), QStringLiteral("新宋体"), QStringLiteral("黑体"),
                               QStringLiteral("楷体"), QStringLiteral("楷体_GB2312"), QStringLiteral("仿宋"),
                               QStringLiteral("仿宋_GB2312"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                               QStringLiteral("SimHei"), QStringLiteral("KaiTi"), QStringLiteral("FangSong"),
                               QStringLiteral("MS Sans Serif"), QStringLiteral("System")};
    for (const QString& f : faces) QFont::insertSubstitutions(f, cjk);
    for (const QString& f : {QStringLiteral("Arial"), QStringLiteral("Times New Roman"), QStringLiteral("Courier New")})
        QFont::insertSubstitutions(f, QStringList{CWinFontMetrics::StandInFamily(f)} + cjk);
}

QFont MakeQFont(const LogFont& lf)
{
    InstallFontSubstitutions();
    return CWinFontMetrics(lf).Font();
}
