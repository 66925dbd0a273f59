// The status report and the file inventory against their real dialogs: list colours,
// bars of full values, bar colours and labels at the report's tab stops, and the pictures
// on their buttons and section captions.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/status_report.h"
#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "equipment/equipment_pages.h"
#include "info/file_inventory.h"
#include "report_canvas.h"
#include "resources/ids_inventory.h"
#include "resources/ids_status.h"
#include "resources/ids_tools.h"
#include "sampling/file_changes.h"
#include "sampling/system_stats.h"
#include "test_windows.h"
#include "ui/drawing.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"
#include "ui/shared_gdi.h"

namespace {

constexpr COLORREF kRed = 0x0000FF, kYellow = 0x00FFFF, kGreen = 0x00FF00;

// The program's globals as start-up leaves them for the status report: its resources, a
// live sample and statistics, the shared fonts and brushes.
struct StatusReportTest : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        gLiveSample = &sample_;
        gSystemStats = &stats_;
        CreateSharedGdi();
    }
    void TearDown() override
    {
        for (HWND w : opened_) DestroyWindow(w);
        DeleteSharedGdi();
        gLiveSample = nullptr;
        gSystemStats = nullptr;
        gInstance = savedInstance_;
    }
    HWND Open(int dialogId, DLGPROC procedure)
    {
        HWND dialog = dialogId == IDD_STATUS_REPORT
                          ? OpenStatusReport(nullptr)
                          : CreateDialogParamA(gInstance, MAKEINTRESOURCEA(dialogId), nullptr, procedure, 0);
        if (dialog) opened_.push_back(dialog);
        return dialog;
    }
    // Paints item index of a report list through its dialog's draw-item handler into a
    // canvas as wide as a bar column needs, so nothing is clipped by the list's own width.
    static int CountDrawn(HWND dialog, int listId, int index, COLORREF colour)
    {
        HWND list = GetDlgItem(dialog, listId);
        const int h = int(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
        Canvas canvas(300, h);
        DRAWITEMSTRUCT item = {ODT_LISTBOX, UINT(listId), UINT(index), ODA_DRAWENTIRE, 0, list, canvas.dc, {0, 0, 300, h}};
        SendMessageA(dialog, WM_DRAWITEM, WPARAM(listId), LPARAM(&item));
        return canvas.Count(canvas.all, colour);
    }

    HINSTANCE savedInstance_ = nullptr;
    LiveSample sample_ = {};
    SystemStats stats_ = {};
    std::vector<HWND> opened_;
};

TEST_F(StatusReportTest, EveryReportListIsPaintedOnBlackWithItsDefaultTextColour)
{
    const struct { const char* name; int dialogId; DLGPROC procedure; int listId; COLORREF text; } dialogs[] = {
        {"status report", IDD_STATUS_REPORT, nullptr, IDC_STATUS_USAGE_LIST, kRed},
        {"file inventory", IDD_FILE_INVENTORY, FileInventoryDlgProc, IDC_INVENTORY_LIST, 0xFFFF00},
        {"report viewer", IDD_REPORT_VIEWER, ReportViewerDlgProc, IDC_VIEWER_REPORT, 0xFFFF00},
    };
    for (const auto& d : dialogs) {
        SCOPED_TRACE(d.name);
        HWND dialog = Open(d.dialogId, d.procedure);
        ASSERT_NE(dialog, nullptr);
        Canvas canvas(8, 8);
        SetBkColor(canvas.dc, 0xFFFFFF);  // what a device context starts with
        SetTextColor(canvas.dc, 0x123456);
        const LRESULT brush =
            SendMessageA(dialog, WM_CTLCOLORLISTBOX, WPARAM(canvas.dc), LPARAM(GetDlgItem(dialog, d.listId)));
        EXPECT_EQ(brush, LRESULT(GetStockObject(BLACK_BRUSH)));
        EXPECT_EQ(GetBkColor(canvas.dc), 0u) << "opaque text would stand on white boxes";
        EXPECT_EQ(GetTextColor(canvas.dc), d.text);
    }
}

