#include <gtest/gtest.h>

#include "sampling/census_rules.h"
#include "services/process_rules.h"

TEST(ProgramKindFromNames, SortsWindowedPrograms)
{
    EXPECT_EQ(ProgramKindFromNames("WINOA386.MOD", "WINOA386.MOD"), kProgramDos);
    EXPECT_EQ(ProgramKindFromNames("winoa386.mod", ""), kProgramDos);
    EXPECT_EQ(ProgramKindFromNames("NOTEPAD.EXE", "notepad.exe"), kProgram32Bit);
    EXPECT_EQ(ProgramKindFromNames("WRITE.EXE", "KRNL386.EXE"), kProgram16Bit);
    EXPECT_EQ(ProgramKindFromNames("NOTEPAD.EXE", ""), kProgram16Bit);  // no main module found
    EXPECT_EQ(ProgramKindFromNames(nullptr, nullptr), kProgram16Bit);
}

TEST(FileTitleOf, TakesTheLastPathPart)
{
    EXPECT_STREQ(FileTitleOf("C:\\WINDOWS\\NOTEPAD.EXE"), "NOTEPAD.EXE");
    EXPECT_STREQ(FileTitleOf("C:NOTE.EXE"), "NOTE.EXE");
    EXPECT_STREQ(FileTitleOf("plain.exe"), "plain.exe");
    EXPECT_STREQ(FileTitleOf("C:\\dir\\"), "");
    EXPECT_STREQ(FileTitleOf(nullptr), "");
}

TEST(CensusPriority, ClampsToTheHistogram)
{
    EXPECT_EQ(CensusPriority(8, 2), 10u);
    EXPECT_EQ(CensusPriority(31, 15), 32u);
    EXPECT_EQ(CensusPriority(-15, 0), 0u);  // a relative priority below normal
    EXPECT_EQ(CensusPriority(24, 0), 24u);
}
