#include "BenchDocument.h"

#include "model/CClosedCurveElement.h"
#include "model/CCurveNode.h"
#include "model/COpenCurveElement.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "model/CSharedPoint.h"
#include "settings/CSystemSettings.h"

#include <QDir>
#include <QString>

#include <cmath>
#include <random>

namespace {

CCurveNodeList MakeNodes(CPage* page, std::mt19937& rng, int count, bool closed)
{
    std::uniform_int_distribution<int> pos(1000, 20000), size(200, 1500);
    const int cx = pos(rng), cy = pos(rng) + 4000, r = size(rng);
    CCurveNodeList nodes;
    for (int i = 0; i < count; ++i) {
        const double a = (closed ? 2.0 : 1.3) * M_PI * i / count;
        const int x = cx + int(r * std::cos(a)) + (i % 3) * 17;
        const int y = cy + int(r * std::sin(a) * 0.7);
        auto* point = new CSharedPoint(page, x, y);
        page->AddPoint(point);
        nodes.AddTail(new CCurveNode(point, i % 4 == 0 ? 0 : 1));
    }
    return nodes;
}

} // namespace

std::unique_ptr<CPageSet> MakeBenchDocument(int pages, int curvesPerPage, int nodesPerCurve)
{
    auto pageSet = std::make_unique<CPageSet>(PAGESET_VERSION, 100);
    std::mt19937 rng(12345);
    for (int p = 0; p < pages; ++p) {
        pageSet->AppendPage();
        CPage* page = pageSet->GetPageAt(p);
        for (int i = 0; i < curvesPerPage; ++i) {
            const CLineAttr line = i % 5 == 0 ? CLineAttr(20, 0, 0) : CLineAttr(10 + i % 30);
            const COLORREF color = RGB(i % 200, (i * 7) % 200, (i * 13) % 200);
            if (i % 3 == 0) {
                CCurveNodeList nodes = MakeNodes(page, rng, nodesPerCurve, true);
                CGraphElement* e = nullptr;
                switch ((i / 3) % 3) {
                case 0:
                    e = new CClosedCurveElement(page, 1, line, color, nodes, nullptr, RGB(200, 230, 255));
                    break;
                default: {
                    const CRect b(1000, 1000, 20000, 25000);
                    e = new CClosedCurveElement(page, 1, line, color, nodes, nullptr, (i / 3) % 3 == 1 ? 3 : 4,
                                                RGB(255, 0, 0), RGB(0, 0, 255), b.TopLeft(), b.BottomRight(), 0.5,
                                                0.5, b.CenterPoint(), RGB(255, 255, 255), 30.0, 0);
                    break;
                }
                }
                page->AddElement(e);
            } else {
                CCurveNodeList nodes = MakeNodes(page, rng, nodesPerCurve, false);
                page->AddElement(new COpenCurveElement(page, 1, line, color, nodes, i % 7 == 0 ? 1 : 0, 600, 53.0,
                                                       0, 600, 53.0));
            }
        }
    }
    return pageSet;
}

void UseSettingsIn(const QString& folder)
{
    const QDir dir(folder);
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
    Settings().SetDefaults();
}
