// What the Problem Solver shows when a step found nothing to list.
#pragma once
#include <string>

#include "hardware/problem_report.h"

extern const char kNoProblemsFound[];
extern const char kNoProblemsFoundSolution[];

// The two texts the Problem Solver shows for a report: its own, or the "no problems" pair
// when either of its texts is empty.
struct SolverTexts {
    std::string problems;
    std::string solutions;
};
SolverTexts ProblemSolverTexts(const ProblemReport& report);
