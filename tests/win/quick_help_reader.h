// Reads the Quick Help dialog a tested window opens: run ReadQuickHelp on a thread of its
// own before the action that opens the (modal) dialog; it waits for the dialog, keeps the
// selected line and closes it.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "resources/ids_tools.h"
#include "test_windows.h"

struct QuickHelpSeen {
    std::string selected;  // the selected line
    std::string next;      // the line after it
};

inline DWORD WINAPI ReadQuickHelp(LPVOID seenLines)
{
    QuickHelpSeen* seen = static_cast<QuickHelpSeen*>(seenLines);
    HWND dialog = nullptr;
    if (!WaitUntil([&] { return (dialog = FindProcessWindow(GetCurrentProcessId(), "#32770", "Quick Help")) &&
                                IsWindowVisible(dialog); }, 5000))
        return 1;
    HWND list = GetDlgItem(dialog, IDC_QUICK_HELP_LIST);
    const std::vector<std::string> lines = ListBoxLines(list);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index >= 0 && size_t(index) < lines.size()) seen->selected = lines[size_t(index)];
    if (index >= 0 && size_t(index) + 1 < lines.size()) seen->next = lines[size_t(index) + 1];
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    return 0;
}

// Runs action (which opens Quick Help and returns once it closed) and returns what Quick
// Help had selected; empty lines when no Quick Help came.
template <typename Action>
QuickHelpSeen QuickHelpSelectionAfter(Action action)
{
    QuickHelpSeen seen;
    HANDLE reader = CreateThread(nullptr, 0, ReadQuickHelp, &seen, 0, nullptr);
    action();
    WaitForSingleObject(reader, 10000);
    CloseHandle(reader);
    return seen;
}
