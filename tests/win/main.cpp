// Win32 tests under Wine. The executable also serves as a child process for tests that
// must watch a process end or be killed: "--child NAME ARGS".
#include <gtest/gtest.h>

#include <cstring>

#include "child_modes.h"

int main(int argc, char** argv)
{
    if (argc >= 3 && strcmp(argv[1], "--child") == 0) return RunChildMode(argv[2], argc - 3, argv + 3);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
