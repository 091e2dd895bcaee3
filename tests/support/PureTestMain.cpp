// The suites of plain rules: GoogleTest's own main, in folders of the run's own.

#include "tests/support/ScratchFolders.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const TScratchUserFolders folders;
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
