#include <windows.h>

#include "hardware/window_loop.h"

void RunWindowLoop(HWND window, const bool* ended, HWND* dialog)
{
    MSG msg;
    while (!*ended) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got <= 0) {
            DestroyWindow(window);
            if (got == 0) PostQuitMessage(int(msg.wParam));
            break;
        }
        if (dialog && *dialog && IsDialogMessageA(*dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void WakeWindowLoop()
{
    PostMessageA(nullptr, WM_NULL, 0, 0);
}
