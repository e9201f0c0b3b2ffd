#include "CSystemSettings.h"

#include "FileSaving.h"
#include "SettingsRepair.h"

#include "geometry/Distance.h"
#include "geometry/Polyline.h"
#include "platform/CArchive.h"
#include "platform/CodePage.h"
#include "platform/HugePages.h"
#include "platform/RegularFile.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace {

// The Windows system colours the defaults were taken from.
constexpr COLORREF kGrayTextColor = RGB(128, 128, 128);
constexpr COLORREF kMenuColor = RGB(240, 240, 240);

std::string DefaultBackupFile()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QStringToGbk(QDir(folder).filePath(QStringLiteral("backup.vek")));
}

std::int32_t ReadInt(CArchive& ar)
{
    std::int32_t v = 0;
    ar >> v;
    return v;
}

COLORREF ReadColor(CArchive& ar)
{
    std::uint32_t v = 0;
    ar >> v;
    return v;
}

double ReadDouble(CArchive& ar)
{
    double v = 0;
    ar >> v;
    return v;
}

} // namespace

CSystemSettings& Settings()
{
    static CSystemSettings settings;
    return settings;
}

LogFont CSystemSettings::DefaultTextFont()
{
    // The interface font of a Chinese system: 宋体 at -12 pixels on a
    // 96 pixels-per-inch screen, turned into hundredths of a millimetre.
    constexpr int stockHeight = -12;
    constexpr double pixelsPerInch = 96.0;
    LogFont lf;
    lf.lfHeight = -RoundToInt(stockHeight / pixelsPerInch * 2540.0);
    lf.lfWidth = 0;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.lfQuality = 1;
    lf.SetFaceName("\xCB\xCE\xCC\xE5"); // 宋体
    return lf;
}

void CSystemSettings::SetDefaults()
{
    m_nWorkUnit = 2;
    m_nPrecision = 100;
    m_lfDefaultFont = DefaultTextFont();
    m_nCaptureRadius = 15;
    m_crLineColor = 0x000000;
    m_crLineDialogColor = 0xFFFFFF;
    m_crPromptColor1 = 0x0000FF;
    m_crPromptColor2 = 0xFF0000;
    m_crDimensionPromptColor = 0x0000FF;
    m_crPaperColor = 0xFFFFFF;
    m_crOutsidePaperColor = kGrayTextColor;
    m_crMarginFrameColor = kMenuColor;
    m_nPointMarkRadius = 2;
    m_nCrossMarkSize = 5;
    m_bAutoSnap = 1;
    m_bAltCaptureMode = 0;
    m_bValueDialogs = 0;
    m_nPointPositionMode = 0;
    m_bAutoBackup = 1;
    m_nBackupMinutes = 5;
    m_strBackupFile = DefaultBackupFile();
    m_bBackupEveryStep = 1;
    m_strDocumentFolder.clear();
    m_strLibraryFolder.clear();
    m_dReserved = {0.0, 0.0, 0.0, 0.0};
    m_bArchiveOnly = 0;
    m_strArchiveFolder.clear();
    SetDefaultLineTypes();
    m_nStartArrowType = 0;
    m_nEndArrowType = 0;
    m_dStartArrowAngle = 53.0;
    m_dEndArrowAngle = 53.0;
    m_nStartArrowSize = 600;
    m_nEndArrowSize = 600;
    m_sizeDefaultPaper = CSize(21000, 29700);
    m_nDefaultMargin = {500, 500, 500, 500};
    m_bShowRulers = 1;
    m_crFontColor = 0x000000;
    m_crReserved2 = 0xFFFFFF;
    m_nOffsetLineCount = 1;
    m_nOffsetDistance = 100;
    m_nTableBorderWidth = 35;
    m_nTableInnerWidth = 25;
    m_crTableLineColor = 0x000000;
    m_crCellBackColor = 0xFFFFFF;
    m_nNewTableColumns = 6;
    m_nNewTableRows = 10;
    m_nNewTableRowHeight = 700;
    m_nNewTableColumnWidth = 3000;
    m_bNewTableFitWidth = 1;
    m_bNewTableFitHeight = 0;
    m_rcCellPadding = CRect(50, 50, 50, 50);
    m_nTextAlignment = 4;
    m_crGradientStart = 0x000000;
    m_crGradientEnd = 0xFFFFFF;
    m_nFillType = 0;
    m_bTableMatching = 1;
}

