#include "wine_env.h"

#include <cstdio>
#include <cstdlib>

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

static void RemoveTree(const std::string& folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
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

bool RunHostCommand(const std::string& command, DWORD timeoutMs)
{
    // Wine starts a Unix program when the command line names one by its Unix path. Its
    // process handle cannot be waited on, so the command leaves its exit status in a
    // marker file that is polled for. The command must not contain double quotes.
    static LONG counter = 0;
    const std::string runDir = EnvOr("HALVORN_RUN_DIR", "/tmp");
    const std::string marker =
        runDir + "/work/.host-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(InterlockedIncrement(&counter));
    const std::string markerWindows = UnixToWindowsPath(marker);
    DeleteFileA(markerWindows.c_str());
    std::string line = "/bin/sh -c \"( " + command + " ); echo $? > '" + marker + ".tmp' && mv '" + marker + ".tmp' '" +
                       marker + "'\"";
    std::vector<char> buffer(line.begin(), line.end());
    buffer.push_back('\0');
    // The command gets standard handles of its own: handed this program's, Wine has been
    // seen to close them for the caller too.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                             OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION process = {};
    const BOOL started =
        CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process);
    if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
    if (!started) {
        fprintf(stderr, "RunHostCommand: cannot start [%s]: error %lu\n", buffer.data(), GetLastError());
        return false;
    }
    if (process.hThread) CloseHandle(process.hThread);
    if (process.hProcess) CloseHandle(process.hProcess);
    const DWORD start = GetTickCount();
    while (!PathExists(markerWindows)) {
        if (GetTickCount() - start > timeoutMs) {
            fprintf(stderr, "RunHostCommand: [%s] did not finish in %lu ms\n", command.c_str(), timeoutMs);
            return false;
        }
        Sleep(20);
    }
    std::vector<unsigned char> status;
    ReadWholeFileBytes(markerWindows, &status);
    DeleteFileA(markerWindows.c_str());
    return !status.empty() && status[0] == '0';
}

std::string SaveScreenshot(const std::string& name)
{
    std::string unixPath = EnvOr("HALVORN_ARTIFACTS", "/tmp") + std::string("/") + name + ".png";
    std::string display = EnvOr("DISPLAY", ":0");
    DeleteFileA(UnixToWindowsPath(unixPath).c_str());
    RunHostCommand("import -display " + display + " -window root '" + unixPath + "'");
    return PathExists(UnixToWindowsPath(unixPath)) ? unixPath : std::string();
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
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) bytes->insert(bytes->end(), chunk, chunk + got);
    fclose(file);
    return true;
}

bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
