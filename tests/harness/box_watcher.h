// Finds message boxes of one process, records their caption and text and answers them.
// The boxes stay the real Win32 boxes; a watcher thread polls for them.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

struct SeenBox { std::string caption, text; };

class BoxWatcher {
public:
    // Watches boxes of processId (this process by default) and answers each with the
    // button answer (a dialog command id such as IDOK, IDYES, IDNO). With patienceMs, a box
    // is taken only once it has stayed on screen that long, so another watcher answers first.
    explicit BoxWatcher(DWORD processId = GetCurrentProcessId(), int answer = IDOK, DWORD patienceMs = 0);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Every box answered so far, in the order they appeared.
    std::vector<SeenBox> Boxes();
    // Waits until a box with this caption has been answered; false after timeoutMs.
    bool WaitForBox(const std::string& caption, DWORD timeoutMs, SeenBox* found = nullptr);

private:
    static DWORD WINAPI Run(LPVOID self);
    static BOOL CALLBACK Visit(HWND window, LPARAM self);
    void Poll();

    DWORD processId_;
    const int answer_;
    const DWORD patienceMs_;
    volatile LONG stop_ = 0;
    HANDLE thread_ = nullptr;
    CRITICAL_SECTION lock_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> answered_;
    std::map<HWND, DWORD> pending_;  // boxes seen without their text yet, or waited on
    std::map<HWND, DWORD> firstSeen_;  // when each box on screen was first seen
};

// The text of a window of any process, read as UTF-16 and converted to the ANSI code page.
std::string WindowText(HWND window);
