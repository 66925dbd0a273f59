// Process-wide handles and values of the application shell.
//
// Written once during start-up on the primary thread, except: AnalyzingPanel (sampling
// thread, when its window is created), SamplingTickCount (sampling thread, every tick)
// and StatusReportWindow (primary thread, when the status report opens and when it is
// destroyed; the tick may post once more to a report closing meanwhile, which the
// system refuses harmlessly). Everyone reads them without a lock.
#pragma once
#include <windows.h>

extern HINSTANCE gInstance;
extern UINT NewDataReadyMessage;
extern UINT MonitorActiveMessage;
extern UINT PandkitMessage;  // 0 until registered, late in start-up
extern HWND MainWindow;
extern HWND MainDialog;
extern HWND StatusReportWindow;
extern HWND AnalyzingPanel;
extern CRITICAL_SECTION PrintLock;
extern HANDLE SamplingThreadHandle;
extern volatile DWORD SamplingTickCount;

// The Analyzing panel around long operations: shown centred over the foreground window with
// the wait cursor, then hidden with the arrow cursor back. Called from the primary thread.
void ShowAnalyzingPanel();
void HideAnalyzingPanel();
