// The program lists' rules: the inventory's cap, the matcher's order and early stop, the
// date rule, bounded rows, and the transcription of the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "checks/program_list_rules.h"
#include "services/report_slot.h"

namespace {

bool Collect(const ProgramFileRecord& record, void* argument)
{
    static_cast<std::vector<std::string>*>(argument)->push_back(record.name);
    return false;
}

TEST(ProgramListRules, InventoryCapAndMatcherFindEveryCopyWhateverSortsBesideIt)
{
    std::vector<ProgramFileRecord> records(kProgramRecordSlots);
    int32_t count = 0;
    for (int i = 0; i < kProgramRecordSlots + 5; ++i)
        AddProgramFile(records.data(), &count, ("P" + std::to_string(i) + ".EXE").c_str(), 0);
    EXPECT_EQ(count, kProgramRecordCap);
    EXPECT_STREQ(records[kProgramRecordCap].name, "P10004.EXE");  // the spare record, uncounted

    count = 0;
    for (const char* name : {"PYRO!.EXE", "PYRO.EXE", "sc.exe", "SC.EXE", "NAV&.EXE", "NAV.EXE", "NAV_.EXE", "NDOS.COM",
                             "NDOSEDIT.COM", "SCAN.EXE", "LONGNAMES.EXE"})
        AddProgramFile(records.data(), &count, name, 0);
    std::sort(records.begin(), records.begin() + count, ProgramRecordBefore);
    const std::pair<const char*, std::vector<std::string>> words[] = {
        {"PYRO", {"PYRO.EXE"}}, {"pyro!", {"PYRO!.EXE"}}, {"NAV", {"NAV.EXE"}}, {"NAV&", {"NAV&.EXE"}},
        {"NDOS", {"NDOS.COM"}}, {"NDOS.COM", {}}, {"LONGNAMES", {}}, {"SC", {"SC.EXE", "sc.exe"}}};
    for (const auto& w : words) {
        std::vector<std::string> found;
        MatchFileWord(records.data(), count, w.first, Collect, &found);
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, w.second) << w.first;
    }
}

TEST(ProgramListRules, OnlyTheFirstHalfOfYearsBefore1996IsDangerousAndRowsStayInTheirSlot)
{
    EXPECT_TRUE(IsDangerousFileDate(3, 1995));
    EXPECT_TRUE(IsDangerousFileDate(6, 1980));
    for (const auto& late : {std::make_pair(7u, 1995u), {10u, 1995u}, {3u, 1996u}})
        EXPECT_FALSE(IsDangerousFileDate(late.first, late.second)) << late.first << "/" << late.second;

    const std::string longText(600, 'x'), withTab = "a\tb\x01" "R";
    const char* const fields[] = {longText.c_str(), withTab.c_str(), longText.c_str()};
    std::vector<char> guarded(kReportLineSlot + 8, '#');
    FormatProgramRow(guarded.data(), kReportLineSlot, fields, 3);
    const std::string row(guarded.data());
    EXPECT_LT(row.size(), size_t(kReportLineSlot));
    EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 2);  // every field kept its place
    EXPECT_NE(row.find("\x01Y" "a b R\t"), std::string::npos);
    EXPECT_EQ(guarded[kReportLineSlot], '#');
}

TEST(ProgramListRules, TablesHoldTheirRows)
{
    const auto table = [](const char* file, int fields) {
        std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/src/resources/text/" + file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        EXPECT_EQ(text.str().find('{'), std::string::npos) << file << ": a brace reads as an escape";
        return ParseProgramTable(text.str().data(), text.str().size(), fields);
    };
    const auto programs = table("programs_msdos_2475.txt", kMsDosFieldCount);
    ASSERT_EQ(programs.size(), 95u);
    EXPECT_EQ(std::count_if(programs.begin(), programs.end(), [](const TableRow& r) { return r[kMsDosWord] == "SC"; }), 2);
    EXPECT_EQ(programs.back(), (TableRow{"Zephyr", "New World Computing", "ZEPHYR"}));

    const auto utilities = table("programs_dangerous_2476.txt", kDangerousFieldCount);
    ASSERT_EQ(utilities.size(), 278u);
    std::set<std::string> distinct, dotted;
    for (const TableRow& row : utilities) {
        distinct.insert(row[kDangerousUtility]);
        if (row[kDangerousWord].find('.') != std::string::npos) dotted.insert(row[kDangerousWord]);
    }
    EXPECT_EQ(distinct.size(), 215u);
    EXPECT_EQ(dotted, std::set<std::string>{"NDOS.COM"});
}

}  // namespace
