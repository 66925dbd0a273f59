// The problem solver's report: what a step of Fix Hardware Problems found, as numbered
// problems beside their numbered solutions, and the knowledge base those come from.
#pragma once
#include <vector>

#include "ui/numbered_items.h"

// One finding or piece of advice: {title, solution}.
using ProblemItem = TextPair;

struct ProblemReport {
    const char* leftLabel = "";
    const char* rightLabel = "";
    TwoColumnText text;  // first: the problems, second: their solutions
};

// Runs one step of one category and fills the report.
using StepHandler = void (*)(ProblemReport& report);

constexpr int kProblemCategoryCount = 15;
constexpr int kProblemStepCount = 6;

// Categories in list order.
enum ProblemCategoryIndex {
    kCategoryCdrom, kCategoryFloppy, kCategoryHardDrives, kCategoryKeyboard, kCategoryMemory,
    kCategoryModem, kCategoryMonitor, kCategoryMotherboard, kCategoryMouse, kCategoryPorts,
    kCategoryPowerSupply, kCategoryPrinter, kCategoryScsi, kCategorySound, kCategoryVideoCard,
};

struct ProblemCategory {
    const char* name;
    StepHandler steps[kProblemStepCount];
};

// The fifteen categories and the handler of each of their six steps.
extern const ProblemCategory ProblemCategoryTable[kProblemCategoryCount];

// The knowledge base's fixed advice: quick fixes (step 1), incompatible models (step 2)
// and specific problems (step 6) of each category, generated from the text sources.
struct ProblemItemList {
    const ProblemItem* items;
    int count;
};
enum FixedAdviceKind { kQuickFixes, kIncompatibleModels, kSpecificProblems, kFixedAdviceKinds };
extern const ProblemItemList kFixedAdvice[kProblemCategoryCount][kFixedAdviceKinds];

// Appends the findings of a conflict, configuration or diagnostic step, numbered from 1,
// under the labels "Problems Found" and "Solution".
void ReportFindings(ProblemReport& report, const std::vector<ProblemItem>& found);
