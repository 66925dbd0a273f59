// Windows and processes for tests that name programs, read list boxes and watch other
// processes: helper processes run this test executable again with one DISABLED_ test.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Runs this test executable again with only testName (a DISABLED_ helper test), its
// output discarded. hProcess is null when it could not start.
PROCESS_INFORMATION StartHelperTest(const std::string& testName);

// Ends the process if it still runs (after waitMs) and closes its handles.
void EndHelperProcess(PROCESS_INFORMATION* process, DWORD waitMs = 0);

// The first top-level window of processId whose title is title; null after timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const std::string& title, DWORD timeoutMs);

// Dispatches this thread's messages until window is destroyed or timeoutMs passes.
void PumpUntilClosed(HWND window, DWORD timeoutMs);

// Every line of a list box, read as UTF-16 (correct across processes) in the ANSI code page.
std::vector<std::string> ListBoxLines(HWND list);
