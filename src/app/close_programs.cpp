#include <windows.h>

#include "app/close_programs.h"

#include "app/app_globals.h"
#include "services/window_names.h"

void CloseAllPrograms()
{
    if (MessageBoxA(MainDialog, "About to close all open programs except for this program. Continue?",
                    "Close All Programs?", MB_YESNO | MB_ICONEXCLAMATION) != IDYES)
        return;
    for (HWND window = GetWindow(MainDialog, GW_HWNDLAST); window; window = GetWindow(window, GW_HWNDPREV)) {
        char title[256];
        if (GetWindowTextA(window, title, sizeof title) <= 0) continue;
        if (!IsWindowVisible(window) || !(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION)) continue;
        if (TopLevelOwner(window) == MainDialog) continue;
        PostMessageA(window, WM_CLOSE, 0, 0);
    }
    ShowWindow(MainDialog, SW_MINIMIZE);
    EndDialog(MainDialog, 0);
}
