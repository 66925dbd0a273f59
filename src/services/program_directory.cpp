#include <windows.h>

#include "services/paths.h"
#include "services/program_directory.h"

void ProgramDirectory(HMODULE module, char* buffer, DWORD size)
{
    if (size == 0) return;
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        buffer[0] = '\0';
        return;
    }
    DirectoryOfPath(path, buffer, size);
}