void CSystemSettings::LoadConfig(CArchive& ar)
{
    const std::int32_t version = ReadInt(ar);
    m_nWorkUnit = ReadInt(ar);
    m_nPrecision = ReadInt(ar);

    LogFont& lf = m_lfDefaultFont;
    ar >> lf.lfHeight >> lf.lfWidth >> lf.lfEscapement >> lf.lfOrientation >> lf.lfWeight;
    ar >> lf.lfItalic >> lf.lfUnderline >> lf.lfStrikeOut >> lf.lfCharSet >> lf.lfOutPrecision
        >> lf.lfClipPrecision >> lf.lfQuality >> lf.lfPitchAndFamily;
    // A face name longer than the record holds is cut at a character
    // boundary rather than overflowing it.
    lf.SetFaceName(ar.ReadString());

    m_nCaptureRadius = ReadInt(ar);
    m_crLineColor = ReadColor(ar);
    m_crLineDialogColor = ReadColor(ar);
    m_crPromptColor1 = ReadColor(ar);
    m_crPromptColor2 = ReadColor(ar);
    if (version >= 101) m_crReserved1 = ReadColor(ar);
    m_crDimensionPromptColor = ReadColor(ar);
    m_crPaperColor = ReadColor(ar);
    m_crOutsidePaperColor = ReadColor(ar);
    m_crMarginFrameColor = ReadColor(ar);
    m_nPointMarkRadius = ReadInt(ar);
    m_nCrossMarkSize = ReadInt(ar);
    m_bAutoSnap = ReadInt(ar);

    m_bValueDialogs = ReadInt(ar);
    m_nPointPositionMode = ReadInt(ar);
    m_bAutoBackup = ReadInt(ar);
    m_nBackupMinutes = ReadInt(ar);
    m_strBackupFile = ar.ReadString();
    m_bBackupEveryStep = ReadInt(ar);
    m_strDocumentFolder = ar.ReadString();
    m_strLibraryFolder = ar.ReadString();
    for (double& d : m_dReserved) d = ReadDouble(ar);
    m_bArchiveOnly = ReadInt(ar);
    m_strArchiveFolder = ar.ReadString();

    m_nStartArrowType = ReadInt(ar);
    m_nEndArrowType = ReadInt(ar);
    m_dStartArrowAngle = ReadDouble(ar);
    m_dEndArrowAngle = ReadDouble(ar);
    m_nStartArrowSize = ReadInt(ar);
    m_nEndArrowSize = ReadInt(ar);
    ar >> m_sizeDefaultPaper;
    for (int& m : m_nDefaultMargin) m = ReadInt(ar);
    m_bShowRulers = ReadInt(ar);
    m_crFontColor = ReadColor(ar);
    m_crReserved2 = ReadColor(ar);
    m_nOffsetLineCount = ReadInt(ar);
    m_nOffsetDistance = ReadInt(ar);
    m_nTableBorderWidth = ReadInt(ar);
    m_nTableInnerWidth = ReadInt(ar);
    m_crTableLineColor = ReadColor(ar);
    m_crCellBackColor = ReadColor(ar);
    m_nNewTableColumns = ReadInt(ar);
    m_nNewTableRows = ReadInt(ar);
    m_nNewTableRowHeight = ReadInt(ar);
    m_nNewTableColumnWidth = ReadInt(ar);
    m_bNewTableFitWidth = ReadInt(ar);
    m_bNewTableFitHeight = ReadInt(ar);
    ar >> m_rcCellPadding;
    m_nTextAlignment = ReadInt(ar);
    m_crGradientStart = ReadColor(ar);
    m_crGradientEnd = ReadColor(ar);
    m_nFillType = ReadInt(ar);
    if (version >= 101) m_bTableMatching = ReadInt(ar);
}

