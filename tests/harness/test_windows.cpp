#include "test_windows.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

bool StartProcess(const std::string& commandLine, PROCESS_INFORMATION* process, DWORD flags, const char* folder)
{
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    *process = PROCESS_INFORMATION{};
    const BOOL started = CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, flags, nullptr, folder, &startup, process);
    if (!started) fprintf(stderr, "StartProcess: cannot start [%s]: error %lu\n", commandLine.c_str(), GetLastError());
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    return started;
}

void EndHelperProcess(PROCESS_INFORMATION* process, DWORD waitMs)
{
    if (!process->hProcess) return;
    if (WaitForSingleObject(process->hProcess, waitMs) != WAIT_OBJECT_0) {
        TerminateProcess(process->hProcess, 1);
        WaitForSingleObject(process->hProcess, 5000);
    }
    CloseHandle(process->hThread);
    CloseHandle(process->hProcess);
    *process = PROCESS_INFORMATION{};
}

PROCESS_INFORMATION StartHelperTest(const std::string& testName)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    PROCESS_INFORMATION process;
    StartProcess(std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=" + testName, &process);
    return process;
}

struct WindowQuery { DWORD processId; const char *className, *title; HWND found; };

static BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "", title[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    if ((query->processId && owner != query->processId) || (query->className && strcmp(className, query->className)) ||
        (query->title && strcmp(title, query->title)))
        return TRUE;
    query->found = window;
    return FALSE;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    WindowQuery query{processId, className, title, nullptr};
    EnumWindows(MatchWindow, LPARAM(&query));
    return query.found;
}

HWND WaitForProcessWindow(DWORD processId, const char* title, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        HWND found = FindProcessWindow(processId, nullptr, title);
        if (found || GetTickCount() - start > timeoutMs) return found;
    }
}

void PumpMessagesFor(DWORD ms, HWND untilClosed)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms && (!untilClosed || IsWindow(untilClosed));) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

// Bounded: a list whose program hangs or shows a box gives what was read so far.
static LRESULT SendBoundedW(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result) ? LRESULT(result) : -1;
}

std::vector<std::string> ListBoxLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendBoundedW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendBoundedW(list, LB_GETTEXTLEN, WPARAM(i), 0);
        if (length < 0) break;
        std::vector<wchar_t> wide(size_t(length) + 1);
        if (SendBoundedW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide.data())) < 0) break;
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
        lines.push_back(narrow);
    }
    return lines;
}