TEST_F(StatusReportTest, FullValuesDrawFullBarsAndBarsTurnRedPastTwoThirds)
{
    sample_.cpuUsage = 100;
    sample_.memoryHeadroom = 30;  // memory bar 70
    sample_.diskFree = 0;         // disk space bar 100
    HWND report = Open(IDD_STATUS_REPORT, nullptr);
    ASSERT_NE(report, nullptr);
    RefreshStatusReport(report);  // the first refresh renews every list
    const auto line = [&](int listId, size_t index) { return ListBoxLines(GetDlgItem(report, listId))[index]; };
    EXPECT_EQ(line(IDC_STATUS_RESOURCES_LIST, 0), "\x01" "CMemory\t#70");
    EXPECT_EQ(line(IDC_STATUS_RESOURCES_LIST, 2), "\x01" "CGDI16\t#99");  // no companion: nothing free
    EXPECT_EQ(line(IDC_STATUS_RESOURCES_LIST, 4), "\x01" "CUser16\t#99");
    EXPECT_EQ(line(IDC_STATUS_DISKS_LIST, 0), "\x01" "CDisk Space\t#99");
    EXPECT_EQ(line(IDC_STATUS_PROGRAMS_LIST, 3), "\x01" "CProcesses\t\x01" "Y0");

    // Every bar column is 100 pixels wide, so the painter's colour steps fall at a third and
    // two thirds of it.
    for (int listId : {IDC_STATUS_USAGE_LIST, IDC_STATUS_SHARES_LIST, IDC_STATUS_RESOURCES_LIST, IDC_STATUS_DISKS_LIST})
        EXPECT_EQ(StatusTabStops(listId)[2] - StatusTabStops(listId)[1], 100) << listId;
    // A bar's length in pixels is its value, so the stripes past 66 of a 90 are red and a
    // wedge of 70 is red throughout.
    EXPECT_GT(CountDrawn(report, IDC_STATUS_USAGE_LIST, 0, kRed), 0);  // 100 is written 99: red stripes too
    sample_.cpuUsage = 90;
    RefreshStatusReport(report);
    ASSERT_EQ(line(IDC_STATUS_USAGE_LIST, 0), "\x01" "CCPU\t%90");
    EXPECT_GT(CountDrawn(report, IDC_STATUS_USAGE_LIST, 0, kGreen), 0);
    EXPECT_GT(CountDrawn(report, IDC_STATUS_USAGE_LIST, 0, kRed), 0);
    EXPECT_GT(CountDrawn(report, IDC_STATUS_RESOURCES_LIST, 0, kRed), 0);
    EXPECT_EQ(CountDrawn(report, IDC_STATUS_RESOURCES_LIST, 0, kYellow), 0);
}

// Each watched drive's row names its letter and carries its index; its lamps light from
// that drive's file-change counters. The harness maps D:, F: and G: as fixed drives and E:
// as a CD-ROM drive, which is not watched: its line stays blank.
TEST_F(StatusReportTest, LampRowsNameTheirDriveAndLightFromItsFileChangeCounters)
{
    HWND report = Open(IDD_STATUS_REPORT, nullptr);
    ASSERT_NE(report, nullptr);
    RefreshStatusReport(report);
    const std::vector<std::string> lines = ListBoxLines(GetDlgItem(report, IDC_STATUS_DISKS_LIST));
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.begin() + 6),
              (std::vector<std::string>{"\x01" "CC: changes\t&0", "\x01" "CD: changes\t&1", " ",
                                        "\x01" "CF: changes\t&3", "\x01" "CG: changes\t&4"}));
    const uint32_t saved[2] = {FileChangeCounts[0][kChangeSize].exchange(0), FileChangeCounts[1][kChangeSize].exchange(0)};
    const int unlit = CountDrawn(report, IDC_STATUS_DISKS_LIST, 2, kYellow);
    FileChangeCounts[0][kChangeSize] = 3;  // another drive's counter lights nothing here
    EXPECT_EQ(CountDrawn(report, IDC_STATUS_DISKS_LIST, 2, kYellow), unlit);
    FileChangeCounts[1][kChangeSize] = 1;
    EXPECT_GT(CountDrawn(report, IDC_STATUS_DISKS_LIST, 2, kYellow), unlit);
    FileChangeCounts[0][kChangeSize] = saved[0];
    FileChangeCounts[1][kChangeSize] = saved[1];
}

// The text of a line's first field without its markup.
std::string Label(const std::string& line)
{
    std::string field = line.substr(0, line.find('\t'));
    if (!field.empty() && field[0] == '\x06') field.erase(0, 1);
    if (field.size() >= 2 && (field[0] == '\x01' || field[0] == '\x02')) field.erase(0, 2);
    return field;
}

