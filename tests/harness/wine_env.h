// What a test under the Wine harness needs from its surroundings: folders and files inside
// the run folder, processes (host commands, helper runs of this test program), windows of
// any process, screenshots.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Z: is the host's root: "/a/b" is "Z:\a\b".
std::string UnixToWindowsPath(const std::string& unixPath);

// A fresh, empty folder for one test (Windows path), inside the harness's run folder.
std::string FreshTestFolder(const std::string& name);
// Deletes a folder tree of any depth (it is reached through "\\?\" paths).
void RemoveTree(const std::string& folder);
bool WriteWholeFile(const std::string& path, const void* data, size_t length);
bool ReadWholeFileBytes(const std::string& path, std::vector<unsigned char>* bytes);
bool PathExists(const std::string& path);

// Starts commandLine with standard handles of its own (NUL): handed this program's, Wine
// has been seen to close them for the caller too. A Unix program (named by its Unix path)
// starts without handles.
bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION* process, DWORD flags = 0,
                  const char* folder = nullptr);
// Ends the process if it still runs after waitMs and closes its handles.
void EndHelperProcess(PROCESS_INFORMATION* process, DWORD waitMs = 0);
// Runs this test executable again with only testName (a DISABLED_ helper test).
PROCESS_INFORMATION StartHelperTest(const std::string& testName);
// Runs a host shell command and waits for it; false when it could not start, failed or
// timed out. The command must not contain double quotes.
bool RunHostCommand(const std::string& command, DWORD timeoutMs = 30000);

// The first top-level window of processId (any process when 0) with this class and title
// (null matches any).
HWND FindProcessWindow(DWORD processId, const char* className, const char* title = nullptr);
// The same for a title, waited for; null after timeoutMs.
HWND WaitForProcessWindow(DWORD processId, const char* title, DWORD timeoutMs);
// Dispatches this thread's messages for ms, or until untilClosed (when given) is destroyed.
void PumpMessagesFor(DWORD ms, HWND untilClosed = nullptr);
// Every line of a list box, read as UTF-16 (correct across processes) in the ANSI code page.
std::vector<std::string> ListBoxLines(HWND list);

// Saves a PNG of the whole virtual screen as artifacts/<name>.png; returns the Unix path
// of the picture, or an empty string when it could not be taken.
std::string SaveScreenshot(const std::string& name);
