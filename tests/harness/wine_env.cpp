#include "wine_env.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static std::string EnvOr(const char* name, const char* fallback)
{
    const char* value = getenv(name);
    return value && *value ? value : fallback;
}

std::string UnixToWindowsPath(const std::string& unixPath)
{
    std::string out = "Z:";
    for (char c : unixPath) out += c == '/' ? '\\' : c;
    return out;
}

static void RemoveTreeW(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName, path = folder + L"\\" + name;
            if (name == L"." || name == L"..") continue;
            const DWORD kind = found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
            if (kind == FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTreeW(path);
            } else if (kind) {
                RemoveDirectoryW(path.c_str());  // a link: never what it points to
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveTree(const std::string& folder)
{
    RemoveTreeW(L"\\\\?\\" + std::wstring(folder.begin(), folder.end()));
}

std::string FreshTestFolder(const std::string& name)
{
    std::string base = UnixToWindowsPath(EnvOr("HALVORN_RUN_DIR", "/tmp/halvorn-tests")) + "\\work";
    CreateDirectoryA(base.c_str(), nullptr);
    std::string folder = base + "\\" + name;
    RemoveTree(folder);
    CreateDirectoryA(folder.c_str(), nullptr);
    return folder;
}

bool WriteWholeFile(const std::string& path, const void* data, size_t length)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = fwrite(data, 1, length, file) == length;
    return fclose(file) == 0 && ok;
}

bool ReadWholeFileBytes(const std::string& path, std::vector<unsigned char>* bytes)
{
    bytes->clear();
    FILE* file = fopen(path.c_str(), "rb");
    if (!file) return false;
    unsigned char chunk[65536];
    for (size_t got; (got = fread(chunk, 1, sizeof chunk, file)) > 0;) bytes->insert(bytes->end(), chunk, chunk + got);
    fclose(file);
    return true;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

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

bool RunHostCommand(const std::string& command, DWORD timeoutMs)
{
    // Wine starts a Unix program when the command line names one by its Unix path. Its
    // process comes without handles, so the command leaves its exit status in a marker
    // file that is polled for.
    static LONG counter = 0;
    const std::string marker = EnvOr("HALVORN_RUN_DIR", "/tmp") + "/work/.host-" +
                               std::to_string(GetCurrentProcessId()) + "-" +
                               std::to_string(InterlockedIncrement(&counter));
    const std::string markerWindows = UnixToWindowsPath(marker);
    DeleteFileA(markerWindows.c_str());
    PROCESS_INFORMATION process;
    if (!StartProcess("/bin/sh -c \"( " + command + " ); echo $? > '" + marker + ".tmp' && mv '" + marker + ".tmp' '" +
                          marker + "'\"",
                      &process))
        return false;
    for (const DWORD start = GetTickCount(); !PathExists(markerWindows); Sleep(20)) {
        if (GetTickCount() - start > timeoutMs) {
            fprintf(stderr, "RunHostCommand: [%s] did not finish in %lu ms\n", command.c_str(), timeoutMs);
            return false;
        }
    }
    std::vector<unsigned char> status;
    ReadWholeFileBytes(markerWindows, &status);
    DeleteFileA(markerWindows.c_str());
    return !status.empty() && status[0] == '0';
}

struct WindowQuery {
    DWORD processId;
    const char* className;
    const char* title;
    HWND found;
};

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

std::vector<std::string> ListBoxLines(HWND list)
{
    std::vector<std::string> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::vector<wchar_t> wide(size_t(std::max<LRESULT>(0, SendMessageW(list, LB_GETTEXTLEN, WPARAM(i), 0))) + 1);
        SendMessageW(list, LB_GETTEXT, WPARAM(i), reinterpret_cast<LPARAM>(wide.data()));
        char narrow[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, narrow, sizeof narrow, nullptr, nullptr);
        lines.push_back(narrow);
    }
    return lines;
}

std::string SaveScreenshot(const std::string& name)
{
    const std::string unixPath = EnvOr("HALVORN_ARTIFACTS", "/tmp") + "/" + name + ".png";
    DeleteFileA(UnixToWindowsPath(unixPath).c_str());
    RunHostCommand("import -display " + EnvOr("DISPLAY", ":0") + " -window root '" + unixPath + "'");
    return PathExists(UnixToWindowsPath(unixPath)) ? unixPath : std::string();
}
