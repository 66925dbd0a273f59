#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "analysis/status_rules.h"
#include "info/file_inventory_rows.h"

namespace {

TEST(LongTermShares, SplitTheMeansInPercentOfTheirSum)
{
    static SystemStats stats;
    memset(&stats, 0, sizeof stats);
    uint32_t shares[kActivityCount];
    LongTermShares(stats, shares);
    for (uint32_t share : shares) EXPECT_EQ(share, 0u);

    stats.cpuUsage[30] = 5;          // mean 30
    stats.cpuUsage[0] = 1000;        // idle seconds do not count
    stats.diskActivity[10] = 2;      // mean 10
    stats.pagingActivity[20] = 1;    // mean 20 (memory)
    LongTermShares(stats, shares);
    EXPECT_EQ(shares[kActivityCpu], 50u);
    EXPECT_EQ(shares[kActivityDisk], 16u);  // 16.67 truncated
    EXPECT_EQ(shares[kActivityMemory], 33u);
    EXPECT_EQ(shares[kActivityVideo], 0u);
}

std::vector<std::string> Hints(const CoachFacts& facts)
{
    char lines[kCoachMaxLines][kCoachLineLength];
    const int count = CoachHints(facts, lines);
    return std::vector<std::string>(lines, lines + count);
}

CoachFacts QuietMachine()
{
    CoachFacts facts = {};
    facts.sample.memoryHeadroom = 5;
    facts.sample.pageFileFree = 20;
    facts.sample.virtualFree = 20;
    return facts;
}

TEST(CoachHints, EachRuleAtItsThreshold)
{
    EXPECT_TRUE(Hints(QuietMachine()).empty());
    struct Case {
        const char* label;
        void (*change)(CoachFacts&);
        std::vector<std::string> hints;
    } cases[] = {
        {"10,000,000 bytes free", [](CoachFacts& f) { f.drives[0] = {'C', 10000000, 50000000}; f.driveCount = 1; },
         {"Drive C: less than 10MB free space"}},
        {"15,000,000 bytes free", [](CoachFacts& f) { f.drives[0] = {'D', 15000000, 20000000}; f.driveCount = 1; }, {}},
        {"9.5 % free", [](CoachFacts& f) { f.drives[0] = {'C', 95000000, 1000000000}; f.driveCount = 1; },
         {"Drive C: less than 10% free space"}},
        {"10 % free", [](CoachFacts& f) { f.drives[0] = {'C', 100000000, 1000000000}; f.driveCount = 1; }, {}},
        {"no total", [](CoachFacts& f) { f.drives[0] = {'E', 20000000, 0}; f.driveCount = 1; }, {}},
        {"both drive hints", [](CoachFacts& f) { f.drives[0] = {'F', 1024000, 20480000}; f.driveCount = 1; },
         {"Drive F: less than 2MB free space", "Drive F: less than 6% free space"}},
        {"companion absent", [](CoachFacts& f) { f.freeGdiPercent = 0; f.freeUserPercent = 0; }, {}},
        {"resources at 20", [](CoachFacts& f) { f.freeGdiPercent = 20; f.freeUserPercent = 20; }, {}},
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
        {"memory below its limits", [](CoachFacts& f) {
             f.sample.memoryHeadroom = 4; f.sample.pageFileFree = 19; f.sample.virtualFree = 0; },
         {"Free RAM less than 4% free", "Page file less than 19% free", "Virtual less than 0% free"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        CoachFacts facts = QuietMachine();
        c.change(facts);
        EXPECT_EQ(Hints(facts), c.hints);
    }
}

TEST(CoachHints, EveryRuleAtOnceFitsTheLines)
{
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
    struct Case {
        PlainRect window;
        bool visible;
        PlainRect scaled;
    } cases[] = {
        {{0, 0, 1024, 768}, true, {0, 0, 150, 110}},
        {{512, 384, 768, 576}, true, {75, 55, 112, 82}},
        {{-200, -100, 100, 50}, true, {0, 0, 14, 7}},
        {{900, 700, 3000, 2000}, true, {131, 100, 150, 110}},
        {{1100, 0, 1200, 100}, false, {}},
        {{10, 10, 11, 11}, false, {}},  // shrinks to nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.window.left);
        PlainRect scaled = {};
        ASSERT_EQ(ScaleWindowToPanel(c.window, 1024, 768, 150, 110, &scaled), c.visible);
        if (!c.visible) continue;
        EXPECT_EQ(scaled.left, c.scaled.left);
        EXPECT_EQ(scaled.top, c.scaled.top);
        EXPECT_EQ(scaled.right, c.scaled.right);
        EXPECT_EQ(scaled.bottom, c.scaled.bottom);
    }
    PlainRect scaled;
    EXPECT_FALSE(ScaleWindowToPanel({0, 0, 10, 10}, 0, 768, 150, 110, &scaled));
    const PlainRect third = MinimizedSquare(2, 110);
    EXPECT_EQ(third.left, 29);
    EXPECT_EQ(third.right - third.left, 10);
    EXPECT_EQ(third.bottom, 107);
    EXPECT_EQ(third.bottom - third.top, 10);
}

TEST(FileInventoryRules, WhichEntriesAreListed)
{
    struct Case {
        const char* name;
        uint32_t attributes;
        bool program;
        bool notBackedUp;
    } cases[] = {
        {"APP.EXE", 0x20, true, true},
        {"app.exe", 0x80, true, false},
        {"App.Exe", 0x21, true, true},                // read-only with the archive bit
        {"HIDDEN.EXE", 0x02, false, false},            // hidden, no archive bit
        {"READONLY.EXE", 0x01, false, false},
        {"SYS.EXE", 0x04, false, false},
        {"TOOLS.EXE", 0x10 | 0x20, false, false},     // a directory
        {"README.TXT", 0x20, false, true},
        {"EXE", 0x20, false, true},
        {".exe", 0x20, false, true},
        {"NOTE.EXEC", 0x80, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsInventoriedProgram(c.name, c.attributes), c.program);
        EXPECT_EQ(HasArchiveBit(c.attributes), c.notBackedUp);
    }
}

TEST(FileInventoryRules, RowsKeepToTheirSlot)
{
    char slot[256];
    FormatInventoryRow(slot, sizeof slot, {"A.EXE", 4096, "01/02/95", "03/04/96", "05/06/97", "C:\\DOS"});
    EXPECT_STREQ(slot, "\x01" "YA.EXE\t\x01" "Y4096\t\x01" "Y01/02/95\t\x01" "Y03/04/96\t\x01" "Y05/06/97\t\x01" "YC:\\DOS");
    const std::string longPath(300, 'x');
    FormatInventoryRow(slot, sizeof slot, {"B.EXE", 1, "", "", "", longPath.c_str()});
    EXPECT_EQ(strlen(slot), 255u);
    FormatInventoryHeading(slot, sizeof slot);
    EXPECT_EQ(std::string(slot).find("\x06\x01" "CName\t"), 0u);
}

}  // namespace
