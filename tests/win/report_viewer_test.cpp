// The report viewer and the README viewer against real dialogs from the program's own
// resources.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "resources/ids_tools.h"
#include "services/paths.h"
#include "services/program_directory.h"
#include "services/string_list.h"
#include "test_windows.h"
#include "ui/quick_help.h"
#include "ui/readme_viewer.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"
#include "wine_env.h"

namespace {

LRESULT gReportCountAtHandler = -1;  // what the second tool found in the viewer's report
HWND gViewer;                         // the viewer a tool was last shown in

int ShowLines(HWND list, const std::vector<std::string>& lines)
{
    gViewer = GetParent(list);
    StringListCount = 0;
    for (const std::string& line : lines) lstrcpynA(StringListNext(), line.c_str(), kReportLineSlot);
    ReportShowLines(list, StringListBase, StringListCount);
    return int(lines.size());
}

int FirstTool(HWND__* list)
{
    return ShowLines(list, {"\x01" "CCPU\t\x01" "Y40%", "\x01" "CWindows Version\t\x01" "Y4.00.950", "abc",
                            "\x01" "CMemory\t\x01" "Y16 MB"});
}

int SecondTool(HWND__* list)
{
    gReportCountAtHandler = SendMessageA(list, LB_GETCOUNT, 0, 0);
    return ShowLines(list, {"\x01" "CDisks\t\x01" "Y3"});
}

const ToolEntry kRows[] = {{"First Tool", FirstTool, IDR_HELP_SYSTEM_MONITOR},
                           {"Second Tool", SecondTool, IDR_HELP_DISK_MONITOR}};
const ToolTable kTable{kRows, 2, 4000};

class ReportViewer : public testing::Test {
protected:
    void TearDown() override
    {
        if (IsWindow(gViewer)) SendMessageA(gViewer, WM_COMMAND, IDCANCEL, 0);
        gViewer = nullptr;
    }
    static HWND Item(int id) { return GetDlgItem(gViewer, id); }
    // Selects report line index as a click would; the help line selected then.
    static std::string Select(int index)
    {
        SendMessageA(Item(IDC_VIEWER_REPORT), LB_SETCURSEL, index, 0);
        SendMessageA(gViewer, WM_COMMAND, MAKEWPARAM(IDC_VIEWER_REPORT, LBN_SELCHANGE),
                     LPARAM(Item(IDC_VIEWER_REPORT)));
        const LRESULT selected = SendMessageA(Item(IDC_VIEWER_HELP), LB_GETCURSEL, 0, 0);
        return selected == LB_ERR ? "" : ListBoxLines(Item(IDC_VIEWER_HELP))[size_t(selected)];
    }
};

}  // namespace

