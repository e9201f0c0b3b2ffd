#include "CPageArea.h"

#include "CSystemSettings.h"
#include "CVEKDoc.h"

#include "geometry/Distance.h"
#include "model/CPageSet.h"
#include "platform/CDC.h"

#include <QPainter>

namespace {
constexpr int kGap = 20; // pixels around the paper
}

CPageArea::CPageArea(CVEKDoc* doc, QWidget* parent) : QWidget(parent), m_doc(doc)
{
    setObjectName(QStringLiteral("pageArea"));
    setMinimumSize(200, 200);
    connect(m_doc, &CVEKDoc::ContentReplaced, this, qOverload<>(&QWidget::update));
}

double CPageArea::FitScale() const
{
    const CPageSet* ps = m_doc->GetPageSet();
    if (!ps) return 1.0;
    const CSize paper = ps->GetPaperSize();
    const double sx = double(std::max(1, paper.cx)) / std::max(1, width() - 2 * kGap);
    const double sy = double(std::max(1, paper.cy)) / std::max(1, height() - 2 * kGap);
    return std::max(sx, sy);
}

void CPageArea::paintEvent(QPaintEvent*)
{
    const CSystemSettings& s = Settings();
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(s.m_crOutsidePaperColor));
    const CPageSet* ps = m_doc->GetPageSet();
    if (!ps || ps->GetPageCount() == 0) return;

    const double scale = FitScale();
    const CSize paper = ps->GetPaperSize();
    const int paperW = RoundToInt(paper.cx / scale);
    const int paperH = RoundToInt(paper.cy / scale);
    const int left = (width() - paperW) / 2;
    const int top = (height() - paperH) / 2;
    // The page point shown at device pixel (0, 0).
    const int originX = RoundToInt(-left * scale);
    const int originY = RoundToInt(-top * scale);

    painter.fillRect(QRect(left, top, paperW, paperH), ToQColor(s.m_crPaperColor));
    int mt, mb, ml, mr;
    ps->GetMargins(mt, mb, ml, mr);
    painter.setPen(ToQColor(s.m_crMarginFrameColor));
    painter.drawRect(QRectF(left + ml / scale, top + mt / scale, (paper.cx - ml - mr) / scale, (paper.cy - mt - mb) / scale));

    CDC dc(&painter);
    const int index = std::clamp(ps->GetCurrentPageIndex(), 0, ps->GetPageCount() - 1);
    ps->DrawPage(index, &dc, scale, originX, originY, CRect(0, 0, width(), height()));
}
