// Workbooks kept under tests/data/fuzz/XlsReader (what fuzzing found),
// replayed (see tests/fuzz).
#include "tests/fuzz/GradingTargets.h"
#include "tests/fuzz/ReplayInputs.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, WorkbooksReadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {{"XlsReader", fuzz::XlsReader}});
    EXPECT_GT(replayed, 0);
}
