#include <windows.h>

#include "app/app_globals.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "sampling/stats_file.h"
#include "sampling/tick_feeds.h"

static void OnQueryEndSession()
{
    if (gSystemStats) ++gSystemStats->sessionEnds;
    if (gLiveSample) ++gLiveSample->sessionEnds;
    if (gSystemStats) SaveSystemStats();
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (PandkitMessage != 0 && message == PandkitMessage) {
        FreeUserPercent = LOWORD(lParam);
        FreeGdiPercent = HIWORD(lParam);
    } else {
        switch (message) {
        case WM_CREATE:
            DeleteMenu(GetSystemMenu(window, FALSE), 2, MF_BYPOSITION);  // Size
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_QUERYENDSESSION:
            OnQueryEndSession();
            break;
        case WM_COMMNOTIFY:
            ++CommNotifyCount;
            break;
        case WM_CLOSE:
            // Until the main dialog offers File > Exit, closing the hidden window is the
            // way to end the program cleanly.
            ExitProgram();
            return 0;
        }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
