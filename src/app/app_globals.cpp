#include <windows.h>

#include "app/app_globals.h"

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
