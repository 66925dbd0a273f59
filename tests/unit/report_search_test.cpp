#include <gtest/gtest.h>

#include <string>

#include "services/report_search.h"

TEST(ReportSearchText, TakesTheFirstFieldWithoutMarkupWithinItsBuffer)
{
    const std::string longField(400, 'a'), cut(255, 'a');
    struct Case { const char* label; const char* text; bool searched; const char* search; } cases[] = {
        {"plain field", "Memory\t32 MB", true, "Memory"},
        {"caption marker", "\x01" "CProcessor\tPentium", true, "Processor"},
        {"dark colour marker", "\x02RFailed", true, "Failed"},
        {"ampersand code", "&xPorts", true, "Ports"},
        {"tilde code", "Dis~uk", true, "Disk"},
        {"marker marks a marker", "&&Mem", true, "Mem"},
        {"line feeds dropped alone", "A\nB\nC", true, "ABC"},
        {"carriage return kept", "A\rB", true, "A\rB"},
        {"marker at the end", "Mem&", true, "Mem"},
        {"marker at the end of the field", "Mem~\tx", true, "Mem"},
        {"underlined heading", "\x06\x01" "CContents\tx", true, "Contents"},
        {"grey text", "\x03Older driver", true, "Older driver"},
        {"RGB colour", "\x04\x10\x20\x30Warm", true, "Warm"},
        {"RGB colour cut short", "Hot\x04\x10", true, "Hot"},
        {"three characters", "abc", true, "abc"},
        {"two characters", "ab", false, ""},
        {"null", nullptr, false, ""},
        {"a long field is cut to fit", longField.c_str(), true, cut.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        char out[256];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(ReportSearchText(c.text, out, sizeof out), c.searched);
        EXPECT_STREQ(out, c.search);
    }
}
