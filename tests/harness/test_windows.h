// Processes and windows for tests: helper runs of this test program (one DISABLED_ test
// each), windows of any process, list boxes read across processes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Starts commandLine with standard handles of its own (NUL): handed this program's, Wine
// has been seen to close them for the caller too. A Unix program (named by its Unix path)
// starts without handles.
bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION* process, DWORD flags = 0,
                  const char* folder = nullptr);
// Ends the process if it still runs after waitMs and closes its handles.
void EndHelperProcess(PROCESS_INFORMATION* process, DWORD waitMs = 0);
// Runs this test executable again with only testName (a DISABLED_ helper test).
PROCESS_INFORMATION StartHelperTest(const std::string& testName);

// The first top-level window of processId (any process when 0) with this class and title
// (null matches any).
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr);
// The same for a title, waited for; null after timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const char* title, DWORD timeoutMs);
// Dispatches this thread's messages for ms, or until untilClosed (when given) is destroyed.
void PumpMessagesFor(DWORD ms, HWND untilClosed = nullptr);
// Every line of a list box, read as UTF-16 (correct across processes) in the ANSI code page.
std::vector<std::string> ListBoxLines(HWND list);