TEST_F(ReportViewer, OpeningAToolAgainReusesTheViewerAndEmptiesBothLists)
{
    EXPECT_EQ(OpenTool(nullptr, 4001, 4000, kTable), 4);
    HWND viewer = gViewer;
    ASSERT_TRUE(IsWindow(viewer));
    Select(0);  // the picture: the CPU line and its paragraph at the top of Quick Help
    RedrawWindow(viewer, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EXPECT_FALSE(SaveScreenshot("viewer").empty());

    EXPECT_EQ(OpenTool(nullptr, 4002, 4000, kTable), 1);
    EXPECT_EQ(gViewer, viewer);
    EXPECT_EQ(gReportCountAtHandler, 0);
    const std::vector<std::string> help = ListBoxLines(Item(IDC_VIEWER_HELP));
    ASSERT_GT(help.size(), 2u);
    EXPECT_EQ(help[1].rfind("The Disk Monitor", 0), 0u) << help[1];  // only the second tool's help is left
    EXPECT_EQ(OpenTool(nullptr, 4003, 4000, kTable), 0);  // no such row: nothing changes
    EXPECT_EQ(WindowText(Item(IDC_VIEWER_TITLE)), "  Second Tool");
    SendMessageA(viewer, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(viewer));
    // A closed viewer is forgotten: the next tool opens a new one.
    gViewer = nullptr;
    EXPECT_EQ(OpenTool(nullptr, 4002, 4000, kTable), 1);
    EXPECT_TRUE(IsWindow(gViewer));
}

TEST_F(ReportViewer, SelectingALineScrollsItsParagraphToTheTop)
{
    OpenTool(nullptr, 4001, 4000, kTable);
    HWND help = Item(IDC_VIEWER_HELP);
    SendMessageA(help, LB_RESETCONTENT, 0, 0);
    const char text[] = "OVERVIEW\nA test page.\n \nDESCRIPTION\nCPU\nThe processor.\n \nMemory\nRAM.\n \n"
                        "Windows Version\nThe version of Windows.\n \nUSES\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n12\n"
                        "13\n14\n15\n16\n17\n18\n19\n20\n21\n22\n23\n24\n25\n26\n27\n28\n29\n30";
    HelpTextShow(help, text, sizeof text - 1);
    EXPECT_EQ(Select(1), "Windows Version");
    const LRESULT top = SendMessageA(help, LB_GETTOPINDEX, 0, 0);
    EXPECT_EQ(ListBoxLines(help)[size_t(top)], "Windows Version");
    EXPECT_EQ(Select(2), "Windows Version");  // "abc" is too short to look up
    EXPECT_EQ(SendMessageA(help, LB_GETTOPINDEX, 0, 0), top);
    EXPECT_EQ(Select(0), "CPU");
}

TEST(ReadmeViewer, ShowsContentsAndJumpsToASection)
{
    HWND viewer = ShowReadme(nullptr);
    ASSERT_NE(viewer, nullptr);
    HWND report = GetDlgItem(viewer, IDC_VIEWER_REPORT);
    HWND help = GetDlgItem(viewer, IDC_VIEWER_HELP);
    EXPECT_EQ(SendMessageA(report, LB_GETCOUNT, 0, 0), 9);
    // Every numbered contents line selects the first line of its section's heading, also
    // where the heading is wider than the pane and wrapped over several lines.
    for (int i = 1; i < 9; ++i) {
        SendMessageA(report, LB_SETCURSEL, i, 0);
        SendMessageA(viewer, WM_COMMAND, MAKEWPARAM(IDC_VIEWER_REPORT, LBN_SELCHANGE), LPARAM(report));
        const std::string line = ListBoxLines(report)[size_t(i)];
        const std::string heading = line.substr(line.find('C') + 1);
        SCOPED_TRACE(heading);
        const LRESULT selected = SendMessageA(help, LB_GETCURSEL, 0, 0);
        ASSERT_GE(selected, 0);
        const std::string first = ListBoxLines(help)[size_t(selected)];
        EXPECT_TRUE(first.size() > 3 && heading.compare(0, first.size(), first) == 0) << first;
    }
    DestroyWindow(viewer);
}

TEST(ReadmeViewer, AMissingOrUnreadableFileShowsOneBoxAndEmptyLists)
{
    char folder[MAX_PATH], path[MAX_PATH], aside[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    ASSERT_TRUE(JoinPath(folder, "readme.txt", path, sizeof path));
    ASSERT_TRUE(JoinPath(folder, "readme.txt.aside", aside, sizeof aside));
    for (bool locked : {false, true}) {
        SCOPED_TRACE(locked ? "open elsewhere without sharing" : "missing");
        // Either the file is moved away, or it stays but another handle denies reading it.
        HANDLE holder = INVALID_HANDLE_VALUE;
        if (locked)
            holder = CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        else
            ASSERT_TRUE(MoveFileA(path, aside));
        ASSERT_TRUE(!locked || holder != INVALID_HANDLE_VALUE);
        BoxWatcher boxes;
        HWND viewer = ShowReadme(nullptr);  // returns once its box has been answered
        if (locked)
            CloseHandle(holder);
        else
            MoveFileA(aside, path);
        ASSERT_TRUE(boxes.WaitForBox("Readme.txt file not on disk. Reload from original diskettes.", 5000));
        EXPECT_EQ(boxes.Boxes().size(), 1u) << "first box: " << boxes.Boxes()[0].caption;
        ASSERT_TRUE(IsWindow(viewer));
        EXPECT_EQ(SendDlgItemMessageA(viewer, IDC_VIEWER_REPORT, LB_GETCOUNT, 0, 0), 0);
        EXPECT_EQ(SendDlgItemMessageA(viewer, IDC_VIEWER_HELP, LB_GETCOUNT, 0, 0), 0);
        DestroyWindow(viewer);
    }
}
