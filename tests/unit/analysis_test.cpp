#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "analysis/monitor_levels.h"
#include "analysis/status_rules.h"
#include "info/file_inventory_rows.h"

namespace {

// The paragraph under a row's label in the DESCRIPTION part of a help text source.
std::string HelpParagraph(const char* file, const std::string& label)
{
    std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/src/resources/help/" + file);
    std::string line;
    bool inDescription = false;
    while (std::getline(in, line)) {
        if (line == "DESCRIPTION") inDescription = true;
        if (inDescription && line == label) return std::getline(in, line) ? line : "";
    }
    return "";
}

TEST(MonitorHelp, EachRowIsExplainedAsWhatItsSampleWordMeasures)
{
    // How the paragraph of a row showing a sample word begins; rows of other words are not
    // checked here.
    const std::map<int, std::string> openings = {{20, "Paging activity"}, {19, "The memory load"}};
    const std::pair<const LampMonitor*, const char*> monitors[] = {
        {&kSystemLamps, "help_system_monitor_2851.txt"}, {&kMemoryLamps, "help_memory_monitor_2855.txt"}};
    int checked = 0;
    for (const auto& monitor : monitors)
        for (int r = 0; r < monitor.first->rowCount; ++r) {
            const LampRow& row = monitor.first->rows[r];
            const auto opening = openings.find(row.word);
            if (opening == openings.end()) continue;
            SCOPED_TRACE(std::string(monitor.second) + ": " + row.label);
            const std::string paragraph = HelpParagraph(monitor.second, row.label);
            EXPECT_EQ(paragraph.compare(0, opening->second.size(), opening->second), 0) << paragraph;
            ++checked;
        }
    EXPECT_EQ(checked, 3);
    // The usage monitor's MEM number is the same word as the System Monitor's Memory row.
    EXPECT_EQ(HelpParagraph("help_usage_monitor_2854.txt", "MEM").rfind("Paging activity", 0), 0u);
}

TEST(LongTermShares, SplitTheMeansInPercentOfTheirSum)
{
    static SystemStats stats;  // zero, and too large for the stack
    uint32_t shares[kActivityCount];
    LongTermShares(stats, shares);
    EXPECT_EQ(std::vector<uint32_t>(shares, shares + kActivityCount), std::vector<uint32_t>(kActivityCount, 0));
    stats.cpuUsage[30] = 5;        // mean 30
    stats.cpuUsage[0] = 1000;      // idle seconds do not count
    stats.diskActivity[10] = 2;    // mean 10
    stats.pagingActivity[20] = 1;  // mean 20 (memory)
    LongTermShares(stats, shares);
    EXPECT_EQ(shares[kActivityCpu], 50u);
    EXPECT_EQ(shares[kActivityDisk], 16u);  // 16.67 truncated
    EXPECT_EQ(shares[kActivityMemory], 33u);
    // Each activity's share comes from its own histogram: means 10, 20, ... 70 of 280.
    static SystemStats seven;
    const std::pair<StatusActivity, uint32_t*> sources[] = {
        {kActivityCpu, seven.cpuUsage},           {kActivityDisk, seven.diskActivity},   {kActivityMemory, seven.pagingActivity},
        {kActivityModem, seven.modemActivity},    {kActivityPrinter, seven.printerActivity}, {kActivityVideo, seven.videoLoad},
        {kActivityDisplay, seven.displayLoad}};
    for (const auto& source : sources) source.second[10 * (source.first + 1)] = 1;
    LongTermShares(seven, shares);
    EXPECT_EQ(std::vector<uint32_t>(shares, shares + kActivityCount), std::vector<uint32_t>({3, 7, 10, 14, 17, 21, 25}));
}

std::vector<std::string> Hints(const CoachFacts& facts)
{
    char lines[kCoachMaxLines][kCoachLineLength];
    return std::vector<std::string>(lines, lines + CoachHints(facts, lines));
}

using Change = void (*)(CoachFacts&);

constexpr uint64_t kGB = 1000000000, kFourGiB = 4294967296;

TEST(CoachHints, EachRuleAtItsThreshold)
{
    struct Case { const char* label; Change change; std::vector<std::string> hints; } cases[] = {
        {"quiet", [](CoachFacts&) {}, {}},
        {"10,000,000 bytes free", [](CoachFacts& f) { f.drives[0] = {'C', 10000000, 50000000}; }, {"Drive C: less than 10MB free space"}},
        {"9.5 % free", [](CoachFacts& f) { f.drives[0] = {'C', 95000000, 1000000000}; }, {"Drive C: less than 10% free space"}},
        {"10 % free", [](CoachFacts& f) { f.drives[0] = {'C', 100000000, 1000000000}; }, {}},
        {"no total", [](CoachFacts& f) { f.drives[0] = {'E', 20000000, 0}; }, {}},
        {"both drive hints", [](CoachFacts& f) { f.drives[0] = {'F', 1024000, 20480000}; },
         {"Drive F: less than 2MB free space", "Drive F: less than 6% free space"}},
        // Drives past 4 GB: 77.3 GB free is plenty, 12 GB free of 500 GB is 2.4 %.
        {"77.3 GB free of 250 GB", [](CoachFacts& f) { f.drives[0].freeBytes = 18 * kFourGiB + 4000000; f.drives[0].totalBytes = 250 * kGB; }, {}},
        {"12 GB free of 500 GB", [](CoachFacts& f) { f.drives[0].freeBytes = 12 * kGB; f.drives[0].totalBytes = 500 * kGB; },
         {"Drive C: less than 3% free space"}},
        {"companion absent", [](CoachFacts& f) { f.freeGdiPercent = f.freeUserPercent = 0; }, {}},
        {"resources at 20", [](CoachFacts& f) { f.freeGdiPercent = f.freeUserPercent = 20; }, {}},
        {"resources at 19", [](CoachFacts& f) { f.freeGdiPercent = 19; f.freeUserPercent = 3; },
         {"GDI16 less than 19% free", "USER16 less than 3% free"}},
        {"counts at their limits", [](CoachFacts& f) {
             f.sample.apps16 = 5; f.sample.processes = 25; f.sample.threads = 100; f.sample.modules = 200;
             f.sample.windows = 500; f.sample.memoryLoad = 80; }, {}},
        {"counts over their limits", [](CoachFacts& f) {
             f.sample.apps16 = 6; f.sample.processes = 26; f.sample.threads = 101; f.sample.modules = 201;
             f.sample.windows = 501; f.sample.memoryLoad = 81; },
         {"6 16-bit apps open", "26 processes running", "101 threads running", "201 modules loaded", "501 windows open",
          "Memory load greater than 81%"}},
        {"memory below its limits", [](CoachFacts& f) { f.sample.memoryHeadroom = 4; f.sample.pageFileFree = 19; f.sample.virtualFree = 0; },
         {"Free RAM less than 4% free", "Page file less than 19% free", "Virtual less than 0% free"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CoachFacts facts = {};
        facts.drives[0] = {'C', 1000000000, 1000000000};  // all free unless the case says otherwise
        facts.driveCount = 1;
        facts.sample.memoryHeadroom = 5;
        facts.sample.pageFileFree = facts.sample.virtualFree = 20;
        c.change(facts);
        EXPECT_EQ(Hints(facts), c.hints);
    }
    // Every rule at once still fits the lines.
    CoachFacts facts = {};
    facts.driveCount = 6;
    for (int i = 0; i < 6; ++i) facts.drives[i] = {char('A' + i), 1, 100};
    facts.freeGdiPercent = facts.freeUserPercent = 1;
    facts.sample.apps16 = facts.sample.processes = facts.sample.threads = 4000000000u;
    facts.sample.modules = facts.sample.windows = facts.sample.memoryLoad = 4000000000u;
    EXPECT_EQ(Hints(facts).size(), size_t(kCoachMaxLines));
}

TEST(WindowMap, ScalesScreenRectanglesIntoThePanelAndClipsThem)
{
    struct Case { PlainRect window; long screenWidth; const char* scaled; } cases[] = {
        {{0, 0, 1024, 768}, 1024, "0,0,150,110"},
        {{512, 384, 768, 576}, 1024, "75,55,112,82"},
        {{-200, -100, 100, 50}, 1024, "0,0,14,7"},         {{900, 700, 3000, 2000}, 1024, "131,100,150,110"},
        {{1100, 0, 1200, 100}, 1024, "none"},              {{0, 0, 10, 10}, 0, "none"},
        {{10, 10, 11, 11}, 1024, "none"},  // shrinks to nothing
    };
    for (const Case& c : cases) {
        PlainRect r = {};
        const bool visible = ScaleWindowToPanel(c.window, c.screenWidth, 768, 150, 110, &r);
        const std::string scaled = std::to_string(r.left) + "," + std::to_string(r.top) + "," +
                                   std::to_string(r.right) + "," + std::to_string(r.bottom);
        EXPECT_EQ(visible ? scaled : "none", c.scaled) << c.window.left;
    }
}

TEST(FileInventoryRules, WhichEntriesAreListedAndRowsKeepToTheirSlot)
{
    struct Case { const char* name; uint32_t attributes; bool program, notBackedUp; } cases[] = {
        {"APP.EXE", 0x20, true, true},        {"app.exe", 0x80, true, false},
        {"App.Exe", 0x21, true, true},        // read-only with the archive bit
        {"HIDDEN.EXE", 0x02, false, false},   // hidden, no archive bit
        {"READONLY.EXE", 0x01, false, false}, {"TOOLS.EXE", 0x30, false, false},  // a directory
        {"README.TXT", 0x20, false, true},    {"NOTE.EXEC", 0x80, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsInventoriedProgram(c.name, c.attributes), c.program) << c.name;
        EXPECT_EQ(HasArchiveBit(c.attributes), c.notBackedUp) << c.name;
    }
    char slot[256];
    FormatInventoryRow(slot, sizeof slot, {"A.EXE", 4096, "01/02/95", "03/04/96", "05/06/97", "C:\\DOS"});
    EXPECT_STREQ(slot, "\x01" "YA.EXE\t\x01" "Y4096\t\x01" "Y01/02/95\t\x01" "Y03/04/96\t\x01" "Y05/06/97\t\x01" "YC:\\DOS");
    FormatInventoryRow(slot, sizeof slot, {"B.EXE", 1, "", "", "", std::string(300, 'x').c_str()});
    EXPECT_EQ(strlen(slot), 255u);
}

}  // namespace

// Lamp levels of the monitors from live-sample words.
TEST(MonitorLevels, RowsTurnWordsIntoLevels)
{
    struct Case { const LampMonitor& monitor; const char* label; uint32_t value; int level; } cases[] = {
        {kSystemLamps, "CPU", 1, 1},           {kSystemLamps, "CPU", 90, 9},         {kSystemLamps, "CPU", 91, 10},
        {kSystemLamps, "Modem", 4294967295u, 10},  // no wrap-around
        {kDiskLamps, "Space Free", 19, 1},     {kDiskLamps, "Write Size", 0, 10},    {kDiskLamps, "Write Size", 4294967295u, 0},
        {kMemoryLamps, "RAM", 35, 6},          {kSoftwareLamps, "Process", 25, 5},   {kSoftwareLamps, "Process", 500, 10},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.label) + " " + std::to_string(c.value));
        int level = -1;
        for (int r = 0; r < c.monitor.rowCount; ++r) {
            if (std::string(c.monitor.rows[r].label) != c.label) continue;
            uint32_t words[kLiveWords] = {};
            words[c.monitor.rows[r].word] = c.value;
            level = LampLevel(c.monitor.rows[r], words);
        }
        EXPECT_EQ(level, c.level);
    }
    EXPECT_EQ(UsageNumberIcon(4000), 1799);  // the last icon there is
    EXPECT_EQ(TypingWordsPerMinute(600, 0), 0u);
}
