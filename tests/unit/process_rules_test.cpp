#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sampling/census_rules.h"
#include "services/process_rules.h"

TEST(AppNameFromTitleText, KeepsTheTrimmedPartBeforeTheFirstDash)
{
    struct Case {
        const char* title;
        size_t size;
        const char* name;
    } cases[] = {
        {"Notepad - README.TXT", 256, "Notepad"}, {"Multi-part - title", 256, "Multi"},
        {"  Indented \t\r\n - x", 256, "  Indented"}, {"Trailing   ", 256, "Trailing"},
        {"   - Untitled", 256, ""}, {nullptr, 256, ""},
        {"Calculator", 5, "Calc"}, {"Calculator - x", 1, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title ? c.title : "(null)");
        char out[256];
        memset(out, 'x', sizeof out);
        AppNameFromTitleText(c.title, out, c.size);
        EXPECT_STREQ(out, c.name);
    }
}

TEST(SpecialNameFor, NamesOnlyTheKernelPattern)
{
    struct Case {
        const char* label;
        std::vector<int32_t> priorities;
        int32_t asked;
        const char* name;
    } cases[] = {
        {"kernel", {13, 24, 28, 16}, 0, "Windows 95 Kernel"},
        {"kernel, asked for its priority 28 thread", {28, 13, 24, 16}, 28, "Real-Time Input"},
        {"kernel, asked for another thread", {13, 24, 28, 16}, 13, "Windows 95 Kernel"},
        {"kernel, all four at the bounds", {13, 13, 28, 28}, 28, "Real-Time Input"},
        {"three threads", {13, 24, 28}, 28, ""},
        {"five threads", {13, 24, 28, 16, 20}, 28, ""},
        {"highest 27", {13, 24, 27, 16}, 0, ""},
        {"highest 29", {13, 24, 29, 16}, 0, ""},
        {"lowest 12", {12, 24, 28, 16}, 0, ""},
        {"lowest 14", {14, 24, 28, 16}, 0, ""},
        {"relative priorities of an ordinary process", {0, 0, 2, -2}, 0, ""},
        {"priorities above the starting lowest", {40, 40, 40, 40}, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        ThreadPrioritySummary summary;
        for (int32_t p : c.priorities) CountThreadPriority(&summary, p);
        EXPECT_EQ(std::string(SpecialNameFor(summary, c.asked)), c.name);
    }
}

TEST(Census, SortsProgramsAndClampsPriorities)
{
    EXPECT_EQ(ProgramKindFromNames("WINOA386.MOD", "WINOA386.MOD"), kProgramDos);
    EXPECT_EQ(ProgramKindFromNames("winoa386.mod", ""), kProgramDos);
    EXPECT_EQ(ProgramKindFromNames("NOTEPAD.EXE", "notepad.exe"), kProgram32Bit);
    EXPECT_EQ(ProgramKindFromNames("WRITE.EXE", "KRNL386.EXE"), kProgram16Bit);
    EXPECT_EQ(ProgramKindFromNames("NOTEPAD.EXE", ""), kProgram16Bit);  // no main module found
    EXPECT_EQ(ProgramKindFromNames(nullptr, nullptr), kProgram16Bit);
    for (const char* path : {"C:\\WINDOWS\\NOTEPAD.EXE", "C:NOTEPAD.EXE", "NOTEPAD.EXE"}) EXPECT_STREQ(FileTitleOf(path), "NOTEPAD.EXE");
    EXPECT_STREQ(FileTitleOf("C:\\dir\\"), "");
    EXPECT_STREQ(FileTitleOf(nullptr), "");
    EXPECT_EQ(CensusPriority(31, 15), 32u);
    EXPECT_EQ(CensusPriority(-15, 0), 0u);  // a relative priority below normal
    EXPECT_EQ(CensusPriority(8, 2), 10u);
}
