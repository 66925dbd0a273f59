// Running a problem solver step in a test: the titles it lists, and the windows it opens
// answered or closed as a user would.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "hardware/problem_report.h"
#include "test_windows.h"

using Titles = std::vector<std::string>;

// The titles a step listed, in order, from its numbered problems text.
inline Titles StepTitles(StepHandler step)
{
    ProblemReport report;
    step(report);
    Titles titles;
    const std::string& text = report.text.first;
    for (size_t at = 0, end; at < text.size(); at = end + 4) {
        end = text.find("\r\n\r\n", at);
        const std::string item = text.substr(at, end - at);
        titles.push_back(item.substr(item.find(") ") + 2));
    }
    return titles;
}

// While it lives, a timer of this thread (served by whatever message loop a step runs)
// answers the steps' questions and ends their interactive tests: the CD-ROM question is
// answered OK, the modem question No, the print dialog cancelled, the test windows and
// dialogs closed. Any other dialog is cancelled and counted as unexpected.
class StepWindowCloser {
public:
    StepWindowCloser() { timer_ = SetTimer(nullptr, 0, 100, OnTimer); unexpected_.clear(); }
    ~StepWindowCloser() { KillTimer(nullptr, timer_); }
    StepWindowCloser(const StepWindowCloser&) = delete;
    StepWindowCloser& operator=(const StepWindowCloser&) = delete;
    // Titles of the dialogs nobody expected, in the order they were cancelled.
    static const std::vector<std::string>& Unexpected() { return unexpected_; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) { EnumWindows(Visit, 0); }
    static BOOL CALLBACK Visit(HWND window, LPARAM)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
        char className[64] = {}, title[128] = {};
        GetClassNameA(window, className, sizeof className);
        GetWindowTextA(window, title, sizeof title);
        const std::string name = title;
        if (std::string(className) != "#32770") {
            if (std::string(className) == "MouseTests") PostMessageA(window, WM_CLOSE, 0, 0);
        } else if (name == "Waiting to test") {
            PostMessageA(window, WM_COMMAND, IDOK, 0);
        } else if (name == "No Modems Registered") {
            PostMessageA(window, WM_COMMAND, IDNO, 0);
        } else if (name == "Print" || name == "Video Tests") {
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        } else if (name == "Keyboard Test" || name == "Sound Card Test") {
            DestroyWindow(window);  // modeless: the step has returned already
        } else {
            unexpected_.push_back(name);
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        }
        return TRUE;
    }
    UINT_PTR timer_ = 0;
    static inline std::vector<std::string> unexpected_;
};
