// The sampling thread. It alone runs the tick (SampleTick, from the panel's timer) and so
// alone writes SamplingTickCount and the statistics records it fills; other threads read
// them as found. The primary thread shows and hides the panel through its handle.
#include <windows.h>

#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "app/sampling_thread.h"
#include "resources/ids_app.h"
#include "sampling/sample_tick.h"
#include "services/view_registry.h"

static const UINT_PTR kSamplingTimer = 9;
static int IconPhase;  // which animation frame the visible panel shows next

static INT_PTR CALLBACK AnalyzingPanelProc(HWND panel, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetTimer(panel, kSamplingTimer, 1000, nullptr);
        break;
    case WM_TIMER:
        SampleTick();
        ++SamplingTickCount;
        if (IsWindowVisible(panel)) {
            HICON icon = LoadIconA(gInstance, MAKEINTRESOURCEA(IconPhase == 0 ? IDI_ANALYZING_0 : IDI_ANALYZING_1));
            SendDlgItemMessageA(panel, IDC_ANALYZING_ICON, STM_SETICON, WPARAM(icon), 0);
            IconPhase ^= 1;
        }
        break;
    case WM_DESTROY:
        KillTimer(panel, kSamplingTimer);
        break;
    }
    return 0;
}

static LRESULT CALLBACK SamplingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (MonitorActiveMessage != 0 && message == MonitorActiveMessage) {
        OpenMonitor(wParam);
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        SetSamplingWindow(window);
        AnalyzingPanel = CreateDialogA(gInstance, MAKEINTRESOURCEA(IDD_ANALYZING), window, AnalyzingPanelProc);
        ShowWindow(AnalyzingPanel, SW_HIDE);
        break;
    case WM_DESTROY:
        SetSamplingWindow(nullptr);
        DestroyWindow(AnalyzingPanel);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD WINAPI SamplingThread(LPVOID)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = SamplingWindowProc;
    wc.hInstance = gInstance;
    wc.hIcon = LoadIconA(gInstance, MAKEINTRESOURCEA(IDI_APP));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(1);
    wc.lpszClassName = "PDDynamic";
    if (!RegisterClassA(&wc)) ExitProcess(1);
    CreateWindowA("PDDynamic", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, gInstance, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
