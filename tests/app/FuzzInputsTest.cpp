// Inputs that fuzzing found troublesome, replayed (see tests/fuzz).
#include "tests/fuzz/AppTargets.h"
#include "tests/fuzz/LineTypeTarget.h"
#include "tests/fuzz/GuiTargets.h"
#include "tests/fuzz/ReplayInputs.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, LoadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {
        {"Document", fuzz::Document},
        {"Config", fuzz::Config},
        {"LineType", fuzz::LineType},
        {"Clipboard", fuzz::Clipboard},
        {"WindowPos", fuzz::WindowPos},
        {"PhraseList", fuzz::PhraseList},
    });
    EXPECT_GT(replayed, 0);
}
