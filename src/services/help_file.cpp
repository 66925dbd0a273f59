#include <windows.h>

#include "services/help_file.h"
#include "services/paths.h"
#include "services/program_directory.h"

BOOL ShowHelpFile(HWND window, UINT command, ULONG_PTR data)
{
    char folder[MAX_PATH];
    char path[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    const bool named = folder[0] && JoinPath(folder, "pd32.hlp", path, sizeof path);
    if (!named || GetFileAttributesA(path) == INVALID_FILE_ATTRIBUTES) {
        MessageBoxA(window, "The help file pd32.hlp is not in the program's folder.", "Help",
                    MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    return WinHelpA(window, path, command, data);
}
