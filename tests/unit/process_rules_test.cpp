#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/process_rules.h"

TEST(AppNameFromTitleText, KeepsTheTrimmedPartBeforeTheFirstDash)
{
    struct Case {
        const char* title;
        size_t size;
        const char* name;
    } cases[] = {
        {"Notepad - README.TXT", 256, "Notepad"},
        {"Halvorn", 256, "Halvorn"},
        {"Multi-part - title", 256, "Multi"},
        {"  Indented \t\r\n - x", 256, "  Indented"},
        {"Trailing   ", 256, "Trailing"},
        {"- Untitled", 256, ""},
        {"   - Untitled", 256, ""},
        {"", 256, ""},
        {nullptr, 256, ""},
        {"Calculator", 5, "Calc"},
        {"Calculator - x", 1, ""},
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
        {"no threads", {}, 28, ""},
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
