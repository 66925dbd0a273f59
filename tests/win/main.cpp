// Win32 tests under Wine. Tests that need a process of their own run this executable again
// with one DISABLED_ helper test (StartHelperTest).
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