void CSystemSettings::StoreConfig(CArchive& ar) const
{
    const LogFont& lf = m_lfDefaultFont;
    ar << kConfigVersion << std::int32_t(m_nWorkUnit) << std::int32_t(m_nPrecision);
    ar << lf.lfHeight << lf.lfWidth << lf.lfEscapement << lf.lfOrientation << lf.lfWeight;
    ar << lf.lfItalic << lf.lfUnderline << lf.lfStrikeOut << lf.lfCharSet << lf.lfOutPrecision << lf.lfClipPrecision
       << lf.lfQuality << lf.lfPitchAndFamily;
    ar.WriteString(lf.FaceName());

    ar << std::int32_t(m_nCaptureRadius) << m_crLineColor << m_crLineDialogColor << m_crPromptColor1
       << m_crPromptColor2 << m_crReserved1 << m_crDimensionPromptColor << m_crPaperColor << m_crOutsidePaperColor
       << m_crMarginFrameColor << std::int32_t(m_nPointMarkRadius) << std::int32_t(m_nCrossMarkSize)
       << std::int32_t(m_bAutoSnap);
    ar << std::int32_t(m_bValueDialogs) << std::int32_t(m_nPointPositionMode) << std::int32_t(m_bAutoBackup)
       << std::int32_t(m_nBackupMinutes);
    ar.WriteString(m_strBackupFile);
    ar << std::int32_t(m_bBackupEveryStep);
    ar.WriteString(m_strDocumentFolder);
    ar.WriteString(m_strLibraryFolder);
    for (double d : m_dReserved) ar << d;
    ar << std::int32_t(m_bArchiveOnly);
    ar.WriteString(m_strArchiveFolder);

    ar << std::int32_t(m_nStartArrowType) << std::int32_t(m_nEndArrowType) << m_dStartArrowAngle << m_dEndArrowAngle
       << std::int32_t(m_nStartArrowSize) << std::int32_t(m_nEndArrowSize) << m_sizeDefaultPaper;
    for (int m : m_nDefaultMargin) ar << std::int32_t(m);
    ar << std::int32_t(m_bShowRulers) << m_crFontColor << m_crReserved2 << std::int32_t(m_nOffsetLineCount)
       << std::int32_t(m_nOffsetDistance) << std::int32_t(m_nTableBorderWidth) << std::int32_t(m_nTableInnerWidth)
       << m_crTableLineColor << m_crCellBackColor << std::int32_t(m_nNewTableColumns)
       << std::int32_t(m_nNewTableRows) << std::int32_t(m_nNewTableRowHeight)
       << std::int32_t(m_nNewTableColumnWidth) << std::int32_t(m_bNewTableFitWidth)
       << std::int32_t(m_bNewTableFitHeight) << m_rcCellPadding << std::uint32_t(m_nTextAlignment);
    ar << m_crGradientStart << m_crGradientEnd << std::int32_t(m_nFillType) << std::int32_t(m_bTableMatching);
}

namespace {

CLineAttr MakeLineType(int kind, int width, std::initializer_list<int> params)
{
    CLineAttr attr(width);
    attr.SetKind(kind);
    int n = 1;
    for (int p : params) attr.SetParam(n++, p);
    return attr;
}

void RebuildPreviews(std::vector<CLineAttr>& previews, const std::vector<CLineAttr>& lineTypes)
{
    previews.clear();
    for (std::size_t i = 0; i + CSystemSettings::kPreviewOffset < lineTypes.size(); ++i)
        previews.push_back(lineTypes[i]);
}

// Each line-type record holds at least its kind and width.
constexpr std::size_t kMinLineTypeRecord = 8;

// A record of a kind, width or length that no tool gives is damage: a
// kind read wrongly reads the rest of the file out of step.
void LoadLineType(CArchive& ar, CLineAttr& attr)
{
    attr.LoadFromLineTypeFile(ar);
    if (!IsSoundLineType(attr)) throw CArchiveError("line type that no tool makes");
}

// The same for a display copy, which is the pattern the line-type box
// draws: one that adding a line type does not make is damage too.
// `copiedFrom` is the line type a list read without display copies copies
// into its place.
void LoadPreview(CArchive& ar, CLineAttr& preview, const CLineAttr& copiedFrom)
{
    LoadLineType(ar, preview);
    if (!IsSoundPreview(preview, copiedFrom)) throw CArchiveError("display copy that no line type gives");
}

} // namespace

