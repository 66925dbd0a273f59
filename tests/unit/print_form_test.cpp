// The printed form of report lines.
#include <gtest/gtest.h>

#include <string>

#include "ui/print_form.h"

TEST(PrintForm, LeavesOutMarkupJoinsFieldsWithCommaAndCutsToTheBuffer)
{
    std::string commas;  // every tab of a full slot still fits
    for (int i = 0; i < 255; ++i) commas += ", ";
    struct Case { std::string line; size_t size; std::string printed; } cases[] = {
        {"\x01" "CWindows Version\t\x01" "Y4.00.950", kPrintLineLength, "Windows Version, 4.00.950"},
        {"\x06\x01" "CUnderlined\t\x02" "Gdark", kPrintLineLength, "Underlined, dark"},
        {"\x03grey\t\x04\x10\x20\x30rgb", kPrintLineLength, "grey, rgb"},
        {"Drive C:\t&3\tend", kPrintLineLength, "Drive C:, , end"},
        {"a\t\tb", kPrintLineLength, "a, , b"},
        {"CPU\t#40", kPrintLineLength, "CPU, [####      ] 40%"},
        {"Load\t%7\t~G95", kPrintLineLength, "Load, [#         ] 7%, [##########] 95%"},
        {"Cells\t@12", kPrintLineLength, "Cells, Level 12"},
        {"", kPrintLineLength, ""},
        {std::string(300, 'a') + "\t" + std::string(300, 'b'), 8, "aaaaaaa"},
        {std::string(255, '\t'), kPrintLineLength, commas},
    };
    for (const Case& c : cases) {
        char out[kPrintLineLength];
        PrintableReportLine(c.line.c_str(), out, c.size);
        EXPECT_EQ(out, c.printed) << c.line.substr(0, 20);
    }
}
