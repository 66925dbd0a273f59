#include <windows.h>

#include "app/app_globals.h"

#include "services/window_position.h"

HINSTANCE gInstance;
UINT NewDataReadyMessage;
UINT MonitorActiveMessage;
UINT PandkitMessage;
HWND MainWindow;
HWND MainDialog;
HWND AnalyzingPanel;
CRITICAL_SECTION PrintLock;
HANDLE SamplingThreadHandle;
volatile DWORD SamplingTickCount;

void ShowAnalyzingPanel()
{
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)));  // IDC_WAIT
    CenterWindow(AnalyzingPanel, GetForegroundWindow());
    ShowWindow(AnalyzingPanel, SW_SHOW);
    SetWindowPos(AnalyzingPanel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void HideAnalyzingPanel()
{
    ShowWindow(AnalyzingPanel, SW_HIDE);
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
}
