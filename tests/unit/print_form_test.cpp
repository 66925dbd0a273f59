// The printed form of report lines.
#include <gtest/gtest.h>

#include <string>

#include "ui/print_form.h"

namespace {
std::string Printed(const std::string& line, size_t size = kPrintLineLength)
{
    char out[kPrintLineLength];
    PrintableReportLine(line.c_str(), out, size);
    return out;
}
}  // namespace

TEST(PrintForm, LeavesOutMarkupAndJoinsFieldsWithComma)
{
    struct Case {
        std::string line, printed;
    } cases[] = {
        {"\x01" "CWindows Version\t\x01" "Y4.00.950", "Windows Version, 4.00.950"},
        {"\x06\x01" "CUnderlined\t\x02" "Gdark", "Underlined, dark"},
        {"\x03grey\t\x04\x10\x20\x30rgb", "grey, rgb"},
        {"Drive C:\t&3\tend", "Drive C:, , end"},
        {"a\t\tb", "a, , b"},
        {"CPU\t#40", "CPU, [####      ] 40%"},
        {"Load\t%7\t~G95", "Load, [#         ] 7%, [##########] 95%"},
        {"Cells\t@12", "Cells, Level 12"},
        {"plain", "plain"},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.printed);
        EXPECT_EQ(Printed(c.line), c.printed);
    }
}

TEST(PrintForm, CutsToTheBuffer)
{
    EXPECT_EQ(Printed(std::string(300, 'a') + "\t" + std::string(300, 'b'), 8), "aaaaaaa");
    std::string wide;
    for (int i = 0; i < 255; ++i) wide += "\t";
    EXPECT_EQ(Printed(wide).size(), 255u * 2);  // every tab of a full slot still fits
}
