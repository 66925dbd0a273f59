#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sampling/census_rules.h"
#include "services/process_rules.h"

TEST(AppNameFromTitleText, KeepsTheTrimmedPartBeforeTheFirstDash)
{
    struct Case { const char* title; size_t size; const char* name; } cases[] = {
        {"Notepad - README.TXT", 256, "Notepad"}, {"Multi-part - title", 256, "Multi"}, {"  Indented \t\r\n - x", 256, "  Indented"},
        {"Trailing   ", 256, "Trailing"},         {"   - Untitled", 256, ""},          {nullptr, 256, ""},
        {"Calculator", 5, "Calc"},                {"Calculator - x", 1, ""},
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'x', sizeof out);
        AppNameFromTitleText(c.title, out, c.size);
        EXPECT_STREQ(out, c.name) << (c.title ? c.title : "(null)");
    }
}

TEST(SpecialNameFor, NamesOnlyTheKernelPattern)
{
    struct Case { const char* label; std::vector<int32_t> priorities; int32_t asked; const char* name; } cases[] = {
        {"kernel", {13, 24, 28, 16}, 0, "Windows 95 Kernel"},
        {"kernel, asked for its priority 28 thread", {28, 13, 24, 16}, 28, "Real-Time Input"},
        {"kernel, asked for another thread", {13, 24, 28, 16}, 13, "Windows 95 Kernel"},
        {"kernel, all four at the bounds", {13, 13, 28, 28}, 28, "Real-Time Input"},
        {"three threads", {13, 24, 28}, 28, ""},      {"five threads", {13, 24, 28, 16, 20}, 28, ""},
        {"highest 27", {13, 24, 27, 16}, 0, ""},      {"highest 29", {13, 24, 29, 16}, 0, ""},
        {"lowest 12", {12, 24, 28, 16}, 0, ""},       {"lowest 14", {14, 24, 28, 16}, 0, ""},
        {"relative priorities of an ordinary process", {0, 0, 2, -2}, 0, ""},
        {"priorities above the starting lowest", {40, 40, 40, 40}, 0, ""},
    };
    for (const Case& c : cases) {
        ThreadPrioritySummary summary;
        for (int32_t p : c.priorities) CountThreadPriority(&summary, p);
        EXPECT_EQ(std::string(SpecialNameFor(summary, c.asked)), c.name) << c.label;
    }
}

TEST(Census, SortsProgramsAndClampsPriorities)
{
    struct Kind { const char* module; const char* main; int kind; } kinds[] = {
        {"WINOA386.MOD", "WINOA386.MOD", kProgramDos}, {"winoa386.mod", "", kProgramDos},
        {"NOTEPAD.EXE", "notepad.exe", kProgram32Bit}, {"WRITE.EXE", "KRNL386.EXE", kProgram16Bit},
        {"NOTEPAD.EXE", "", kProgram16Bit},  // no main module found
        {nullptr, nullptr, kProgram16Bit},
    };
    for (const Kind& k : kinds) EXPECT_EQ(ProgramKindFromNames(k.module, k.main), k.kind) << (k.module ? k.module : "(null)");
    for (const char* path : {"C:\\WINDOWS\\NOTEPAD.EXE", "C:NOTEPAD.EXE", "NOTEPAD.EXE"}) EXPECT_STREQ(FileTitleOf(path), "NOTEPAD.EXE");
    EXPECT_STREQ(FileTitleOf("C:\\dir\\"), "");
    EXPECT_STREQ(FileTitleOf(nullptr), "");
    EXPECT_EQ(CensusPriority(31, 15), 32u);
    EXPECT_EQ(CensusPriority(-15, 0), 0u);  // a relative priority below normal
    EXPECT_EQ(CensusPriority(8, 2), 10u);
}
