// The modal Quick Help dialog opened at the paragraph of a clicked line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/ids_tools.h"
#include "test_windows.h"
#include "ui/quick_help.h"

namespace {

struct SeenQuickHelp {
    bool found = false;
    std::string topLine, selectedLine;
};

// Waits for this process's Quick Help dialog, reads its list and closes it.
DWORD WINAPI CloseQuickHelp(LPVOID parameter)
{
    SeenQuickHelp* seen = static_cast<SeenQuickHelp*>(parameter);
    for (int i = 0; i < 100 && !seen->found; ++i) {
        HWND dialog = FindWindowA("#32770", "Quick Help");
        DWORD processId = 0;
        if (dialog) GetWindowThreadProcessId(dialog, &processId);
        if (dialog && processId == GetCurrentProcessId() && IsWindowVisible(dialog)) {
            HWND list = GetDlgItem(dialog, IDC_QUICK_HELP_LIST);
            const std::vector<std::string> lines = ListBoxLines(list);
            const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
            const LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
            if (top >= 0 && size_t(top) < lines.size()) seen->topLine = lines[size_t(top)];
            if (selected >= 0 && size_t(selected) < lines.size()) seen->selectedLine = lines[size_t(selected)];
            seen->found = true;
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        Sleep(50);
    }
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
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.selectedLine, c.line);
        if (*c.line) EXPECT_EQ(seen.topLine, c.line);
    }
}
