#include <windows.h>

#include "app/close_programs.h"

#include "app/app_globals.h"
#include "services/window_names.h"

static bool IsOwnProcessWindow(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId == GetCurrentProcessId();
}

void CloseAllPrograms()
{
    if (MessageBoxA(MainDialog, "About to close all open programs except for this program. Continue?",
                    "Close All Programs?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    for (HWND window = GetWindow(MainDialog, GW_HWNDLAST); window; window = GetWindow(window, GW_HWNDPREV)) {
        char title[256];
        if (GetWindowTextA(window, title, sizeof title) <= 0) continue;
        if (!IsWindowVisible(window) || !(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION)) continue;
        // The monitors live on the sampling thread with no owner: without this test they
        // would be closed too, although they are part of "this program".
        if (IsOwnProcessWindow(window) || TopLevelOwner(window) == MainDialog) continue;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    // Minimised, not ended: an ended modeless dialog is hidden for good, and with the
    // single-instance rule the user would have no way back to the program.
    ShowWindow(MainDialog, SW_MINIMIZE);
}

namespace {
struct MainDialogSearch {
    DWORD processId;
    HWND found;
};
}  // namespace

static BOOL CALLBACK FindMainDialog(HWND window, LPARAM lParam)
{
    auto* search = reinterpret_cast<MainDialogSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || GetWindow(window, GW_OWNER)) return TRUE;
    char className[16] = "", title[16] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if (lstrcmpA(className, "#32770") != 0 || lstrcmpA(title, "Halvorn") != 0) return TRUE;
    search->found = window;
    return FALSE;
}

void BringRunningCopyToFront(HWND runningMainWindow)
{
    MainDialogSearch search = {0, nullptr};
    GetWindowThreadProcessId(runningMainWindow, &search.processId);
    if (!search.processId) return;
    EnumWindows(FindMainDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    // This copy has just had the user's answer to its box, so it may hand the foreground on.
    if (IsIconic(search.found) || !IsWindowVisible(search.found)) ShowWindow(search.found, SW_RESTORE);
    SetForegroundWindow(search.found);
}
