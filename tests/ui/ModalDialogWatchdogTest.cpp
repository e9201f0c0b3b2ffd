// The widget tests' guard against dialogs nobody answers (the test main
// runs it): such a dialog fails the test within seconds, named by its
// title and text, and is closed so that the test goes on; a dialog the
// test answers in time is left alone.
#include "tests/ModalDialogWatchdog.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>
#include <ostream>

namespace {

struct UnansweredCase {
    const char* name;
    std::function<std::unique_ptr<QDialog>()> make;
    // What the failure must say.
    const char* named;
};

void PrintTo(const UnansweredCase& c, std::ostream* os)
{
    *os << c.name;
}

std::unique_ptr<QDialog> MessageBox()
{
    return std::make_unique<QMessageBox>(QMessageBox::Warning, QStringLiteral("输入HPGL文件"),
                                         QStringLiteral("The file cannot be read."), QMessageBox::Ok);
}

std::unique_ptr<QDialog> FileDialog()
{
    return std::make_unique<QFileDialog>(nullptr, QStringLiteral("Open a workbook"));
}

std::unique_ptr<QDialog> LabelledDialog()
{
    auto dialog = std::make_unique<QDialog>();
    dialog->setWindowTitle(QStringLiteral("Sizes"));
    auto* layout = new QVBoxLayout(dialog.get());
    layout->addWidget(new QLabel(QStringLiteral("Type the size names"), dialog.get()));
    return dialog;
}

class Unanswered : public ::testing::TestWithParam<UnansweredCase> {};

int ExecAndTime(QDialog& dialog, qint64& elapsedMs)
{
    QElapsedTimer clock;
    clock.start();
    const int result = dialog.exec();
    elapsedMs = clock.elapsed();
    return result;
}

} // namespace

TEST_P(Unanswered, DialogFailsTheTestWithinSecondsNamingItAndIsRejected)
{
    const std::unique_ptr<QDialog> dialog = GetParam().make();
    qint64 elapsedMs = 0;
    int result = -1;
    EXPECT_NONFATAL_FAILURE(result = ExecAndTime(*dialog, elapsedMs), GetParam().named);
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_GE(elapsedMs, ModalDialogWatchdog::kLimitMs - 500);
    EXPECT_LT(elapsedMs, 3 * ModalDialogWatchdog::kLimitMs);
}

INSTANTIATE_TEST_SUITE_P(
    ModalDialogWatchdog, Unanswered,
    ::testing::Values(
        UnansweredCase{"MessageBox", MessageBox, "QMessageBox \"输入HPGL文件\": \"The file cannot be read.\""},
        UnansweredCase{"FileDialog", FileDialog, "QFileDialog \"Open a workbook\""},
        UnansweredCase{"Labelled", LabelledDialog, "QDialog \"Sizes\": \"Type the size names\""}),
    [](const ::testing::TestParamInfo<UnansweredCase>& info) { return std::string(info.param.name); });

TEST(ModalDialogWatchdog, DialogAnsweredWithinTheLimitPasses)
{
    const std::unique_ptr<QDialog> dialog = MessageBox();
    QTimer::singleShot(ModalDialogWatchdog::kLimitMs / 2, dialog.get(), [&] { dialog->accept(); });
    EXPECT_EQ(dialog->exec(), QDialog::Accepted);
}

TEST(ModalDialogWatchdog, EachDialogHasTheWholeLimit)
{
    // One dialog shown twice, open longer than the limit in all, each time
    // answered within it (and not when the watchdog looks, which would
    // see no dialog between the two).
    const std::unique_ptr<QDialog> dialog = LabelledDialog();
    for (int i = 0; i < 2; ++i) {
        QTimer::singleShot(ModalDialogWatchdog::kLimitMs * 3 / 5 + 110, dialog.get(), [&] { dialog->accept(); });
        EXPECT_EQ(dialog->exec(), QDialog::Accepted);
    }
}
