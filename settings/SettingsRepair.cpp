#include "settings/SettingsRepair.h"

#include "settings/CSystemSettings.h"

#include "model/CLineAttr.h"
#include "model/CPageSet.h"

#include <climits>
#include <cmath>
#include <functional>

namespace {

bool Within(long long v, long long low, long long high)
{
    return v >= low && v <= high;
}

// Lengths of page units that no page or table reaches (10 m).
constexpr long long kLongest = 1000000;

// One field (or group of fields read together) and what it may hold.
struct Check {
    const char* name;
    std::function<bool(const CSystemSettings&)> sound;
    std::function<void(CSystemSettings&, const CSystemSettings&)> reset;
};

bool SoundFont(const LogFont& lf)
{
    return Within(lf.lfHeight, -kLongest, kLongest) && Within(lf.lfWidth, -kLongest, kLongest) &&
           Within(lf.lfEscapement, -36000, 36000) && Within(lf.lfOrientation, -36000, 36000) &&
           Within(lf.lfWeight, 0, 1000);
}

bool SoundArrowAngle(double degrees)
{
    return std::isfinite(degrees) && degrees > 0.0 && degrees < 180.0;
}

const std::vector<Check>& Checks()
{
    using S = CSystemSettings;
    static const std::vector<Check> checks = {
        {"工作单位", [](const S& s) { return Within(s.m_nWorkUnit, 0, 3); },
         [](S& s, const S& d) { s.m_nWorkUnit = d.m_nWorkUnit; }},
        {"显示精度", [](const S& s) { return Within(s.m_nPrecision, 1, 10000); },
         [](S& s, const S& d) { s.m_nPrecision = d.m_nPrecision; }},
        {"缺省字体", [](const S& s) { return SoundFont(s.m_lfDefaultFont); },
         [](S& s, const S& d) { s.m_lfDefaultFont = d.m_lfDefaultFont; }},
        {"抓取半径", [](const S& s) { return Within(s.m_nCaptureRadius, 0, 10000); },
         [](S& s, const S& d) { s.m_nCaptureRadius = d.m_nCaptureRadius; }},
        {"点的标记大小",
         [](const S& s) { return Within(s.m_nPointMarkRadius, 0, 1000) && Within(s.m_nCrossMarkSize, 0, 1000); },
         [](S& s, const S& d) {
             s.m_nPointMarkRadius = d.m_nPointMarkRadius;
             s.m_nCrossMarkSize = d.m_nCrossMarkSize;
         }},
        // Any interval of the settings page up to what the timer's
        // milliseconds hold; none below a minute is used as a minute.
        {"备份间隙", [](const S& s) { return s.m_nBackupMinutes <= kMaxTimerMinutes; },
         [](S& s, const S& d) { s.m_nBackupMinutes = d.m_nBackupMinutes; }},
        {"定位方式", [](const S& s) { return Within(s.m_nPointPositionMode, 0, 1); },
         [](S& s, const S& d) { s.m_nPointPositionMode = d.m_nPointPositionMode; }},
        {"箭头",
         [](const S& s) {
             return Within(s.m_nStartArrowType, 0, 3) && Within(s.m_nEndArrowType, 0, 3) &&
                    SoundArrowAngle(s.m_dStartArrowAngle) && SoundArrowAngle(s.m_dEndArrowAngle) &&
                    Within(s.m_nStartArrowSize, 0, 100000) && Within(s.m_nEndArrowSize, 0, 100000);
         },
         [](S& s, const S& d) {
             s.m_nStartArrowType = d.m_nStartArrowType;
             s.m_nEndArrowType = d.m_nEndArrowType;
             s.m_dStartArrowAngle = d.m_dStartArrowAngle;
             s.m_dEndArrowAngle = d.m_dEndArrowAngle;
             s.m_nStartArrowSize = d.m_nStartArrowSize;
             s.m_nEndArrowSize = d.m_nEndArrowSize;
         }},
        // New documents get these; a document of other paper would be
        // refused when opened again.
        {"缺省页面",
         [](const S& s) {
             return CPageSet::IsSoundLayout(100, s.m_sizeDefaultPaper, s.m_nDefaultMargin[0], s.m_nDefaultMargin[1],
                                            s.m_nDefaultMargin[2], s.m_nDefaultMargin[3]);
         },
         [](S& s, const S& d) {
             s.m_sizeDefaultPaper = d.m_sizeDefaultPaper;
             s.m_nDefaultMargin = d.m_nDefaultMargin;
         }},
        {"等距线",
         [](const S& s) {
             return Within(s.m_nOffsetLineCount, 1, 9) && Within(s.m_nOffsetDistance, -kLongest, kLongest);
         },
         [](S& s, const S& d) {
             s.m_nOffsetLineCount = d.m_nOffsetLineCount;
             s.m_nOffsetDistance = d.m_nOffsetDistance;
         }},
        {"表格参数",
         [](const S& s) {
             const CRect& p = s.m_rcCellPadding;
             return Within(s.m_nTableBorderWidth, 0, kLongest) && Within(s.m_nTableInnerWidth, 0, kLongest) &&
                    Within(s.m_nNewTableColumns, 1, 10000) && Within(s.m_nNewTableRows, 1, 10000) &&
                    Within(s.m_nNewTableRowHeight, 1, kLongest) && Within(s.m_nNewTableColumnWidth, 1, kLongest) &&
                    Within(p.left, 0, kLongest) && Within(p.top, 0, kLongest) && Within(p.right, 0, kLongest) &&
                    Within(p.bottom, 0, kLongest);
         },
         [](S& s, const S& d) {
             s.m_nTableBorderWidth = d.m_nTableBorderWidth;
             s.m_nTableInnerWidth = d.m_nTableInnerWidth;
             s.m_nNewTableColumns = d.m_nNewTableColumns;
             s.m_nNewTableRows = d.m_nNewTableRows;
             s.m_nNewTableRowHeight = d.m_nNewTableRowHeight;
             s.m_nNewTableColumnWidth = d.m_nNewTableColumnWidth;
             s.m_rcCellPadding = d.m_rcCellPadding;
         }},
        {"对齐方式", [](const S& s) { return Within(s.m_nTextAlignment, 0, 8); },
         [](S& s, const S& d) { s.m_nTextAlignment = d.m_nTextAlignment; }},
        {"填充类型", [](const S& s) { return Within(s.m_nFillType, 0, 7); },
         [](S& s, const S& d) { s.m_nFillType = d.m_nFillType; }},
    };
    return checks;
}

// Scaled to the display width around its centre, a pattern's points lie
// within a width on either side across (rounding takes the narrowest ones
// that far to one side) and within the allowed height along.
bool WithinDisplayReach(const CLineAttr& preview)
{
    constexpr long long across = CSystemSettings::kPreviewWidth;
    constexpr long long along = across * CSystemSettings::kMaxPatternAspect;
    for (const CLineTypeShape& shape : preview.GetShapes())
        for (const CPoint& p : shape.GetPoints())
            if (!Within(p.x, -across, across) || !Within(p.y, -along, along)) return false;
    return true;
}

} // namespace

