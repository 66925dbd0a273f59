#include "test_windows.h"

PROCESS_INFORMATION StartHelperTest(const std::string& testName)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string line =
        std::string("\"") + self + "\" --gtest_also_run_disabled_tests --gtest_filter=" + testName;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
        process = PROCESS_INFORMATION{};
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    return process;
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

struct WindowSearch {
    DWORD processId;
    const std::string* title;
    HWND found;
};

static BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter)
{
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != search->processId || *search->title != title) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForProcessWindow(DWORD processId, const std::string& title, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        WindowSearch search{processId, &title, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found || GetTickCount() - start > timeoutMs) return search.found;
        Sleep(20);
    }
}

void PumpUntilClosed(HWND window, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < timeoutMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

std::vector<std::string> ListBoxLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0);
        std::vector<wchar_t> wide(size_t(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide.data()));
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
        lines.push_back(narrow);
    }
    return lines;
}
