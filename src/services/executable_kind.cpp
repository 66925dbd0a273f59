#include <windows.h>

#include "services/executable_header.h"
#include "services/executable_kind.h"

// Reads the headers of an open file and classifies them.
static int KindOfOpenFile(HANDLE file)
{
    unsigned char head[kExecutableHeadLength];
    DWORD headLength = 0;
    if (!ReadFile(file, head, sizeof head, &headLength, nullptr)) return kNotWindowsProgram;
    uint32_t offset = 0;
    if (!FindNewHeaderOffset(head, headLength, &offset)) return kNotWindowsProgram;
    if (SetFilePointer(file, LONG(offset), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return kNotWindowsProgram;
    unsigned char header[kNewHeaderLength];
    DWORD headerLength = 0;
    if (!ReadFile(file, header, sizeof header, &headerLength, nullptr)) return kNotWindowsProgram;
    return ClassifyNewHeader(header, headerLength);
}

FileTimesKept::FileTimesKept(const char* path) : path_(path)
{
    HANDLE probe = CreateFileA(path, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe == INVALID_HANDLE_VALUE) return;
    hasTimes_ = GetFileTime(probe, &created_, &accessed_, &written_) != 0;
    CloseHandle(probe);
}

FileTimesKept::~FileTimesKept()
{
    if (!hasTimes_) return;
    HANDLE stamp = CreateFileA(path_, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (stamp == INVALID_HANDLE_VALUE) return;
    SetFileTime(stamp, &created_, &accessed_, &written_);
    CloseHandle(stamp);
}

int ExecutableKind(const char* path)
{
    // Reading the headers moves the last-access time; it is put back afterwards.
    const FileTimesKept times(path);
    int kind = kNotWindowsProgram;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        kind = KindOfOpenFile(file);
        CloseHandle(file);
    }
    return kind;
}
