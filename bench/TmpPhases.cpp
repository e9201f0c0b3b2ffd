#include "BenchDocument.h"
#include "app/CSystemSettings.h"
#include "app/CVEKDoc.h"
#include "model/CPageSet.h"
#include "model/CPage.h"
#include "model/CGraphElement.h"
#include "platform/CArchive.h"
#include "platform/CCompoundFile.h"
#include <QApplication>
#include <QFile>
#include <chrono>
#include <cstdio>
using Clock = std::chrono::steady_clock;
static double Ms(Clock::time_point a) { return std::chrono::duration<double, std::milli>(Clock::now() - a).count(); }
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int pages = argc > 1 ? atoi(argv[1]) : 20, curves = argc > 2 ? atoi(argv[2]) : 5000;
    auto t = Clock::now();
    auto doc = MakeBenchDocument(pages, curves, 40);
    printf("make %.0f ms\n", Ms(t));
    t = Clock::now();
    std::string rec = CVEKDoc::StorePageSetRecord(*doc);
    printf("store (fresh geometry) %.0f ms, %zu bytes\n", Ms(t), rec.size());
    t = Clock::now();
    rec = CVEKDoc::StorePageSetRecord(*doc);
    printf("store (geometry done) %.0f ms\n", Ms(t));
    doc.reset();
    t = Clock::now();
    auto loaded = CVEKDoc::LoadPageSetRecord(rec);
    printf("load record %.0f ms\n", Ms(t));
    t = Clock::now();
    for (int p = 0; p < loaded->GetPageCount(); ++p)
        for (CGraphElement* e : loaded->GetPageAt(p)->Elements()) e->GetBoundRect();
    printf("geometry %.0f ms\n", Ms(t));
    t = Clock::now();
    { CPageSet copy; copy.CopyFrom(*loaded); printf("copy %.0f ms\n", Ms(t)); t = Clock::now(); }
    printf("copy delete %.0f ms\n", Ms(t));
    t = Clock::now();
    CCompoundEntry root; root.isStorage = true; CCompoundEntry c; c.name = "Contents"; c.data = rec; root.children.push_back(c);
    std::string bytes, why;
    CCompoundFile::Build(root, bytes, why);
    printf("compound build %.0f ms\n", Ms(t));
    t = Clock::now();
    CCompoundEntry parsed; CCompoundFile::Parse(bytes, parsed, why);
    printf("compound parse %.0f ms\n", Ms(t));
    t = Clock::now();
    loaded.reset();
    printf("delete %.0f ms\n", Ms(t));
}
