// The modal Quick Help dialog opened at the paragraph of a clicked line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report_canvas.h"
#include "resources/ids_tools.h"
#include "test_windows.h"
#include "ui/quick_help.h"
#include "wine_env.h"

namespace {

struct SeenQuickHelp {
    bool found = false;
    std::string topLine, selectedLine;
    COLORREF background = 1, text = 1;  // what the list's colour handler set
    LRESULT brush = 0;
};

// Waits for this process's Quick Help dialog, reads its list and closes it.
DWORD WINAPI CloseQuickHelp(LPVOID parameter)
{
    SeenQuickHelp* seen = static_cast<SeenQuickHelp*>(parameter);
    HWND dialog = nullptr;
    if (!WaitUntil([&] {
            dialog = FindProcessWindow(GetCurrentProcessId(), "#32770", "Quick Help");
            return dialog && IsWindowVisible(dialog);
        }, 5000))
        return 0;
    HWND list = GetDlgItem(dialog, IDC_QUICK_HELP_LIST);
    const std::vector<std::string> lines = ListBoxLines(list);
    const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (top >= 0 && size_t(top) < lines.size()) seen->topLine = lines[size_t(top)];
    if (selected >= 0 && size_t(selected) < lines.size()) seen->selectedLine = lines[size_t(selected)];
    if (seen->selectedLine == "Write Size") {  // a picture of it: cyan on black
        WaitUntilDrawn(dialog);  // the dialog paints on its own thread meanwhile
        SaveScreenshot("quick-help");
    }
    Canvas canvas(4, 4);
    SetBkColor(canvas.dc, 0xFFFFFF);
    seen->brush = SendMessageA(dialog, WM_CTLCOLORLISTBOX, WPARAM(canvas.dc), LPARAM(list));
    seen->background = GetBkColor(canvas.dc);
    seen->text = GetTextColor(canvas.dc);
    seen->found = true;
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

}  // namespace

TEST(QuickHelp, OpensAtTheParagraphOfTheClickedLine)
{
    struct Case {
        const char* topic;
        UINT helpId;
        const char* line;
    } cases[] = {
        {"\x01" "CWrite Size\t\x01" "Y512", IDR_HELP_DISK_MONITOR, "Write Size"},
        {"No such label here", IDR_HELP_MEMORY_MONITOR, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.topic);
        SeenQuickHelp seen;
        HANDLE closer = CreateThread(nullptr, 0, CloseQuickHelp, &seen, 0, nullptr);
        ShowQuickHelpTopic(c.topic, c.helpId);
        WaitForSingleObject(closer, 10000);
        CloseHandle(closer);
        ASSERT_TRUE(seen.found) << "no Quick Help dialog appeared";
        EXPECT_EQ(seen.selectedLine, c.line);
        if (*c.line) EXPECT_EQ(seen.topLine, c.line);
        EXPECT_EQ(seen.brush, LRESULT(GetStockObject(BLACK_BRUSH)));  // cyan on black
        EXPECT_EQ(seen.background, 0u);
        EXPECT_EQ(seen.text, 0xFFFF00u);
    }
}
