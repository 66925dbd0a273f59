#include "hardware/problem_report.h"

void ReportFindings(ProblemReport& report, const std::vector<ProblemItem>& found)
{
    report.leftLabel = "Problems Found";
    report.rightLabel = "Solution";
    AppendNumberedItems(report.text, found.data(), static_cast<int>(found.size()));
}
