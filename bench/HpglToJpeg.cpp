// hpgl_to_jpeg IN.plt OUT.jpg [DPI]: imports a plotter file into a new
// document and writes its page as a JPEG (100 dpi unless given), the way
// the editor does; the side-by-side script times it against hp2xx.
#include "HpglPage.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>
#include <memory>

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s IN.plt OUT.jpg [DPI]\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Settings().SetDefaults();
    const int dpi = argc > 3 ? std::atoi(argv[3]) : 100;
    // The document lives to the end of the process, as in the editor; its
    // teardown is no part of what is timed.
    auto* doc = new CVEKDoc;
    QString error;
    bool written = false;
    if (const int message = bench::ImportHpgl(*doc, QString::fromLocal8Bit(argv[1])))
        error = LoadResString(message);
    else
        written = CPagePrinter::WriteJpegFile(bench::RenderPage(*doc->GetPageSet(), dpi > 0 ? dpi : 100),
                                              QString::fromLocal8Bit(argv[2]), &error);
    if (!written) std::fprintf(stderr, "%s\n", qPrintable(error));
    std::fflush(nullptr);
    std::_Exit(written ? 0 : 1);
}