QStringList RepairDamagedSettings(CSystemSettings& settings)
{
    QStringList repaired;
    CSystemSettings defaults;
    bool defaultsMade = false;
    for (const Check& check : Checks()) {
        if (check.sound(settings)) continue;
        if (!defaultsMade) {
            defaults.SetDefaults();
            defaultsMade = true;
        }
        check.reset(settings, defaults);
        repaired << QString::fromUtf8(check.name);
    }
    return repaired;
}

bool IsSoundLineType(const CLineAttr& lineType)
{
    if (!Within(lineType.GetKind(), LINE_CUSTOM, LINE_DOUBLE)) return false;
    if (!Within(lineType.GetWidth(), 0, kLongest)) return false;
    for (int n = 1; n <= 6; ++n)
        if (lineType.GetParam(n) < 0) return false;
    if (lineType.GetKind() != LINE_CUSTOM) return lineType.GetShapes().empty();
    CRect bounds;
    for (const CLineTypeShape& shape : lineType.GetShapes()) {
        if (shape.GetPenWidth() < 0) return false;
        bounds.UnionRect(bounds, shape.GetBoundRect());
    }
    return bounds.Width() > 0;
}

bool IsSoundPreview(const CLineAttr& preview, const CLineAttr& copiedFrom)
{
    if (!IsSoundLineType(preview)) return false;
    if (preview.GetKind() != LINE_CUSTOM) return true;
    return WithinDisplayReach(preview) || (preview == copiedFrom && preview.GetShapes() == copiedFrom.GetShapes());
}
