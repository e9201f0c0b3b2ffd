// Inputs that fuzzing found troublesome, replayed (see tests/fuzz).
#include "tests/fuzz/ModelTargets.h"
#include "tests/fuzz/ReplayInputs.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, LoadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {
        {"PageSet", fuzz::PageSet},
        {"Element", fuzz::Element},
        {"Picture", fuzz::Picture},
        {"CntrItem", fuzz::CntrItem},
        {"OlePresentation", fuzz::OlePresentation},
    });
    EXPECT_GT(replayed, 0);
}
