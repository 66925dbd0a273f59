// The floor of the whole-cost run (perf/whole_cost.sh): a bare program that once a second
// counts the processes and threads with one system query (NtQuerySystemInformation's process
// list, the cheapest way there is to count both: a toolhelp snapshot is built from the same
// query and costs more) and counts the top-level windows, and does nothing else.
// Usage: floor_probe.exe SECONDS; it ends by itself after that many seconds.
#include <windows.h>

#include <cstdlib>
#include <vector>

typedef LONG(WINAPI* QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);

static QuerySystemInformation gQuery;
static std::vector<unsigned char> gBuffer(256 * 1024);
static volatile unsigned long gCounted;  // kept, so no count is optimised away

// The processes and their threads, counted from one query.
static void CountProcessesAndThreads()
{
    for (;;) {
        ULONG needed = 0;
        const LONG status = gQuery(5, gBuffer.data(), ULONG(gBuffer.size()), &needed);
        if (status == LONG(0xC0000004)) {
            gBuffer.resize(needed > gBuffer.size() ? needed + needed / 4 : gBuffer.size() * 2);
            continue;
        }
        if (status != 0) return;
        break;
    }
    unsigned long processes = 0, threads = 0;
    for (size_t offset = 0;;) {
        const ULONG* record = reinterpret_cast<const ULONG*>(gBuffer.data() + offset);
        ++processes;
        threads += record[1];  // NumberOfThreads follows NextEntryOffset
        if (record[0] == 0) break;
        offset += record[0];
    }
    gCounted = processes + threads;
}

static BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<unsigned long*>(count);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    const long seconds = atol(arguments);
    if (seconds <= 0) return 2;
    gQuery = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!gQuery) return 1;
    SetTimer(nullptr, 0, 1000, nullptr);
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != WM_TIMER) continue;
        CountProcessesAndThreads();
        unsigned long windows = 0;
        EnumWindows(CountWindow, LPARAM(&windows));
        gCounted = gCounted + windows;
        if (GetTickCount() - start >= DWORD(seconds) * 1000) break;
    }
    return 0;
}
