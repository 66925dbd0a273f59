// The system-list checks' rules: each test at its boundary, the walk limit, the failing
// owners, and the report lines byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "checks/system_list_rules.h"
#include "services/report_slot.h"

namespace {

// The names of the tests a mask fails, in the check's order.
std::string Failed(const ListCheckText& text, TestFlags flags)
{
    std::string names;
    for (int test = 0; test < text.testCount; ++test)
        if (flags & (TestFlags(1) << test)) names += std::string(names.empty() ? "" : ", ") + text.tests[test];
    return names;
}

TEST(SystemListRules, HeapListsAndBlocksAtTheirBoundaries)
{
    const struct { HeapListFacts facts; const char* failed; } lists[] = {
        {{7, 7, 0}, ""}, {{7, 7, 1}, ""}, {{7, 7, 2}, ""},
        {{7, 7, 4}, "Heap type check test"},
        {{7, 8, 1}, "Process ID validity test"},
    };
    for (const auto& c : lists) {
        SCOPED_TRACE(c.facts.flags);
        EXPECT_EQ(Failed(kHeapListText, HeapListFailures(c.facts)), c.failed);
    }
    const HeapFacts sound = {7, 7, 1, 16000000, 1000000, 0x1000};
    const struct { const char* name; HeapFacts facts; const char* failed; } blocks[] = {
        {"sound at every limit", sound, ""},
        {"other process", {7, 9, 1, 16, 0, 1}, "Process ID validity test"},
        {"no type flag", {7, 7, 8, 16, 0, 1}, "Heap type check test"},
        {"moveable only", {7, 7, 4, 16, 0, 1}, ""},
        {"one byte too big", {7, 7, 1, 16000001, 0, 1}, "Block size range test"},
        {"size past 32 bits", {7, 7, 1, 0x100000010ull, 0, 1}, "Block size range test"},
        {"too many locks", {7, 7, 1, 16, 1000001, 1}, "Lock count test"},
        {"no handle, in use", {7, 7, 1, 16, 0, 0}, "Heap handle validity test"},
        {"no handle, free", {7, 7, 2, 16, 0, 0}, ""},
    };
    for (const auto& c : blocks) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Failed(kHeapText, HeapFailures(c.facts)), c.failed);
    }
}

TEST(SystemListRules, ProcessesModulesAndThreadsAtTheirBoundaries)
{
    const struct { ProcessFacts facts; const char* failed; } processes[] = {
        {{8, 4, 1, 0}, ""}, {{8, 4, 1, 31}, ""},
        {{8, 4, 1, -1}, "Priority range test"}, {{8, 4, 1, 32}, "Priority range test"},
        {{0, 4, 1, 8}, "Process ID test"},
        {{8, 4, 0, 8}, "Thread count test"},
        {{8, 8, 1, 8}, "Parent process ID test"},
    };
    for (const auto& c : processes) {
        SCOPED_TRACE(c.failed);
        EXPECT_EQ(Failed(kProcessText, ProcessFailures(c.facts)), c.failed);
    }
    const ModuleFacts module = {5, 5, 1, 1, 0x400000, 0x1000, 0x400000, 255, true};
    EXPECT_EQ(Failed(kModuleText, ModuleFailures(module)), "");
    ModuleFacts broken = {5, 6, 0, 0, 0, 0, 0, 256, false};
    EXPECT_EQ(Failed(kModuleText, ModuleFailures(broken)),
              "Process ID validity test, Process count accuracy test, Global count accuracy test, "
              "Base address range test, Base size range test, Module handle validity test, Module name test, "
              "Module file presence test");

    const struct { ThreadFacts facts; const char* failed; } threads[] = {
        {{5, 1, 31, 31, true}, ""}, {{5, 1, 0, -31, true}, ""},
        {{5, 1, 32, 0, true}, "Base Priority range test"},
        {{5, 1, 8, 32, true}, "Delta Priority range test"}, {{5, 1, 8, -32, true}, "Delta Priority range test"},
        {{5, 0, 8, 0, true}, "Thread usage count test"},
        {{5, 0, 8, 0, false}, ""},  // a system that keeps no usage count
        {{0, 1, 8, 0, true}, "Process ID validity test"},
    };
    for (const auto& c : threads) {
        SCOPED_TRACE(c.failed);
        EXPECT_EQ(Failed(kThreadText, ThreadFailures(c.facts)), c.failed);
    }
}

