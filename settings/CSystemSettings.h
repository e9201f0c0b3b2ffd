// The user's settings: one record for the whole program, filled with
// defaults and then from "Config.dat" and "LineType.dat" when the main
// window is created, read and changed directly by the tools and dialogs,
// and written back when the main window closes.
#pragma once

#include "model/CLineAttr.h"
#include "platform/LogFont.h"
#include "platform/Types.h"

#include <QString>

#include <array>
#include <string>
#include <vector>

class CArchive;

class CSystemSettings {
public:
    static constexpr std::int32_t kConfigVersion = 101;
    static constexpr std::int32_t kLineTypeVersion = 100;
    // The display list holds this many entries fewer than the line types.
    static constexpr int kPreviewOffset = 5;
    // A display copy is its line type's pattern scaled to this width.
    static constexpr int kPreviewWidth = 12;
    // A pattern taller than this many times its width is no line type:
    // laid along a line, one repetition would be less than a thousandth of
    // the line's width long, and its display copy would reach far beyond
    // the sample it is drawn in.
    static constexpr int kMaxPatternAspect = 1000;

    int m_nWorkUnit = 0;
    int m_nPrecision = 0;
    LogFont m_lfDefaultFont;
    int m_nCaptureRadius = 0;
    COLORREF m_crLineColor = 0;
    COLORREF m_crLineDialogColor = 0;
    COLORREF m_crPromptColor1 = 0;
    COLORREF m_crPromptColor2 = 0;
    COLORREF m_crReserved1 = 0;
    COLORREF m_crDimensionPromptColor = 0;
    COLORREF m_crPaperColor = 0;
    COLORREF m_crOutsidePaperColor = 0;
    COLORREF m_crMarginFrameColor = 0;
    int m_nPointMarkRadius = 0;
    int m_nCrossMarkSize = 0;
    int m_bAutoSnap = 0;
    int m_bAltCaptureMode = 0;
    int m_bValueDialogs = 0;
    int m_nPointPositionMode = 0;
    int m_bAutoBackup = 0;
    int m_nBackupMinutes = 0;
    std::string m_strBackupFile;
    int m_bBackupEveryStep = 0;
    std::string m_strDocumentFolder;
    std::string m_strLibraryFolder;
    std::array<double, 4> m_dReserved{};
    int m_bArchiveOnly = 0;
    std::string m_strArchiveFolder;
    std::vector<CLineAttr> m_aLineTypes;
    int m_nCurLineType = 0;
    std::vector<CLineAttr> m_aLineTypePreviews;
    int m_nStartArrowType = 0;
    int m_nEndArrowType = 0;
    double m_dStartArrowAngle = 0;
    double m_dEndArrowAngle = 0;
    int m_nStartArrowSize = 0;
    int m_nEndArrowSize = 0;
    CSize m_sizeDefaultPaper;
    std::array<int, 4> m_nDefaultMargin{}; // top, bottom, left, right
    int m_bShowRulers = 0;
    COLORREF m_crFontColor = 0;
    COLORREF m_crReserved2 = 0;
    int m_nOffsetLineCount = 0;
    int m_nOffsetDistance = 0;
    int m_nTableBorderWidth = 0;
    int m_nTableInnerWidth = 0;
    COLORREF m_crTableLineColor = 0;
    COLORREF m_crCellBackColor = 0;
    int m_nNewTableColumns = 0;
    int m_nNewTableRows = 0;
    int m_nNewTableRowHeight = 0;
    int m_nNewTableColumnWidth = 0;
    int m_bNewTableFitWidth = 0;
    int m_bNewTableFitHeight = 0;
    CRect m_rcCellPadding;
    int m_nTextAlignment = 0;
    COLORREF m_crGradientStart = 0;
    COLORREF m_crGradientEnd = 0;
    int m_nFillType = 0;
    int m_bTableMatching = 0;

    // Every default, in field order; the stored-only first colour is left
    // as it is.
    void SetDefaults();
    // The nine built-in line types, current index 0, and their display list.
    void SetDefaultLineTypes();

    // The "Config.dat" record (a version, then the fields).
    void LoadConfig(CArchive& ar);
    void StoreConfig(CArchive& ar) const;
    // The "LineType.dat" record. Load throws CArchiveError, the lists left
    // as they were, for a record that is not the whole archive or holds a
    // line type no tool makes.
    void LoadLineTypes(CArchive& ar);
    void StoreLineTypes(CArchive& ar) const;

    // The files in the user's configuration folder. A missing file keeps
    // the current values and is no error; a damaged one keeps them too and
    // returns false with a warning. Writes go through a temporary file.
    static QString ConfigFilePath();
    static QString LineTypeFilePath();
    bool LoadConfigFile(const QString& path, QString* warning = nullptr);
    bool SaveConfigFile(const QString& path, QString* error = nullptr) const;
    bool LoadLineTypeFile(const QString& path, QString* warning = nullptr);
    bool SaveLineTypeFile(const QString& path, QString* error = nullptr) const;

    // Appends a custom line type and its display copy, scaled to a width of
    // 12 units around the origin. Returns false (and adds nothing) for a
    // pattern whose shapes have no width to scale, or whose height is more
    // than kMaxPatternAspect times its width.
    bool AddLineType(const CLineAttr& lineType);

    // The stock interface font of a 96 pixels-per-inch screen in page units.
    static LogFont DefaultTextFont();
};

// The program's one settings record.
CSystemSettings& Settings();
