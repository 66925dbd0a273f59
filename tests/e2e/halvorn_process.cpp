#include "halvorn_process.h"

#include <cstring>
#include <vector>

#include "wine_env.h"

std::string gHalvornExe;

namespace {
struct WindowQuery {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (query->processId && owner != query->processId) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, query->className) != 0) return TRUE;
    if (query->title) {
        char title[256] = {};
        GetWindowTextA(window, title, sizeof title);
        if (strcmp(title, query->title) != 0) return TRUE;
    }
    query->found = window;
    return FALSE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const char* className, const char* title)
{
    WindowQuery query{processId, className, title, nullptr};
    EnumWindows(MatchWindow, LPARAM(&query));
    return query.found;
}

HalvornProcess::HalvornProcess(const std::string& testName, bool withCompanion)
{
    folder_ = FreshTestFolder("e2e_" + testName);
    CopyFileA(gHalvornExe.c_str(), (folder_ + "\\halvorn.exe").c_str(), FALSE);
    if (withCompanion) {
        std::string companion = gHalvornExe.substr(0, gHalvornExe.rfind('\\')) + "\\res16.exe";
        CopyFileA(companion.c_str(), (folder_ + "\\res16.exe").c_str(), FALSE);
    }
}

void HalvornProcess::Kill()
{
    if (IsRunning()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
}

HalvornProcess::~HalvornProcess()
{
    if (process_.hProcess) {
        if (IsRunning()) {
            TerminateProcess(process_.hProcess, 1);
            WaitForSingleObject(process_.hProcess, 10000);
        }
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
    }
}

bool HalvornProcess::Start(const std::string& arguments)
{
    std::string line = "\"" + folder_ + "\\halvorn.exe\"";
    if (!arguments.empty()) line += " " + arguments;
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                          &process_) != 0;
}

bool HalvornProcess::IsRunning() const
{
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND HalvornProcess::FindTopLevel(const char* className) const
{
    return FindProcessWindow(process_.dwProcessId, className);
}

bool HalvornProcess::WaitUntilRunning(DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if (!IsRunning()) return false;
        if (SamplingWindow() && MainWindow()) {
            Sleep(200);  // the companion start and the cursor follow the thread starts
            return true;
        }
        Sleep(20);
    }
    return false;
}

bool HalvornProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

bool HalvornProcess::Close(DWORD timeoutMs)
{
    HWND window = MainWindow();
    if (!window) return false;
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 1;
    return WaitForExit(timeoutMs, &code) && code == 0;
}
