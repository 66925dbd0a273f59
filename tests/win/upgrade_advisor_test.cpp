// The upgrade advisor against its real dialog: gauges from the ratings, the comparison
// tables and help texts it loads, the joystick question, Quick Help from the table.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "box_watcher.h"
#include "equipment/equipment_info.h"
#include "hardware/upgrade_advisor.h"
#include "hardware/upgrade_rules.h"
#include "quick_help_reader.h"
#include "shared_test_steps.h"
#include "resources/ids_analysis.h"
#include "resources/ids_hardware.h"
#include "sampling/system_stats.h"
#include "test_windows.h"
#include "ui/quick_help.h"

namespace {

struct UpgradeAdvisorTest : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        equipment_ = EquipmentInfo{};
        stats_ = SystemStats{};
        gEquipmentInfo = &equipment_;
        gSystemStats = &stats_;
    }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
        gEquipmentInfo = nullptr;
        gSystemStats = nullptr;
        gInstance = savedInstance_;
    }
    void Open() { dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_UPGRADE), nullptr, UpgradeAdvisorDlgProc, 0); }
    void Choose(int listId, int index) { ChooseListItem(dialog_, listId, index); }
    HICON Gauge(int id) { return HICON(SendDlgItemMessageA(dialog_, id, STM_GETICON, 0, 0)); }
    static HICON Level(int level)
    {
        return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(level == kUnknownLevel ? IDI_LEVEL_UNKNOWN
                                                                                            : IDI_LEVEL_FIRST + level));
    }
    static int KindIndex(const char* name)
    {
        for (int i = 0; i < kUpgradeKindCount; ++i)
            if (std::string(kUpgradeKinds[i].name) == name) return i;
        return -1;
    }

    EquipmentInfo equipment_;
    SystemStats stats_;
    HINSTANCE savedInstance_ = nullptr;
    HWND dialog_ = nullptr;
};

}  // namespace

TEST_F(UpgradeAdvisorTest, GaugesShowTheKindsRatingAgainstItsUse)
{
    equipment_.cpuPower = 9.59f;  // rates 7
    stats_.cpuUsage[35] = 10;     // used 35 % on average
    Open();
    ASSERT_NE(dialog_, nullptr);
    const struct {
        const char* kind;
        UpgradeLevels levels;  // current, possible, usage, need
    } cases[] = {
        {"CPU", {7, 8, 4, 1}},
        {"Scanner", {kUnknownLevel, 1, kUnknownLevel, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        Choose(IDC_UPGRADE_KINDS, KindIndex(c.kind));
        EXPECT_EQ(Gauge(IDC_UPGRADE_CURRENT), Level(c.levels.current));
        EXPECT_EQ(Gauge(IDC_UPGRADE_POSSIBLE), Level(c.levels.possible));
        EXPECT_EQ(Gauge(IDC_UPGRADE_USAGE), Level(c.levels.usage));
        EXPECT_EQ(Gauge(IDC_UPGRADE_NEED), Level(c.levels.need));
    }
    // Choosing a table line opens the kind's own help (Scanner's) at its overview.
    const QuickHelpSeen seen = QuickHelpSelectionAfter([&] { Choose(IDC_UPGRADE_TABLE, 0); });
    EXPECT_EQ(seen.selected, "OVERVIEW");
    const std::string text = HelpTextResource(kUpgradeKinds[KindIndex("Scanner")].helpId);
    ASSERT_FALSE(seen.next.empty());
    EXPECT_EQ(text.find(seen.next), std::string("OVERVIEW\n").size()) << seen.next;
}

TEST_F(UpgradeAdvisorTest, EveryKindHasItsHelpAndATableRisingToTheBestAt99)
{
    Open();
    ASSERT_NE(dialog_, nullptr);
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);  // the joystick kind asks first
    int tables = 0;
    for (int i = 0; i < kUpgradeKindCount; ++i) {
        SCOPED_TRACE(kUpgradeKinds[i].name);
        EXPECT_EQ(HelpTextResource(kUpgradeKinds[i].helpId).rfind("OVERVIEW\n", 0), 0u);
        Choose(IDC_UPGRADE_KINDS, i);
        const std::vector<std::string> lines = ListBoxLines(GetDlgItem(dialog_, IDC_UPGRADE_TABLE));
        if (lines.empty()) continue;
        ++tables;
        int previous = -1;
        for (const std::string& line : lines) {
            const size_t bar = line.find("\t~M");
            ASSERT_TRUE(line.rfind("\x01" "C", 0) == 0 && bar != std::string::npos && line.size() == bar + 5) << line;
            const int figure = atoi(line.c_str() + bar + 3);
            EXPECT_GE(figure, previous) << line;
            previous = figure;
        }
        EXPECT_EQ(previous, 99);
    }
    EXPECT_EQ(tables, 16);
    // Each choice of the joystick kind asked, and "No" left the count alone.
    Choose(IDC_UPGRADE_KINDS, kJoystickKind);
    ASSERT_TRUE(WaitUntil([&] { return boxes.Boxes().size() == 2; }, 5000)) << boxes.Boxes().size() << " questions";
}
