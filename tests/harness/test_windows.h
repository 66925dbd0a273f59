// Processes and windows for tests: helper runs of this test program (one DISABLED_ test
// each), windows of any process, list boxes read across processes.
#pragma once
#include <windows.h>

#include <functional>
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
// Dispatches this thread's messages for ms, or until untilClosed (when given) is destroyed;
// with 0, only those already waiting (a message posted before the call has been handled).
void PumpMessagesFor(DWORD ms, HWND untilClosed = nullptr);
// Asks condition every 20 ms until it holds; false when it still does not after timeoutMs.
// With pumping, this thread's messages are dispatched while it waits (its own windows and
// hooks keep working); without, it only sleeps. The caller fails the test, saying what
// did not come.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool pumping = false);
// Sends a message to a window of any process and returns its result. A window that does
// not answer within timeoutMs (its program hangs, or sits in a box nobody answered) fails
// the current test, naming the message and the window, and the result is -1: the test
// goes on instead of waiting for ever.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0, DWORD timeoutMs = 5000);
// Waits until the screen inside window's rectangle stays the same over 150 ms (what the
// window shows has been drawn, for a picture); false when it keeps changing for timeoutMs.
bool WaitUntilDrawn(HWND window, DWORD timeoutMs = 3000);
// Every line of a list box, read as UTF-16 (correct across processes) in the ANSI code page.
std::vector<std::string> ListBoxLines(HWND list);
