// End-to-end tests: drive halvorn.exe under Wine and Xvfb. Takes --halvorn=UNIX_PATH.
#include <gtest/gtest.h>

#include <cstring>

#include "halvorn_process.h"
#include "wine_env.h"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        if (strncmp(argv[i], "--halvorn=", 10) == 0) gHalvornExe = UnixToWindowsPath(argv[i] + 10);
    if (gHalvornExe.empty()) {
        fprintf(stderr, "usage: e2e_tests --halvorn=/path/to/halvorn.exe\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