void CSystemSettings::SetDefaultLineTypes()
{
    m_aLineTypes = {
        MakeLineType(0, 10, {}),
        MakeLineType(1, 10, {100, 100}),
        MakeLineType(2, 10, {10, 100}),
        MakeLineType(3, 10, {200, 30, 300, 300}),
        MakeLineType(4, 10, {200, 30, 30, 30, 30, 30}),
        MakeLineType(5, 10, {100, 100}),
        MakeLineType(6, 10, {100, 100}),
        MakeLineType(7, 10, {100, 100}),
        MakeLineType(8, 10, {100, 100}),
    };
    m_nCurLineType = 0;
    RebuildPreviews(m_aLineTypePreviews, m_aLineTypes);
}

void CSystemSettings::LoadLineTypes(CArchive& ar)
{
    std::int32_t version = 0;
    ar >> version;
    const std::int32_t count = ReadInt(ar);
    if (count <= 0) throw CArchiveError("line-type list is empty");
    ar.RequireItems(count, kMinLineTypeRecord);
    std::vector<CLineAttr> lineTypes(static_cast<std::size_t>(count));
    for (CLineAttr& attr : lineTypes) LoadLineType(ar, attr);

    // An index beyond the list is taken as its last entry, as the Windows
    // program took it; a negative one no list ever had.
    const std::int32_t storedIndex = ReadInt(ar);
    if (storedIndex < 0) throw CArchiveError("negative current line type");
    const int current = std::min(storedIndex, count - 1);

    const std::int32_t previewCount = ReadInt(ar);
    std::vector<CLineAttr> previews;
    if (previewCount > 0 && std::int64_t(count) == std::int64_t(previewCount) + kPreviewOffset) {
        ar.RequireItems(previewCount, kMinLineTypeRecord);
        previews.resize(std::size_t(previewCount));
        for (std::size_t i = 0; i < previews.size(); ++i) LoadPreview(ar, previews[i], lineTypes[i]);
    } else {
        RebuildPreviews(previews, lineTypes);
    }
    // The lists are the whole file: bytes after them (display copies of a
    // count that does not match, or records misread after a damaged kind)
    // mean that what was read is not what was written.
    if (ar.BytesLeft() != 0) throw CArchiveError("bytes after the line types");
    m_aLineTypes = std::move(lineTypes);
    m_nCurLineType = current;
    m_aLineTypePreviews = std::move(previews);
}

void CSystemSettings::StoreLineTypes(CArchive& ar) const
{
    ar << kLineTypeVersion << std::int32_t(m_aLineTypes.size());
    for (const CLineAttr& attr : m_aLineTypes) attr.Store(ar);
    ar << std::int32_t(m_nCurLineType) << std::int32_t(m_aLineTypePreviews.size());
    for (const CLineAttr& attr : m_aLineTypePreviews) attr.Store(ar);
}

bool CSystemSettings::AddLineType(const CLineAttr& lineType)
{
    CRect bounds;
    for (const CLineTypeShape& shape : lineType.GetShapes()) bounds.UnionRect(bounds, shape.GetBoundRect());
    // A pattern without width cannot be scaled to the preview size. Extents
    // in 64 bits: a drawing's points may lie further apart than an int holds.
    const long long width = 0LL + bounds.right - bounds.left;
    const long long height = 0LL + bounds.bottom - bounds.top;
    if (width <= 0 || height > width * kMaxPatternAspect) return false;

    const int cx = RoundToInt((double(bounds.left) + bounds.right) / 2.0);
    const int cy = RoundToInt((double(bounds.top) + bounds.bottom) / 2.0);
    const double scale = double(width) / kPreviewWidth;

    CLineTypeShapeArray previewShapes;
    for (const CLineTypeShape& shape : lineType.GetShapes()) {
        CPointList points;
        for (const CPoint& p : shape.GetPoints())
            points.AddTail(CPoint(RoundToInt((p.x - cx) / scale), RoundToInt((p.y - cy) / scale)));
        RemoveRepeatedPoints(points);
        CLineTypeShape small(std::max(1, RoundToInt(shape.GetPenWidth() / scale)),
                             points.GetCount() < 3 ? 0 : shape.IsFilled(), points);
        previewShapes.push_back(small);
    }
    CLineAttr preview(lineType);
    preview.SetShapes(previewShapes);

    m_aLineTypes.push_back(lineType);
    m_aLineTypePreviews.push_back(preview);
    return true;
}

