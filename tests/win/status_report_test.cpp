// The status report's lines under Wine: what each refresh renews, read back from the
// lists, and the File Changes and File Inventory dialogs it opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/status_report.h"
#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "resources/ids_status.h"
#include "sampling/file_changes.h"
#include "sampling/system_stats.h"
#include "sampling/tick_feeds.h"
#include "box_watcher.h"
#include "test_windows.h"
#include "services/toolhelp.h"
#include "ui/shared_gdi.h"

namespace {

std::vector<std::string> Lines(HWND dialog, int listId)
{
    return ListBoxLines(GetDlgItem(dialog, listId));
}

// A status report over records of the test's own, refreshed through "NEWDATAREADY".
struct StatusReportFixture : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
        CreateSharedGdi();
        LoadToolhelp();
        saved_ = {gLiveSample, gSystemStats, gEquipmentInfo};
        sample_ = LiveSample{};
        memset(&stats_, 0, sizeof stats_);
        equipment_ = EquipmentInfo{};
        gLiveSample = &sample_;
        gSystemStats = &stats_;
        gEquipmentInfo = &equipment_;
        dialog = CreateStatusReport(nullptr);
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(dialog);
        gLiveSample = saved_.sample;
        gSystemStats = saved_.stats;
        gEquipmentInfo = saved_.equipment;
        gInstance = savedInstance_;
        DeleteSharedGdi();
    }
    void Refresh(int times = 1)
    {
        for (int i = 0; i < times; ++i) SendMessageA(dialog, NewDataReadyMessage, 0, 0);
    }
    struct {
        LiveSample* sample;
        SystemStats* stats;
        EquipmentInfo* equipment;
    } saved_;
    LiveSample sample_;
    SystemStats stats_;
    EquipmentInfo equipment_;
    HWND dialog = nullptr;
    HINSTANCE savedInstance_ = nullptr;
};

TEST_F(StatusReportFixture, CurrentUsageEverySecondTheRestEveryTenth)
{
    for (int list : {IDC_STATUS_USAGE_LIST, IDC_STATUS_PROGRAMS_LIST, IDC_STATUS_COACH_LIST})
        EXPECT_EQ(Lines(dialog, list), std::vector<std::string>(7, " "));
    sample_.cpuUsage = 37;
    sample_.diskActivity = 5;
    sample_.processes = 12;
    sample_.apps32 = 3;
    sample_.memoryHeadroom = 40;
    sample_.pageFileFree = 90;
    sample_.virtualFree = 90;
    stats_.cpuUsage[40] = 1;
    stats_.diskActivity[10] = 1;
    FreeGdiPercent = 0;
    FreeUserPercent = 0;
    Refresh();
    EXPECT_EQ(Lines(dialog, IDC_STATUS_USAGE_LIST),
              (std::vector<std::string>{"\x01" "CCPU\t%37", "\x01" "CDisk\t%5", "\x01" "CDisplay\t%0",
                                        "\x01" "CMemory\t%0", "\x01" "CModem\t%0", "\x01" "CPrinter\t%0",
                                        "\x01" "CVideo\t%0"}));
    EXPECT_EQ(Lines(dialog, IDC_STATUS_PROGRAMS_LIST)[0], "\x01" "C32-Bit Apps\t@3");
    EXPECT_EQ(Lines(dialog, IDC_STATUS_PROGRAMS_LIST)[3], "\x01" "CProcesses\t\x01" "Y12");
    const std::vector<std::string> resources = Lines(dialog, IDC_STATUS_RESOURCES_LIST);
    EXPECT_EQ(resources[0], "\x01" "CMemory\t#60");
    EXPECT_EQ(resources[2], "\x01" "CGDI16\t#100");  // the companion has not reported
    EXPECT_EQ(resources[4], "\x01" "CUser16\t#100");
    const std::vector<std::string> shares = Lines(dialog, IDC_STATUS_SHARES_LIST);
    EXPECT_EQ(shares[0], "\x01" "CCPU\t#80");
    EXPECT_EQ(shares[1], "\x01" "CDisk\t#20");
    // Drives of the harness: C: and D: fixed, E: a CD-ROM, F: and G: fixed.
    const std::vector<std::string> disks = Lines(dialog, IDC_STATUS_DISKS_LIST);
    EXPECT_EQ(disks[1], "\x01" "CC: changes\t&0");
    EXPECT_EQ(disks[2], "\x01" "CD: changes\t&1");
    EXPECT_EQ(disks[3], " ");
    EXPECT_EQ(disks[4], "\x01" "CF: changes\t&3");
    const std::vector<std::string> firstPage = Lines(dialog, IDC_STATUS_INVENTORY_LIST);
    for (const std::string& hint : Lines(dialog, IDC_STATUS_COACH_LIST)) EXPECT_EQ(hint.find("GDI16"), std::string::npos);

    sample_.cpuUsage = 55;
    sample_.processes = 30;
    Refresh(9);  // refreshes 2..10
    EXPECT_EQ(Lines(dialog, IDC_STATUS_USAGE_LIST)[0], "\x01" "CCPU\t%55");
    EXPECT_EQ(Lines(dialog, IDC_STATUS_PROGRAMS_LIST)[3], "\x01" "CProcesses\t\x01" "Y12");
    EXPECT_EQ(Lines(dialog, IDC_STATUS_INVENTORY_LIST), firstPage);
    Refresh();  // the eleventh
    EXPECT_EQ(Lines(dialog, IDC_STATUS_PROGRAMS_LIST)[3], "\x01" "CProcesses\t\x01" "Y30");
    EXPECT_NE(Lines(dialog, IDC_STATUS_INVENTORY_LIST), firstPage);
    const std::vector<std::string> hints = Lines(dialog, IDC_STATUS_COACH_LIST);
    EXPECT_NE(std::find(hints.begin(), hints.end(), "30 processes running"), hints.end());
}

