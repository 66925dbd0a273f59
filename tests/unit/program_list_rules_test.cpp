// The program lists' rules: which names enter the inventory and its cap, the sort order and
// the matcher's early stop, the date rule, bounded report lines, and the three tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "checks/program_list_rules.h"
#include "services/report_slot.h"

namespace {

std::vector<ProgramFileRecord> SortedInventory(const std::vector<std::string>& names)
{
    std::vector<ProgramFileRecord> records(kProgramRecordSlots);
    int32_t count = 0;
    for (const std::string& name : names) AddProgramFile(records.data(), &count, name.c_str(), 0);
    records.resize(size_t(count));
    std::sort(records.begin(), records.end(), ProgramRecordBefore);
    return records;
}

bool Collect(const ProgramFileRecord& record, void* argument)
{
    static_cast<std::vector<std::string>*>(argument)->push_back(record.name);
    return false;
}

std::vector<std::string> Matches(const std::vector<ProgramFileRecord>& records, const char* word)
{
    std::vector<std::string> found;
    MatchFileWord(records.data(), int32_t(records.size()), word, Collect, &found);
    return found;
}

std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ProgramListRules, InventoryTakesShortProgramNamesAndStopsCountingAtTheCap)
{
    const std::pair<const char*, bool> names[] = {
        {"SC.EXE", true}, {"setup.Exe", true}, {"IO.SYS", true},   {"AUTOEXEC.BAT", true}, {"VGA.DRV", true},
        {"X.COM.OLD", true}, {"README.TXT", false}, {".", false}, {"..", false}, {"", false},
        {"LONGNAME.EXE", true}, {"LONGNAMES.EXE", false},  // 12 characters enter, 13 do not
    };
    for (const auto& n : names) EXPECT_EQ(IsProgramFileName(n.first), n.second) << n.first;

    std::vector<ProgramFileRecord> records(kProgramRecordSlots);
    int32_t count = 0;
    for (int i = 0; i < kProgramRecordSlots + 5; ++i) {
        const std::string name = "P" + std::to_string(i) + ".EXE";
        AddProgramFile(records.data(), &count, name.c_str(), uint64_t(i));
    }
    EXPECT_EQ(count, kProgramRecordCap);
    EXPECT_STREQ(records[kProgramRecordCap - 1].name, "P9998.EXE");
    EXPECT_STREQ(records[kProgramRecordCap].name, "P10004.EXE");  // the spare record, uncounted
    EXPECT_EQ(records[kProgramRecordCap].name[10], '\0');
}

TEST(ProgramListRules, MatcherFindsEveryCopyOfABaseNameWhateverSortsBesideIt)
{
    const auto records = SortedInventory({"PYRO!.EXE", "PYRO.EXE", "sc.exe", "SC.EXE", "SC.COM.BAK", "NAV&.EXE",
                                          "NAV.EXE", "NAV_.EXE", "NAVTSR.EXE", "NDOS.COM", "NDOSEDIT.COM", "SCAN.EXE"});
    EXPECT_EQ(Matches(records, "PYRO"), std::vector<std::string>{"PYRO.EXE"});
    EXPECT_EQ(Matches(records, "pyro!"), std::vector<std::string>{"PYRO!.EXE"});
    EXPECT_EQ(Matches(records, "NAV"), std::vector<std::string>{"NAV.EXE"});
    EXPECT_EQ(Matches(records, "NAV&"), std::vector<std::string>{"NAV&.EXE"});
    EXPECT_EQ(Matches(records, "NDOS"), std::vector<std::string>{"NDOS.COM"});
    EXPECT_TRUE(Matches(records, "NDOS.COM").empty());  // only base names are compared
    EXPECT_EQ(Matches(records, "SC").size(), 3u);        // one program in several folders: every copy

    // The early stop never loses a match: every word finds what a full scan finds.
    std::vector<std::string> names;
    const char* const bases[] = {"A", "A!", "A-B", "A_", "AB", "A~", "B", "b&", "B1", "Z"};
    for (const char* base : bases)
        for (const char* kind : {".EXE", ".COM", ".SYS"}) names.push_back(std::string(base) + kind);
    const auto all = SortedInventory(names);
    for (const char* word : bases) {
        SCOPED_TRACE(word);
        EXPECT_EQ(Matches(all, word).size(), 3u);
    }

    // A callback that answers "stop" ends the scan for that word.
    std::vector<std::string> first;
    MatchFileWord(records.data(), int32_t(records.size()), "SC",
                  [](const ProgramFileRecord& r, void* a) { return Collect(r, a), true; }, &first);
    EXPECT_EQ(first.size(), 1u);
}

