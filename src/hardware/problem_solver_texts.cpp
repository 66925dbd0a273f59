#include "hardware/problem_solver_texts.h"

const char kNoProblemsFound[] = "+ No problems found";
const char kNoProblemsFoundSolution[] =
    "+ No problems found\r\nYour hardware has been checked, and no problems were found during testing.\r\n\r\n"
    "Continue to the next step.\r\n\r\nIf you have tried each of the steps and were not able to find a solution "
    "to your specific problem, check with a qualified technician.";

SolverTexts ProblemSolverTexts(const ProblemReport& report)
{
    if (report.text.first.empty() || report.text.second.empty()) return {kNoProblemsFound, kNoProblemsFoundSolution};
    return {report.text.first, report.text.second};
}