TEST(SystemListRules, WindowsAtTheirBoundaries)
{
    WindowFacts sound = {};
    sound.isVisible = true;
    sound.processId = 4;
    sound.threadId = 9;
    sound.left = 10, sound.top = 10, sound.right = 1034, sound.bottom = 778;
    sound.clientRight = 1034, sound.clientBottom = 778;
    sound.maxTrackWidth = 1024, sound.maxTrackHeight = 768;
    EXPECT_EQ(Failed(kWindowText, WindowFailures(sound)), "");
    const struct { const char* name; void (*change)(WindowFacts&); const char* failed; } cases[] = {
        {"popup child", [](WindowFacts& w) { w.style = 0xC0000000; }, "Popup + Child test"},
        {"dialog frame", [](WindowFacts& w) { w.style = 0x00400000; w.isTitleEmpty = false; },
         "Caption + DlgFrame test"},
        {"system menu, no frame", [](WindowFacts& w) { w.style = 0x00080000; }, "Sysmenu + No Caption test"},
        {"system menu with border", [](WindowFacts& w) { w.style = 0x00880000; }, ""},
        {"no process", [](WindowFacts& w) { w.processId = 0; }, "Process ID validation test"},
        {"no thread", [](WindowFacts& w) { w.threadId = 0; }, "Thread ID validation test"},
        {"visible bordered untitled", [](WindowFacts& w) { w.style = 0x00800000; w.isTitleEmpty = true; },
         "Style consistency test"},
        {"hidden bordered untitled", [](WindowFacts& w) { w.style = 0x00800000; w.isTitleEmpty = true;
                                                          w.isVisible = false; }, ""},
        {"client right of the window", [](WindowFacts& w) { w.clientRight = 1035; }, "Size test"},
        {"client below the window", [](WindowFacts& w) { w.clientBottom = 779; }, "Size test"},
        {"one pixel too wide", [](WindowFacts& w) { w.right = 1035; w.clientRight = 1035; }, "Dimensions test"},
        {"one pixel too tall", [](WindowFacts& w) { w.bottom = 779; w.clientBottom = 779; }, "Dimensions test"},
        {"span past 32 bits", [](WindowFacts& w) { w.left = -2147483647; }, "Dimensions test"},
        {"maximised and minimised", [](WindowFacts& w) { w.isZoomed = w.isIconic = true; }, "Placement info test"},
        {"hidden with the focus", [](WindowFacts& w) { w.hasFocus = true; w.isVisible = false; },
         "Keyboard focus test"},
        {"visible with the focus", [](WindowFacts& w) { w.hasFocus = true; }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WindowFacts facts = sound;
        c.change(facts);
        EXPECT_EQ(Failed(kWindowText, WindowFailures(facts)), c.failed);
    }
}

// Visits entries as a walk does until it is told to stop.
uint32_t Walk(ListCheckRecord* record, uint32_t entries, TestFlags failures)
{
    for (uint32_t i = 0; i < entries; ++i)
        if (!VisitEntry(record, failures, i)) break;
    return record->visits;
}

TEST(SystemListRules, WalkLimitStopsAtAMillionAndFailsTheListTests)
{
    const char* const listTests = "List termination test, List corruption test, Circular reference test";
    for (const ListCheckText* text : {&kHeapListText, &kHeapText, &kProcessText, &kModuleText, &kThreadText}) {
        SCOPED_TRACE(text->heading);
        ListCheckRecord record;
        StartListCheck(&record, kProcessOwnerCap);
        EXPECT_EQ(Walk(&record, 1000005, 0), 1000000u);
        FinishListCheck(&record, *text);
        EXPECT_EQ(Failed(*text, record.failed), listTests);

        StartListCheck(&record, kProcessOwnerCap);
        EXPECT_EQ(Walk(&record, 999999, 0), 999999u);
        FinishListCheck(&record, *text);
        EXPECT_EQ(record.failed, 0u);
    }
    // The thread check counts only a process's own threads towards the limit.
    const ProcessFacts process = {5, 1, 1, 8};
    std::vector<ThreadFacts> threads(1000005, ThreadFacts{5, 1, 8, 0, true});
    ListCheckRecord record;
    StartListCheck(&record, kThreadOwnerCap);
    CheckThreadFacts(&process, 1, threads.data(), threads.size(), &record);
    EXPECT_EQ(record.visits, 1000000u);
    FinishListCheck(&record, kThreadText);
    EXPECT_EQ(Failed(kThreadText, record.failed), listTests);
}

TEST(SystemListRules, FailingOwnersAreCappedWithDuplicatesKept)
{
    const struct { int cap; int kept; } caps[] = {{kProcessOwnerCap, 18}, {kThreadOwnerCap, 19}, {kWindowOwnerCap, 20}};
    for (const auto& c : caps) {
        SCOPED_TRACE(c.cap);
        ListCheckRecord record;
        StartListCheck(&record, c.cap);
        for (int i = 0; i < 30; ++i) VisitEntry(&record, 1, 100 + i % 2);
        EXPECT_EQ(record.visits, 30u);
        ASSERT_EQ(record.ownerCount, c.kept);
        EXPECT_EQ(record.owners[c.kept - 1], uint64_t(100 + (c.kept - 1) % 2));
    }
    // The heap checks list a program once: a path already in a line is listed.
    std::vector<char> lines(3 * kReportLineSlot, 0);
    FormatFailingRow(&lines[2 * kReportLineSlot], kReportLineSlot, "App", "APP.EXE", 5, "C:\\APP\\APP.EXE");
    EXPECT_TRUE(IsPathListed(lines.data(), 3, "C:\\APP\\APP.EXE"));
    EXPECT_FALSE(IsPathListed(lines.data(), 3, "C:\\OTHER.EXE"));
    EXPECT_FALSE(IsPathListed(lines.data(), 3, ""));  // unknown paths are all listed
}

TEST(SystemListRules, ThreadCheckSkipsTheIdlePseudoProcessOnly)
{
    const ThreadFacts threads[] = {
        {0, 1, 0, 0, true}, {0, 1, 0, 0, true}, {5, 1, 8, 0, true}, {6, 0, 8, 0, true}, {5, 1, 40, 0, true}};
    // Windows NT lists its idle process as id 0: it and its threads are not findings.
    const ProcessFacts withIdle[] = {{0, 0, 2, 0}, {5, 1, 2, 8}};
    ListCheckRecord record;
    StartListCheck(&record, kThreadOwnerCap);
    CheckThreadFacts(withIdle, 2, threads, 5, &record);
    EXPECT_EQ(record.visits, 2u);  // process 6 is not in the process list
    EXPECT_EQ(Failed(kThreadText, record.failed), "Base Priority range test");
    ASSERT_EQ(record.ownerCount, 1);
    EXPECT_EQ(record.owners[0], 5u);
    // Without an idle process, a thread owned by process 0 fails, and it is met again in
    // every process's walk.
    const ProcessFacts withoutIdle[] = {{5, 1, 2, 8}, {7, 1, 0, 8}};
    StartListCheck(&record, kThreadOwnerCap);
    CheckThreadFacts(withoutIdle, 2, threads, 5, &record);
    EXPECT_EQ(Failed(kThreadText, record.failed), "Process ID validity test, Base Priority range test");
    EXPECT_EQ(record.ownerCount, 5);
}

TEST(SystemListRules, ReportLinesCountVisitsAndNameFailingOwners)
{
    ListCheckRecord record;
    StartListCheck(&record, kProcessOwnerCap);
    Walk(&record, 12, 0);
    VisitEntry(&record, TestFlags(1) << 2, 44);  // "Thread count test"
    static std::vector<std::string> lines;
    lines.clear();
    auto next = [] {
        lines.emplace_back(kReportLineSlot, '\0');
        return &lines.back()[0];
    };
    EXPECT_EQ(AppendCheckLines(kProcessText, record, next), 11);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_STREQ(lines[1].c_str(), "\x01" "CProcesses checked\t\x01" "Y13");
    EXPECT_STREQ(lines[4].c_str(), "\x01" "CThread count test\t\x01" "YFailed");

    // A process without a name is named by its id; outside text is cut to the slot.
    char line[kReportLineSlot];
    FormatFailingRow(line, sizeof line, "", "", 4294967295u, "");
    EXPECT_STREQ(line, "\x01" "YProcess #4294967295\t\x01" "Y");
    const std::string longName(600, 'n'), longPath(600, 'p');
    FormatFailingRow(line, sizeof line, longName.c_str(), "", 1, longPath.c_str());
    EXPECT_EQ(std::string(line).size(), size_t(kReportLineSlot - 1));
}

}  // namespace
