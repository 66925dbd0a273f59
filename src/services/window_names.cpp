#include <windows.h>

#include <commdlg.h>

#include <cstring>

#include "services/process_rules.h"
#include "services/processes.h"
#include "services/window_names.h"

// Window titles are read with at most 255 characters.
constexpr int kTitleSize = 256;

HWND TopLevelOwner(HWND window)
{
    if (!window) return nullptr;
    // GetParent gives the parent of a child and the owner of a popup.
    for (HWND up = GetParent(window); up; up = GetParent(up)) window = up;
    // An owned window that is not a popup reports no parent: follow its owner instead.
    for (HWND owner = reinterpret_cast<HWND>(GetWindowLongPtrA(window, GWLP_HWNDPARENT)); owner;
         owner = reinterpret_cast<HWND>(GetWindowLongPtrA(owner, GWLP_HWNDPARENT)))
        window = owner;
    return window;
}

void AppNameFromTitle(HWND window, char* destination, int size)
{
    if (size <= 0) return;
    char title[kTitleSize] = "";
    if (window) GetWindowTextA(window, title, sizeof title);
    AppNameFromTitleText(title, destination, size_t(size));
}

static bool HasTitle(HWND window)
{
    char title[2] = "";
    return GetWindowTextA(window, title, sizeof title) > 0;
}

// The hidden input-method windows that today's systems give every thread with a window:
// their titles ("Default IME", "MSCTFIME UI") name the input method, not the program.
static bool IsInputMethodWindow(HWND window)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    return lstrcmpiA(className, "IME") == 0 || lstrcmpiA(className, "MSCTFIME UI") == 0;
}

static BOOL CALLBACK NameFromWindow(HWND window, LPARAM parameter)
{
    ProgramNameQuery* query = reinterpret_cast<ProgramNameQuery*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != query->processId || IsInputMethodWindow(window)) return TRUE;
    HWND candidate = window;
    for (HWND up = window; up; up = GetParent(up))
        if (HasTitle(up)) candidate = up;
    AppNameFromTitle(candidate, query->programName, sizeof query->programName);
    if (!query->programName[0]) return TRUE;
    query->window = candidate;
    return FALSE;
}

// The executable's file title of a process, cut at its first ".".
static void NameFromExecutable(DWORD processId, char* destination, int size)
{
    PROCESSENTRY32 entry;
    if (!FindProcessEntry(processId, &entry)) return;
    char title[MAX_PATH] = "";
    if (GetFileTitleA(entry.szExeFile, title, sizeof title) != 0) return;
    char* dot = strchr(title, '.');
    if (dot) *dot = '\0';
    lstrcpynA(destination, title, size);
}

void ProgramNameOf(DWORD processId, ProgramNameQuery* query)
{
    memset(query, 0, sizeof *query);
    query->processId = processId;
    EnumWindows(NameFromWindow, reinterpret_cast<LPARAM>(query));
    if (!query->programName[0])
        lstrcpynA(query->programName, SpecialProcessName(processId, 0), sizeof query->programName);
    if (!query->programName[0]) NameFromExecutable(processId, query->programName, sizeof query->programName);
}