namespace {

// Settings files are a few kilobytes; one this large is damage.
constexpr qint64 kLargestSettingsFile = qint64(64) << 20;

// Reads the whole file; false with nothing read when it does not exist.
// Only a regular file is read: a pipe or a device in its place could hold
// the start up for good.
bool ReadFileBytes(const QString& path, std::string& bytes, QString* warning)
{
    if (!QFileInfo::exists(path)) return false;
    QFile file;
    QString why;
    if (!OpenRegularFile(path, file, &why)) {
        if (warning) *warning = why;
        return false;
    }
    if (file.size() > kLargestSettingsFile) {
        if (warning) *warning = QStringLiteral("file too large");
        return false;
    }
    // Straight into the archive's bytes: a line-type file may be many
    // megabytes, and a second copy of it costs its pages again.
    bytes.reserve(std::size_t(file.size()));
    AdviseHugePages(bytes.data(), bytes.capacity());
    bytes.resize(std::size_t(file.size()));
    const qint64 read = file.read(bytes.data(), qint64(bytes.size()));
    if (read < 0) {
        if (warning) *warning = file.errorString();
        return false;
    }
    bytes.resize(std::size_t(read));
    // Whatever was added since it was measured, up to the bound.
    while (!file.atEnd() && bytes.size() <= std::size_t(kLargestSettingsFile)) {
        const QByteArray more = file.read(1 << 16);
        if (more.isEmpty()) break;
        bytes.append(more.constData(), std::size_t(more.size()));
    }
    if (bytes.size() > std::size_t(kLargestSettingsFile)) {
        if (warning) *warning = QStringLiteral("file too large");
        return false;
    }
    return true;
}

bool WriteFileBytes(const QString& path, const std::string& bytes, QString* error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    return SaveWholeFile(path, bytes, error);
}

// Loads into a copy and keeps it only when the whole record was read.
template <class LoadFn>
bool LoadInto(CSystemSettings& settings, const QString& path, QString* warning, LoadFn load)
{
    std::string bytes;
    QString why;
    if (!ReadFileBytes(path, bytes, &why)) {
        if (why.isEmpty()) return true; // no file: the defaults stand
        if (warning) *warning = why;
        return false;
    }
    CSystemSettings copy = settings;
    try {
        CArchive ar(std::move(bytes));
        load(copy, ar);
    } catch (const std::exception& e) {
        if (warning) *warning = QString::fromUtf8(e.what());
        return false;
    }
    settings = std::move(copy);
    return true;
}

// At least the bytes the line types take stored: a custom pattern may hold
// millions of points, and a buffer grown by doubling touches twice its size.
std::size_t LineTypeBytesBound(const std::vector<CLineAttr>& lineTypes)
{
    std::size_t bytes = 64;
    for (const CLineAttr& attr : lineTypes) {
        bytes += 40;
        for (const CLineTypeShape& shape : attr.GetShapes()) bytes += 12 + 8 * std::size_t(shape.GetPoints().GetCount());
    }
    return bytes;
}

QString ConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
}

} // namespace

QString CSystemSettings::ConfigFilePath()
{
    return QDir(ConfigFolder()).filePath(QStringLiteral("Config.dat"));
}

QString CSystemSettings::LineTypeFilePath()
{
    return QDir(ConfigFolder()).filePath(QStringLiteral("LineType.dat"));
}

bool CSystemSettings::LoadConfigFile(const QString& path, QString* warning)
{
    return LoadInto(*this, path, warning, [](CSystemSettings& s, CArchive& ar) { s.LoadConfig(ar); });
}

bool CSystemSettings::SaveConfigFile(const QString& path, QString* error) const
{
    CArchive ar;
    StoreConfig(ar);
    return WriteFileBytes(path, ar.Buffer(), error);
}

bool CSystemSettings::LoadLineTypeFile(const QString& path, QString* warning)
{
    return LoadInto(*this, path, warning, [](CSystemSettings& s, CArchive& ar) { s.LoadLineTypes(ar); });
}

bool CSystemSettings::SaveLineTypeFile(const QString& path, QString* error) const
{
    CArchive ar;
    ar.Reserve(LineTypeBytesBound(m_aLineTypes) + LineTypeBytesBound(m_aLineTypePreviews));
    StoreLineTypes(ar);
    return WriteFileBytes(path, ar.Buffer(), error);
}
