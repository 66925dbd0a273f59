#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "services/alloc.h"
#include "services/dates.h"
#include "services/files.h"
#include "services/paths.h"
#include "services/text_rules.h"

static bool FindFirstMatch(const char* path, WIN32_FIND_DATAA* found)
{
    HANDLE search = FindFirstFileA(path, found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

// ReadWholeFile with its boxes, or without them when quiet.
static char* ReadFileBlock(const char* path, DWORD* bytesRead, bool quiet)
{
    DWORD ignored;
    if (!bytesRead) bytesRead = &ignored;
    *bytesRead = 0;
    WIN32_FIND_DATAA found;
    if (!FindFirstMatch(path, &found) || found.nFileSizeLow == 0) return nullptr;

    const DWORD size = found.nFileSizeLow;
    // Where size + 5 does not fit in an address (32-bit builds), the allocation is asked
    // for the largest size, fails and ends the program with the "Out of Memory" box; it
    // never wraps to a block smaller than the read.
    const SIZE_T blockLength = uint64_t(size) + 5 > SIZE_T(-1) ? SIZE_T(-1) : SIZE_T(size) + 5;
    char* block = static_cast<char*>(AllocChecked(GPTR, blockLength));

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (!quiet)
            MessageBoxA(nullptr,
                        "Unable to open file due to error. If you are running from a floppy disk your disk may be "
                        "write protected. Or your hard disk may be full.",
                        "Error!", MB_OK);
        return block;
    }
    DWORD read = 0;
    if (!ReadFile(file, block, size, &read, nullptr)) read = 0;
    CloseHandle(file);
    if (read == 0 && !quiet)
        MessageBoxA(nullptr, "Disk Read Failed", "An attempt to read your hard disk failed!", MB_OK | MB_ICONHAND);
    *bytesRead = read;
    return block;
}

char* ReadWholeFile(const char* path, DWORD* bytesRead)
{
    return ReadFileBlock(path, bytesRead, false);
}

char* ReadWholeFileQuietly(const char* path, DWORD* bytesRead)
{
    return ReadFileBlock(path, bytesRead, true);
}

int FileExists(const char* path)
{
    WIN32_FIND_DATAA found;
    return FindFirstMatch(path, &found) ? 1 : 0;
}

DWORD FileSizeOf(const char* path)
{
    WIN32_FIND_DATAA found;
    return FindFirstMatch(path, &found) ? found.nFileSizeLow : 0;
}

// 1 when folder + "\" + name exists; 0 also when the path does not fit.
static int ExistsIn(const char* folder, const char* name)
{
    char path[MAX_PATH];
    return JoinPath(folder, name, path, sizeof path) ? FileExists(path) : 0;
}

// The folders a place covers: one, or the roots "C:" to "Z:"; none for an unknown place or
// a folder the system cannot name.
static std::vector<std::string> PlaceFolders(int where)
{
    std::vector<std::string> folders;
    char folder[MAX_PATH];
    const UINT capacity = sizeof folder;
    switch (where) {
    case kInSystemDirectory:
    case kInIosubsys: {
        const UINT length = GetSystemDirectoryA(folder, capacity);
        if (length == 0 || length >= capacity) break;
        if (where == kInSystemDirectory) {
            folders.push_back(folder);
            break;
        }
        char iosubsys[MAX_PATH];
        if (JoinPath(folder, "IOSUBSYS", iosubsys, sizeof iosubsys)) folders.push_back(iosubsys);
        break;
    }
    case kInWindowsDirectory: {
        const UINT length = GetWindowsDirectoryA(folder, capacity);
        if (length > 0 && length < capacity) folders.push_back(folder);
        break;
    }
    case kInEveryDriveRoot:
        for (char letter = 'C'; letter <= 'Z'; ++letter) folders.push_back(std::string(1, letter) + ":");
        break;
    }
    return folders;
}

int SystemFileExists(const char* name, int where)
{
    int found = 0;
    for (const std::string& folder : PlaceFolders(where)) found += ExistsIn(folder.c_str(), name);
    return found;
}

static std::string Uppercased(const char* text)
{
    std::string upper(text);
    if (!upper.empty()) CharUpperBuffA(&upper[0], DWORD(upper.size()));
    return upper;
}

const std::vector<std::string>& SystemFileLookup::NamesIn(const std::string& folder)
{
    const auto known = listed_.find(folder);
    if (known != listed_.end()) return known->second;
    std::vector<std::string>& names = listed_[folder];
    char pattern[MAX_PATH];
    if (!JoinPath(folder.c_str(), "*", pattern, sizeof pattern)) return names;
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(pattern, &found);
    if (listing == INVALID_HANDLE_VALUE) return names;
    do {
        names.push_back(Uppercased(found.cFileName));
        if (found.cAlternateFileName[0]) names.push_back(Uppercased(found.cAlternateFileName));
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
    std::sort(names.begin(), names.end());
    return names;
}

int SystemFileLookup::Count(const char* name, int where)
{
    if (strpbrk(name, "*?\\/:")) return SystemFileExists(name, where);
    const std::string upper = Uppercased(name);
    int found = 0;
    for (const std::string& folder : PlaceFolders(where)) {
        char path[MAX_PATH];
        if (!JoinPath(folder.c_str(), name, path, sizeof path)) continue;  // as SystemFileExists
        const std::vector<std::string>& names = NamesIn(folder);
        found += std::binary_search(names.begin(), names.end(), upper) ? 1 : 0;
    }
    return found;
}

// Runs test over the whole content of the file; 0 when the file is missing or empty.
static int TestFileContent(const char* path, const char* text, int (*test)(const char*, size_t, const char*))
{
    DWORD length = 0;
    char* content = ReadWholeFile(path, &length);
    if (!content) return 0;
    const int result = length > 0 ? test(content, length, text) : 0;
    GlobalFree(content);
    return result;
}

bool WindowsFolderFile(const char* name, char* path, size_t size)
{
    char folder[MAX_PATH];
    const UINT length = GetWindowsDirectoryA(folder, sizeof folder);
    if (length == 0 || length >= sizeof folder) return false;
    const int written = snprintf(path, size, "%s%s%s", folder, folder[length - 1] == '\\' ? "" : "\\", name);
    return written > 0 && size_t(written) < size;
}

int FileContainsText(const char* path, const char* text)
{
    return TestFileContent(path, text, BufferContainsText);
}

int ConfigHasActiveLine(const char* path, const char* text)
{
    return TestFileContent(path, text, BufferHasActiveLine);
}

char* FileDateText(FILETIME fileTime)
{
    static char text[16];
    SYSTEMTIME time;
    if (fileTime.dwLowDateTime == 0 || fileTime.dwHighDateTime == 0 || !FileTimeToSystemTime(&fileTime, &time)) {
        lstrcpynA(text, "00/00/00", sizeof text);
    } else {
        FormatFileDate(time.wMonth, time.wDay, time.wYear, text, sizeof text);
    }
    return text;
}