TEST_F(StatusReportTest, EveryLabelEndsBeforeTheValueColumn)
{
    HWND report = Open(IDD_STATUS_REPORT, nullptr);
    ASSERT_NE(report, nullptr);
    RefreshStatusReport(report);
    // Labels with the tab stops of the list that shows them.
    std::vector<std::pair<std::string, const int*>> labels;
    for (int listId : {IDC_STATUS_USAGE_LIST, IDC_STATUS_SHARES_LIST, IDC_STATUS_RESOURCES_LIST,
                       IDC_STATUS_PROGRAMS_LIST, IDC_STATUS_DISKS_LIST})
        for (const std::string& line : ListBoxLines(GetDlgItem(report, listId)))
            labels.push_back({Label(line), StatusTabStops(listId)});
    // Every caption of the ten hardware pages the inventory list shows in turn.
    static EquipmentInfo equipment;
    PageFacts facts = {};
    for (uint32_t& type : facts.driveTypes) type = DRIVE_FIXED;
    for (int page = 0; page < kEquipmentPageCount; ++page) {
        char lines[kEquipmentPageLines][kReportLineSlot] = {};
        FormatEquipmentPage(equipment, facts, page, lines);
        for (const auto& text : lines) labels.push_back({Label(text), StatusTabStops(IDC_STATUS_INVENTORY_LIST)});
    }
    HDC dc = GetDC(GetDlgItem(report, IDC_STATUS_USAGE_LIST));
    HGDIOBJ old = SelectObject(dc, SharedGdi.normalFont);  // the painter's font
    for (const auto& label : labels) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, label.first.c_str(), int(label.first.size()), &size);
        // A bar starts one pixel into its column; leave one more free before it.
        EXPECT_LE(label.second[0] + size.cx, label.second[1] - 2) << label.first;
    }
    SelectObject(dc, old);
    ReleaseDC(GetDlgItem(report, IDC_STATUS_USAGE_LIST), dc);

    // The fifth file-change lamp (20 pixels apart, 15 wide) ends inside the Disk Status list.
    RECT disks;
    GetClientRect(GetDlgItem(report, IDC_STATUS_DISKS_LIST), &disks);
    EXPECT_LE(StatusTabStops(IDC_STATUS_DISKS_LIST)[1] + 4 * 20 + 15, disks.right);
}

// Every picture button and section caption of the two dialogs shows a picture, and the
// picture lies inside the bevelled face (one pixel inside the control, its bevel two wide).
TEST_F(StatusReportTest, EveryPictureButtonShowsAPictureInsideItsFace)
{
    int buttons = 0;
    for (HWND dialog : {Open(IDD_STATUS_REPORT, nullptr), Open(IDD_FILE_INVENTORY, FileInventoryDlgProc)}) {
        ASSERT_NE(dialog, nullptr);
        for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
            char className[16] = "";
            GetClassNameA(control, className, sizeof className);
            if (lstrcmpiA(className, "Button") || (GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK) != BS_OWNERDRAW) continue;
            SCOPED_TRACE(GetDlgCtrlID(control));
            ++buttons;
            RECT r;
            GetClientRect(control, &r);
            Canvas drawn(r.right, r.bottom), bare(r.right, r.bottom);
            DRAWITEMSTRUCT item = {ODT_BUTTON, UINT(GetDlgCtrlID(control)), 0, ODA_DRAWENTIRE, 0, control, drawn.dc, r};
            SendMessageA(dialog, WM_DRAWITEM, item.CtlID, LPARAM(&item));
            item.hDC = bare.dc;
            DrawPictureButton(nullptr, &item, HBRUSH(GetStockObject(LTGRAY_BRUSH)), 1);  // no such picture: the bare face
            int inside = 0, outside = 0;
            for (int y = 0; y < r.bottom; ++y)
                for (int x = 0; x < r.right; ++x)
                    if (drawn.At(x, y) != bare.At(x, y)) ++(x >= 3 && x < r.right - 3 && y >= 3 && y < r.bottom - 3 ? inside : outside);
            EXPECT_GT(inside, 0) << "no picture";
            EXPECT_EQ(outside, 0) << "the picture covers the bevel, or the face is not the buttons' grey";
        }
    }
    EXPECT_EQ(buttons, 16);
}

}  // namespace
