#include "test_windows.h"

#include <gtest/gtest.h>

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
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindProcessWindow(processId, nullptr, title)) != nullptr; }, timeoutMs);
    return found;
}

static void DispatchWaitingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PumpMessagesFor(DWORD ms, HWND untilClosed)
{
    DispatchWaitingMessages();
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms && (!untilClosed || IsWindow(untilClosed));) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        DispatchWaitingMessages();
    }
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, bool pumping)
{
    for (const DWORD start = GetTickCount();;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        if (pumping)
            PumpMessagesFor(20);
        else
            Sleep(20);
    }
}

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD timeoutMs)
{
    DWORD_PTR result = 0;
    // The wide form: a text a message carries across processes arrives as UTF-16 under Wine.
    if (SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, timeoutMs, &result)) return LRESULT(result);
    char className[64] = "", title[128] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, title, sizeof title);
    ADD_FAILURE() << "message 0x" << std::hex << message << std::dec << " (wParam " << wParam << ") to window "
                  << window << " (" << className << " \"" << title << "\") got no answer within " << timeoutMs
                  << " ms: its program hangs or shows a box";
    return -1;
}

// The screen's pixels inside rect, one 32-bit value each.
static std::vector<DWORD> ScreenPixels(const RECT& rect)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    std::vector<DWORD> pixels(size_t(std::max(width, 0)) * size_t(std::max(height, 0)));
    if (pixels.empty()) return pixels;
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
        GdiFlush();
        memcpy(pixels.data(), bits, pixels.size() * sizeof(DWORD));
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool WaitUntilDrawn(HWND window, DWORD timeoutMs)
{
    std::vector<DWORD> last;
    DWORD stableSince = GetTickCount();
    return WaitUntil([&] {
        RECT rect = {};
        GetWindowRect(window, &rect);
        std::vector<DWORD> now = ScreenPixels(rect);
        if (now != last) {
            last.swap(now);
            stableSince = GetTickCount();
            return false;
        }
        return GetTickCount() - stableSince >= 150;
    }, timeoutMs, true);
}

// A list whose program hangs or shows a box fails the test and gives what was read so far.
std::vector<std::string> ListBoxLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendWithTimeout(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendWithTimeout(list, LB_GETTEXTLEN, WPARAM(i));
        if (length < 0) break;
        std::vector<wchar_t> wide(size_t(length) + 1);
        if (SendWithTimeout(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide.data())) < 0) break;
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
        lines.push_back(narrow);
    }
    return lines;
}
