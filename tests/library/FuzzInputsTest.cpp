// Inputs of the plotter reader and of the library file and its preview kept
// under tests/data/fuzz/<Target> (edge cases and what fuzzing found),
// replayed (see tests/fuzz).
#include "tests/fuzz/LibraryTargets.h"
#include "tests/fuzz/ReplayInputs.h"

#include <gtest/gtest.h>

TEST(FuzzInputs, PlotterFilesReadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR), {{"Hpgl", fuzz::Hpgl}});
    EXPECT_GT(replayed, 0);
}

TEST(FuzzInputs, LibraryFilesAndTheirPreviewsReadOrAreRefusedCleanly)
{
    const int replayed = fuzz::ReplayAll(QStringLiteral(VEK_TESTDATA_DIR),
                                         {{"LibraryFile", fuzz::LibraryFile}, {"LibraryPreview", fuzz::LibraryPreview}});
    EXPECT_GT(replayed, 0);
}
