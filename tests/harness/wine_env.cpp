#include "wine_env.h"

#include "test_windows.h"

#include <cctype>
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
    const std::string folder = base + "\\" + name;
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
    if (!WaitUntil([&] { return PathExists(markerWindows); }, timeoutMs)) {
        fprintf(stderr, "RunHostCommand: [%s] did not finish in %lu ms\n", command.c_str(), timeoutMs);
        return false;
    }
    std::vector<unsigned char> status;
    ReadWholeFileBytes(markerWindows, &status);
    DeleteFileA(markerWindows.c_str());
    return !status.empty() && status[0] == '0';
}

std::string SaveScreenshot(const std::string& name)
{
    const std::string unixPath = EnvOr("HALVORN_ARTIFACTS", "/tmp") + "/" + name + ".png";
    DeleteFileA(UnixToWindowsPath(unixPath).c_str());
    RunHostCommand("import -display " + EnvOr("DISPLAY", ":0") + " -window root '" + unixPath + "'");
    return PathExists(UnixToWindowsPath(unixPath)) ? unixPath : std::string();
}

MemoryDrive::MemoryDrive(char letter, const std::string& size)
    : folder(EnvOr("HALVORN_RUN_DIR", "") + "/drives/" + char(tolower(letter))),
      mounted(RunHostCommand("mount -t tmpfs -o size=" + size + " halvorn-" + char(tolower(letter)) + " " + folder))
{
}

MemoryDrive::~MemoryDrive()
{
    if (mounted) RunHostCommand("umount " + folder);
}