// Answers one modal dialog titled title from a second thread: reads what read asks for,
// then closes it.
struct DialogReader {
    std::string title;
    void (*read)(HWND dialog, DialogReader* self);
    std::vector<std::string> seen;
    static DWORD WINAPI Run(LPVOID argument)
    {
        DialogReader* self = static_cast<DialogReader*>(argument);
        for (int i = 0; i < 1000; ++i, Sleep(10)) {
            HWND dialog = FindWindowA("#32770", self->title.c_str());
            if (!dialog || !IsWindowVisible(dialog)) continue;
            self->read(dialog, self);
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
            return 0;
        }
        return 1;
    }
    void RunFrom(HWND owner, int command)
    {
        HANDLE thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        SendMessageA(owner, WM_COMMAND, command, 0);
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
    }
};

TEST_F(StatusReportFixture, FileChangesShowTheChosenDrivesCounts)
{
    const uint32_t before = FileChangeCounts[1][kChangeLastWrite];
    FileChangeCounts[1][kChangeLastWrite] += 4;
    FileChangeCounts[1][kChangeSize] += 2;
    DialogReader reader{"File Changes", [](HWND d, DialogReader* self) {
        HWND list = GetDlgItem(d, IDC_CHANGES_DRIVES);
        self->seen = ListBoxLines(list);
        SendMessageA(list, LB_SETCURSEL, 1, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_CHANGES_DRIVES, LBN_SELCHANGE), LPARAM(list));
        for (int id : {IDC_CHANGES_WRITTEN, IDC_CHANGES_SIZE, IDC_CHANGES_TOTAL})
            self->seen.push_back(WindowText(GetDlgItem(d, id)));
    }};
    reader.RunFrom(dialog, IDC_STATUS_FILE_CHANGES);
    const uint32_t written = FileChangeCounts[1][kChangeLastWrite];
    uint32_t total = 0;
    for (int kind = 0; kind < kFileChangeKinds; ++kind) total += FileChangeCounts[1][kind];
    EXPECT_EQ(reader.seen, (std::vector<std::string>{"C:", "D:", "F:", "G:", std::to_string(written),
                                                     std::to_string(FileChangeCounts[1][kChangeSize].load()),
                                                     std::to_string(total)}));
    EXPECT_EQ(written, before + 4);
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_STATUS_FILE_CHANGES));
}

TEST_F(StatusReportFixture, ApplicationsShowThisProgramWithItsThreadsAndModules)
{
    DialogReader reader{"Applications", [](HWND d, DialogReader* self) {
        HWND list = GetDlgItem(d, IDC_APPS_LIST);
        const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            if (DWORD(SendMessageA(list, LB_GETITEMDATA, WPARAM(i), 0)) != GetCurrentProcessId()) continue;
            SendMessageA(list, LB_SETCURSEL, WPARAM(i), 0);
            SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_APPS_LIST, LBN_SELCHANGE), LPARAM(list));
            for (int id : {IDC_APPS_KIND, IDC_APPS_THREADS, IDC_APPS_MODULES, IDC_APPS_FILE})
                self->seen.push_back(WindowText(GetDlgItem(d, id)));
        }
    }};
    reader.RunFrom(dialog, IDC_STATUS_APPLICATIONS);
    ASSERT_EQ(reader.seen.size(), 4u) << "this program is not listed";
    EXPECT_EQ(reader.seen[0], "32-bit Windows");
    EXPECT_GE(std::stoi(reader.seen[1]), 2);  // this thread and the reader
    EXPECT_GE(std::stoi(reader.seen[2]), 3);
    EXPECT_NE(reader.seen[3].find("win_tests.exe"), std::string::npos);
}

}  // namespace
