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

int ExecutableKind(const char* path)
{
    // Reading the headers moves the last-access time; the times taken first are set back
    // afterwards. The handle that sets them asks only for attribute access, which a running
    // program's file grants while it refuses write access.
    FILETIME created, accessed, written;
    bool hasTimes = false;
    HANDLE probe = CreateFileA(path, 0, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        hasTimes = GetFileTime(probe, &created, &accessed, &written) != 0;
        CloseHandle(probe);
    }

    int kind = kNotWindowsProgram;
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        kind = KindOfOpenFile(file);
        CloseHandle(file);
    }

    if (hasTimes) {
        HANDLE stamp = CreateFileA(path, FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        if (stamp != INVALID_HANDLE_VALUE) {
            SetFileTime(stamp, &created, &accessed, &written);
            CloseHandle(stamp);
        }
    }
    return kind;
}
