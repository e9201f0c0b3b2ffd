// Inputs that fuzzing found troublesome, replayed (see tests/fuzz).
#include "tests/fuzz/PlatformTargets.h"
#include "tests/fuzz/ReplayInputs.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, LoadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {{"CompoundFile", fuzz::CompoundFile}});
    EXPECT_GT(replayed, 0);
}
