#include "library/tool/CHpglImport.h"

#include "settings/CSystemSettings.h"
#include "app/CVEKDoc.h"

#include "library/CHpglDrawing.h"
#include "library/CHpglReader.h"
#include "library/HpglState.h"
#include "model/CGraphElement.h"
#include "model/CPageSet.h"
#include "res/StringTable.h"

namespace {

constexpr int kClosedLineEntry = 4;
// Open lines are drawn this many times thinner than the current line width.
constexpr int kOpenLineDivisor = 30;

int MessageFor(CHpglReader::Result result)
{
    switch (result) {
    case CHpglReader::Result::Ok: return 0;
    case CHpglReader::Result::CannotOpen: return Ids::IDS_CANNOT_OPEN;
    case CHpglReader::Result::NotHpgl: return Ids::IDS_NOT_HPGL;
    case CHpglReader::Result::TooLarge: return Ids::IDS_HPGL_TOO_MUCH;
    }
    return Ids::IDS_NOT_HPGL;
}

} // namespace

HpglElementStyle CHpglImport::StyleFromSettings()
{
    const CSystemSettings& s = Settings();
    HpglElementStyle style;
    const CLineAttr base = s.m_aLineTypes.size() > std::size_t(kClosedLineEntry)
                               ? s.m_aLineTypes[std::size_t(kClosedLineEntry)]
                               : CLineAttr();
    // The width of the current line type as the display list holds it; a
    // custom current type beyond that list takes its own width.
    int width = base.GetWidth();
    const int current = s.m_nCurLineType;
    if (current >= 0 && std::size_t(current) < s.m_aLineTypePreviews.size())
        width = s.m_aLineTypePreviews[std::size_t(current)].GetWidth();
    else if (current >= 0 && std::size_t(current) < s.m_aLineTypes.size())
        width = s.m_aLineTypes[std::size_t(current)].GetWidth();
    style.closedLine = base;
    style.closedLine.SetWidth(width);
    style.openLine = base;
    style.openLine.SetWidth(width / kOpenLineDivisor);
    style.lineColor = s.m_crLineColor;
    style.startArrowSize = s.m_nStartArrowSize;
    style.startArrowAngle = s.m_dStartArrowAngle;
    style.endArrowSize = s.m_nEndArrowSize;
    style.endArrowAngle = s.m_dEndArrowAngle;
    style.font = s.m_lfDefaultFont;
    style.fontColor = s.m_crFontColor;
    return style;
}

CHpglImport::Result CHpglImport::ImportFile(CVEKDoc& doc, const QString& path)
{
    Result result;
    HpglState state;
    result.messageId = MessageFor(CHpglReader::ReadFile(path, state));
    if (result.messageId != 0) return result;

    CHpglDrawing drawing;
    switch (drawing.Build(state)) {
    case CHpglDrawing::Result::Ok: break;
    case CHpglDrawing::Result::Empty: result.messageId = Ids::IDS_HPGL_NOTHING_DRAWN; return result;
    case CHpglDrawing::Result::TooLarge: result.messageId = Ids::IDS_HPGL_TOO_LARGE; return result;
    }

    CPageSet* pageSet = doc.GetPageSet();
    if (!pageSet || pageSet->GetCurrentPageIndex() < 0 || pageSet->GetCurrentPageIndex() >= pageSet->GetPageCount()) {
        result.messageId = Ids::IDS_CANNOT_OPEN;
        return result;
    }
    // A drawing whose every line shrinks to a point at page scale adds
    // nothing, and then costs no undo step.
    doc.BeginUndoStep();
    const CHpglElementBuilder builder(StyleFromSettings());
    for (CGraphElement* element : builder.AddToPage(drawing, pageSet->GetCurrentPage())) {
        if (element->GetType() == ELEMENT_TEXT)
            ++result.texts;
        else
            ++result.curves;
    }
    if (result.curves + result.texts == 0) {
        doc.DropUndoStep();
        result.messageId = Ids::IDS_HPGL_NOTHING_DRAWN;
    } else {
        doc.CommitUndoStep();
    }
    return result;
}
