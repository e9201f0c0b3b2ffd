// Records that fuzzing found troublesome, replayed (see tests/fuzz): table
// records alone, and the page-set and element findings with the table
// library present, so that their tables load too.
#include "tests/fuzz/ModelTargets.h"
#include "tests/fuzz/ReplayInputs.h"
#include "tests/fuzz/TableTargets.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, TablesLoadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {
        {"Table", fuzz::Table},
        {"PageSet", fuzz::PageSet},
        {"Element", fuzz::Element},
    });
    EXPECT_GT(replayed, 0);
}