TEST(ProgramListRules, OnlyTheFirstHalfOfYearsBefore1996IsDangerousAndRowsStayInTheirSlot)
{
    EXPECT_TRUE(IsDangerousFileDate(3, 1995));
    EXPECT_TRUE(IsDangerousFileDate(6, 1980));
    for (const auto& late : {std::make_pair(7u, 1995u), {8u, 1995u}, {10u, 1995u}, {3u, 1996u}, {1u, 2024u}})
        EXPECT_FALSE(IsDangerousFileDate(late.first, late.second)) << late.first << "/" << late.second;

    char slot[kReportLineSlot];
    FormatDangerousRow(slot, sizeof slot, "Xtree", "XTREE.EXE", 3, 10, 1994);
    EXPECT_STREQ(slot, "\x01Y" "Xtree\t\x01Y" "xtree.exe\t\x01Y" "03/10/94");

    const char* const titles[] = {"Program Name"};
    FormatProgramHeading(slot, sizeof slot, titles, 1, true);
    EXPECT_STREQ(slot, "\x06\x01" "CProgram Name\t");

    // Outside text of any length keeps every field in the slot; control bytes are blanked.
    const std::string longText(600, 'x'), withTab = "a\tb\x01" "R";
    const char* const fields[] = {longText.c_str(), withTab.c_str(), longText.c_str()};
    std::vector<char> guarded(kReportLineSlot + 8, '#');
    FormatProgramRow(guarded.data(), kReportLineSlot, fields, 3);
    const std::string row(guarded.data());
    EXPECT_LT(row.size(), size_t(kReportLineSlot));
    EXPECT_EQ(std::count(row.begin(), row.end(), '\t'), 2);
    EXPECT_NE(row.find("\x01Y" "a b R\t"), std::string::npos);
    EXPECT_EQ(guarded[kReportLineSlot], '#');
}

TEST(ProgramListRules, TablesParseIntoTheirRowsAndFields)
{
    const char text[] = "One\tAcme\tONE\r\n\nTwo\t\tTWO\nThree\n";
    const auto rows = ParseProgramTable(text, sizeof text - 1, 3);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0], (TableRow{"One", "Acme", "ONE"}));
    EXPECT_EQ(rows[1], (TableRow{"Two", "", "TWO"}));
    EXPECT_EQ(rows[2], (TableRow{"Three", "", ""}));

    const std::string msdos = ReadSource("src/resources/text/programs_msdos_2475.txt");
    const std::string dangerous = ReadSource("src/resources/text/programs_dangerous_2476.txt");
    const std::string incompatible = ReadSource("src/resources/text/programs_incompatible_2477.txt");
    for (const std::string* table : {&msdos, &dangerous, &incompatible})
        EXPECT_EQ(table->find('{'), std::string::npos) << "a brace would be read as an escape";

    const auto programs = ParseProgramTable(msdos.data(), msdos.size(), kMsDosFieldCount);
    ASSERT_EQ(programs.size(), 95u);
    int scRows = 0;
    for (const TableRow& row : programs) {
        EXPECT_FALSE(row[kMsDosProgram].empty() || row[kMsDosWord].empty()) << row[kMsDosProgram];
        scRows += row[kMsDosWord] == "SC";
    }
    EXPECT_EQ(scRows, 2);
    EXPECT_EQ(programs.front()[kMsDosWord], "1942");
    EXPECT_EQ(programs.back()[kMsDosWord], "ZEPHYR");

    const auto utilities = ParseProgramTable(dangerous.data(), dangerous.size(), kDangerousFieldCount);
    ASSERT_EQ(utilities.size(), 278u);
    std::set<std::string> distinct, dotted;
    for (const TableRow& row : utilities) {
        distinct.insert(row[kDangerousUtility]);
        if (row[kDangerousWord].find('.') != std::string::npos) dotted.insert(row[kDangerousWord]);
    }
    EXPECT_EQ(distinct.size(), 215u);
    EXPECT_EQ(dotted, std::set<std::string>{"NDOS.COM"});

    EXPECT_EQ(ParseProgramTable(incompatible.data(), incompatible.size(), 1).size(), 183u);
}

}  // namespace
