#include <windows.h>

#include "platform/swap_file.h"

#include <cstring>

static bool IsSizeFigure(const char* text, size_t length)
{
    if (length == 0) return false;
    for (size_t i = 0; i < length; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

bool PagingFilePath(const char* entry, char* out, size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!entry) return false;
    size_t end = strlen(entry);
    // Up to two size figures (initial and largest, in MB) follow the path, each after a space.
    for (int figures = 0; figures < 2; ++figures) {
        while (end > 0 && entry[end - 1] == ' ') --end;
        size_t start = end;
        while (start > 0 && entry[start - 1] != ' ') --start;
        if (start == 0 || !IsSizeFigure(entry + start, end - start)) break;
        end = start;
    }
    while (end > 0 && entry[end - 1] == ' ') --end;
    size_t begin = 0;
    while (begin < end && entry[begin] == ' ') ++begin;
    if (begin == end || end - begin >= size) return false;
    memcpy(out, entry + begin, end - begin);
    out[end - begin] = '\0';
    return true;
}

// The size of the first match of path, 64 bits; false when nothing matches.
static bool FoundFileBytes(const char* path, uint64_t* bytes)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    *bytes = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return true;
}

static bool TryFile(const char* path, SwapFile* swap)
{
    uint64_t bytes = 0;
    if (strlen(path) >= sizeof swap->path || !FoundFileBytes(path, &bytes)) return false;
    strcpy(swap->path, path);
    swap->bytes = bytes;
    swap->drive = path[0];
    return true;
}

// The first entry of the REG_MULTI_SZ "PagingFiles", or false.
static bool FirstPagingFile(char* entry, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    char value[1024];
    DWORD type = 0, length = sizeof value - 2;
    const LONG status = RegQueryValueExA(key, "PagingFiles", nullptr, &type, reinterpret_cast<BYTE*>(value), &length);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_MULTI_SZ && type != REG_SZ)) return false;
    value[length] = '\0';  // the first string ends at its own NUL, or here
    value[length + 1] = '\0';
    if (!value[0] || strlen(value) >= size) return false;
    strcpy(entry, value);
    return true;
}

SwapFile FindSwapFile()
{
    SwapFile swap = {};
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    swap.drive = (length > 0 && length < sizeof windows) ? windows[0] : 'C';
    char path[MAX_PATH];
    if (length > 0 && length + sizeof "\\WIN386.SWP" <= sizeof path) {
        strcpy(path, windows);
        strcat(path, "\\WIN386.SWP");
        if (TryFile(path, &swap)) return swap;
    }
    char entry[MAX_PATH];
    if (!FirstPagingFile(entry, sizeof entry) || !PagingFilePath(entry, path, sizeof path)) return swap;
    if (path[0] != '?') {
        TryFile(path, &swap);
        return swap;
    }
    // "?:" lets the system choose the drive: the first fixed drive that holds the file.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) != DRIVE_FIXED) continue;
        path[0] = letter;
        if (TryFile(path, &swap)) break;
    }
    SetErrorMode(oldMode);
    return swap;
}
