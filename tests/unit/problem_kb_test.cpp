// The problem solver's knowledge base as generated from its text sources, and what the
// Problem Solver shows for a report.
#include <gtest/gtest.h>

#include <string>

#include "hardware/problem_solver_texts.h"
#include "problem_texts.h"

namespace {

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace

TEST(ProblemKnowledgeBase, EveryCategoryListsItsTitlesEachWithAParagraph)
{
    // Quick fixes, incompatible models and specific problems of each category, in order.
    const int kCounts[kProblemCategoryCount][kFixedAdviceKinds] = {
        {4, 27, 17}, {3, 2, 5}, {2, 17, 3}, {7, 2, 1},  {3, 0, 1},  {4, 9, 6},  {4, 1, 3}, {2, 53, 1},
        {3, 3, 3},   {4, 1, 1}, {2, 0, 1},  {3, 17, 2}, {3, 7, 2},  {1, 71, 5}, {4, 78, 4},
    };
    int titles = 0, empty = 0;
    for (int c = 0; c < kProblemCategoryCount; ++c)
        for (int k = 0; k < kFixedAdviceKinds; ++k) {
            const ProblemItemList& list = kFixedAdvice[c][k];
            ASSERT_EQ(list.count, kCounts[c][k]) << "category " << c << " list " << k;
            for (int i = 0; i < list.count; ++i) {
                const std::string title = list.items[i].first, solution = list.items[i].second;
                ++titles;
                // The one item without a title is the specific problems of Ports and Power
                // Supply, and it has no solution either.
                if (title.empty()) {
                    EXPECT_TRUE(k == kSpecificProblems && (c == kCategoryPorts || c == kCategoryPowerSupply));
                    EXPECT_EQ(solution, "");
                    ++empty;
                    continue;
                }
                EXPECT_GE(solution.size(), 100u) << title;
                EXPECT_EQ(solution.find("{model}"), std::string::npos) << title;
            }
        }
    EXPECT_EQ(titles, 392);
    EXPECT_EQ(empty, 2);
    for (int i = 0; i < kCheckTextCount; ++i) EXPECT_GE(std::string(kCheckTexts[i].second).size(), 100u) << kCheckTexts[i].first;
}

TEST(ProblemKnowledgeBase, QuotedTextsStayVerbatim)
{
    const ProblemItemList& cdrom = kFixedAdvice[kCategoryCdrom][kQuickFixes];
    EXPECT_STREQ(cdrom.items[1].first, "Check for the CD-ROM drive");
    EXPECT_STREQ(cdrom.items[1].second,
                 "Click on My Computer, and check that the CD-ROM icon is present for the drive letter you are using. "
                 "If it isn't use Control Panel, Add New Hardware to add the CD-ROM drive.");
    EXPECT_STREQ(CheckItem(CheckText::kHighColorFixNotEnabled).first, " High Color fix not enabled");
    const std::string conflict = CheckItem(CheckText::kHardwareConflictFound).second;
    EXPECT_EQ(conflict.rfind("There is a hardware conflict between this device and another device. ", 0), 0u);
    EXPECT_NE(conflict.find("is the one one experiencing the conflict."), std::string::npos);
    const ProblemItemList& sound = kFixedAdvice[kCategorySound][kIncompatibleModels];
    EXPECT_STREQ(sound.items[sound.count - 1].first, "Roland RAP-10/AT Card");
}

TEST(ProblemSolverTexts, NothingFoundShowsTheNoProblemsTextsByteForByte)
{
    ProblemReport report;
    SolverTexts texts = ProblemSolverTexts(report);
    EXPECT_EQ(texts.problems, "+ No problems found");
    EXPECT_EQ(texts.solutions,
              "+ No problems found\r\nYour hardware has been checked, and no problems were found during testing.\r\n\r\n"
              "Continue to the next step.\r\n\r\nIf you have tried each of the steps and were not able to find a "
              "solution to your specific problem, check with a qualified technician.");
    // The item without a title still numbers both columns, so it is shown as it is.
    const ProblemItemList& ports = kFixedAdvice[kCategoryPorts][kSpecificProblems];
    AppendNumberedItems(report.text, ports.items, ports.count);
    texts = ProblemSolverTexts(report);
    EXPECT_EQ(texts.problems, "1) \r\n\r\n");
    EXPECT_EQ(texts.solutions, "1) \r\n\r\n");
}

TEST(ProblemSolverTexts, TheLongestListArrivesWhole)
{
    const ProblemItemList& cards = kFixedAdvice[kCategoryVideoCard][kIncompatibleModels];
    ProblemReport report;
    AppendNumberedItems(report.text, cards.items, cards.count);
    const SolverTexts texts = ProblemSolverTexts(report);
    EXPECT_GT(texts.solutions.size(), 20000u);
    EXPECT_EQ(Count(texts.solutions, "\r\n\r\n"), 78);
    const std::string last = std::string("78) ") + cards.items[77].second + "\r\n\r\n";
    ASSERT_GE(texts.solutions.size(), last.size());
    EXPECT_EQ(texts.solutions.substr(texts.solutions.size() - last.size()), last);
    const std::string lastTitle = "78) Western Digital 90C24A based video cards\r\n\r\n";
    EXPECT_EQ(texts.problems.substr(texts.problems.size() - lastTitle.size()), lastTitle);
}
