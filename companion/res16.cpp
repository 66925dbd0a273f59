// The companion: reports how much of the system's user-interface object space is free.
//
// Every two seconds it sends the registered "PANDKIT" message to the "PANDREL" window
// with the free USER percent in the low word and the free GDI percent in the high word
// of lParam. The percentages are the share of the per-session handle space (65,536
// handles for each kind) not used by the objects of all processes the companion may ask
// (GetGuiResources). It ends when it receives "PANDKIT" with wParam 0xFFFFFFFF or when
// the "PANDREL" window is gone.
#include <windows.h>
#include <tlhelp32.h>

#include "resource_levels.h"

namespace {

const UINT_PTR kReportTimer = 1;
const UINT kReportPeriodMs = 2000;
const uint64_t kHandleSpace = 65536;
UINT gPandkit;

// Whether the system counts user-interface objects per process. A process with a window
// holds at least one USER object, so a count of 0 for this one means the system answers 0
// for every process (Wine does): the walk over every process would only add up zeros.
bool SystemCountsGuiObjects()
{
    return GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS) != 0;
}

bool gCountsGuiObjects;

void SumGuiObjects(uint64_t* user, uint64_t* gdi)
{
    *user = *gdi = 0;
    if (!gCountsGuiObjects) return;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
        if (!process) continue;
        *user += GetGuiResources(process, GR_USEROBJECTS);
        *gdi += GetGuiResources(process, GR_GDIOBJECTS);
        CloseHandle(process);
    }
    CloseHandle(snapshot);
}

void Report()
{
    HWND target = FindWindowA("PANDREL", nullptr);
    if (!target) {
        PostQuitMessage(0);
        return;
    }
    uint64_t user, gdi;
    SumGuiObjects(&user, &gdi);
    const LPARAM levels = MAKELPARAM(FreePercent(user, kHandleSpace), FreePercent(gdi, kHandleSpace));
    PostMessageA(target, gPandkit, 0, levels);
}

LRESULT CALLBACK CompanionProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == gPandkit && gPandkit != 0) {
        if ((wParam & 0xFFFFFFFFu) == 0xFFFFFFFFu) PostQuitMessage(0);
        return 0;
    }
    if (message == WM_TIMER && wParam == kReportTimer) {
        Report();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    gPandkit = RegisterWindowMessageA("PANDKIT");
    WNDCLASSA wc = {};
    wc.lpfnWndProc = CompanionProc;
    wc.hInstance = instance;
    wc.lpszClassName = "HalvornCompanion";
    if (!RegisterClassA(&wc)) return 1;
    // A hidden top-level window: it receives the broadcast that ends the companion.
    HWND window = CreateWindowA("HalvornCompanion", "res16", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr, instance,
                                nullptr);
    if (!window) return 1;
    gCountsGuiObjects = SystemCountsGuiObjects();
    SetTimer(window, kReportTimer, kReportPeriodMs, nullptr);
    Report();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}
