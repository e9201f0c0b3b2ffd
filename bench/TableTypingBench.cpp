// Typing into a cell of the measurement table of 200 rows by 12 columns:
// each keystroke goes to the in-cell edit box of the table tool, and the
// view (the page from its image, the tool's feedback and the box over the
// cell) is painted again, as the screen shows it after the key.
#include "BenchDocument.h"
#include "app/CVEKDoc.h"
#include "app/CVEKView.h"
#include "shell/CToolTable.h"
#include "model/CPage.h"
#include "model/CPageSet.h"
#include "platform/CodePage.h"
#include "tables/tool/CCellEdit.h"
#include "tables/CTableElement.h"
#include "tables/tool/CVTModifyTable.h"
#include "tables/tool/CVTTable.h"
#include "res/CommandIds.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <memory>
#include <string>

namespace {

constexpr int kRows = 200;
constexpr int kColumns = 12;

LogFont Song()
{
    LogFont lf;
    lf.lfHeight = 318;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = GB2312_CHARSET;
    lf.SetFaceName("\xCB\xCE\xCC\xE5");
    return lf;
}

struct TypingView {
    QTemporaryDir dir;
    CVEKDoc doc;
    std::unique_ptr<CVEKView> view;
    QImage target;
    CCellEdit* box = nullptr;
};

// Released by main while the application still runs: widgets must go
// before it.
std::unique_ptr<TypingView>& Made()
{
    static std::unique_ptr<TypingView> made;
    return made;
}

TypingView& View()
{
    std::unique_ptr<TypingView>& made = Made();
    if (made) return *made;
    made = std::make_unique<TypingView>();
    TypingView& v = *made;
    UseSettingsIn(v.dir.path());
    v.doc.OnNewDocument();
    CPage* page = v.doc.GetPageSet()->GetCurrentPage();
    auto* table = new CTableElement(page, 0, kRows, kColumns, RGB(0, 0, 0), 35, 25, CRect(50, 50, 50, 50), 4, Song(),
                                    RGB(0, 0, 0), RGB(255, 255, 255),
                                    CRect(600, 1500, 600 + kColumns * 1650, 1500 + kRows * 500));
    const std::string names[] = {QStringToGbk(QString::fromUtf8("衣长")), QStringToGbk(QString::fromUtf8("胸围")),
                                 QStringToGbk(QString::fromUtf8("肩宽")), QStringToGbk(QString::fromUtf8("袖长"))};
    for (int r = 1; r <= kRows; ++r) {
        table->SetCellText(r, 1, names[r % 4] + std::to_string(r));
        for (int c = 2; c <= kColumns; ++c) table->SetCellText(r, c, std::to_string(60 + (r * 7 + c * 3) % 50) + ".5");
    }
    page->AddElement(table);
    v.view = std::make_unique<CVEKView>(&v.doc, CToolTable());
    v.view->resize(1200, 900);
    v.view->show();
    v.view->ZoomToFitPage();
    v.view->OnToolCommand(ID_TOOL_TABLE);
    auto* tool = dynamic_cast<CVTTable*>(v.view->GetTool(CVEKView::kTableTool));
    tool->EditTable(table, 20, 6);
    v.box = tool->GetEditor()->GetCellEdit();
    v.target = QImage(v.view->size(), QImage::Format_ARGB32_Premultiplied);
    v.view->render(&v.target);
    return v;
}

void SendKey(QWidget* to, int key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(to, &release);
}

// One key typed and one taken back per two iterations, so the text stays
// as long as it was.
void BM_TypeIntoCell(benchmark::State& state)
{
    TypingView& v = View();
    bool typed = false;
    for (auto _ : state) {
        if (typed)
            SendKey(v.box, Qt::Key_Backspace, QString());
        else
            SendKey(v.box, Qt::Key_8, QStringLiteral("8"));
        typed = !typed;
        v.view->render(&v.target);
    }
    state.SetLabel("200 x 12 table, whole view painted per key");
}
BENCHMARK(BM_TypeIntoCell)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Made().reset();
    return 0;
}
