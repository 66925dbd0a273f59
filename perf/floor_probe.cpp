// The floor of the whole-cost run (perf/whole_cost.sh): a bare program that once a second
// counts the processes and threads with one system query (NtQuerySystemInformation's process
// list, the cheapest way there is to count both: a toolhelp snapshot is built from the same
// query and costs more) and counts the top-level windows, and does nothing else.
// Usage: floor_probe.exe SECONDS [modules]; it ends by itself after that many seconds.
// With "modules" it also reads, each second, the modules of as many processes as the
// census's round robin does (every process once in 9 seconds, the least recently read
// first), through the same calls: what the module reads the census must make cost alone.
#include <windows.h>
#include <winternl.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/process_modules.h"

typedef LONG(WINAPI* QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);

static QuerySystemInformation gQuery;
static std::vector<unsigned char> gBuffer(256 * 1024);
static volatile unsigned long gCounted;  // kept, so no count is optimised away
static unsigned long gModulesRead;      // every module counted, to tell the reads worked
static std::vector<DWORD> gProcessIds;  // with "modules": the last query's other processes

// The processes and their threads, counted from one query; with ids, their ids besides.
static void CountProcessesAndThreads(std::vector<DWORD>* ids)
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
    if (ids) ids->clear();
    for (size_t offset = 0;;) {
        const auto* record = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(gBuffer.data() + offset);
        ++processes;
        threads += record->NumberOfThreads;
        const DWORD id = DWORD(reinterpret_cast<ULONG_PTR>(record->UniqueProcessId));
        if (ids && id != 0 && id != GetCurrentProcessId()) ids->push_back(id);
        if (record->NextEntryOffset == 0) break;
        offset += record->NextEntryOffset;
    }
    gCounted = processes + threads;
}

// Reads the modules of the next ceil(count / 9) processes in turn.
static void ReadModulesInTurn()
{
    static size_t turn = 0;
    const std::vector<DWORD>& ids = gProcessIds;
    if (ids.empty()) return;
    const size_t reads = (ids.size() + 8) / 9;
    for (size_t i = 0; i < reads; ++i) {
        ProcessModules modules;
        ReadProcessModules(ids[turn++ % ids.size()], &modules);
        gModulesRead += modules.count;
    }
}

static BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<unsigned long*>(count);
    return TRUE;
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR arguments, int)
{
    const long seconds = atol(arguments);
    const bool readsModules = strstr(arguments, "modules") != nullptr;
    if (seconds <= 0) return 2;
    gQuery = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!gQuery) return 1;
    SetTimer(nullptr, 0, 1000, nullptr);
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message != WM_TIMER) continue;
        CountProcessesAndThreads(readsModules ? &gProcessIds : nullptr);
        if (readsModules) ReadModulesInTurn();
        unsigned long windows = 0;
        EnumWindows(CountWindow, LPARAM(&windows));
        gCounted = gCounted + windows;
        if (GetTickCount() - start >= DWORD(seconds) * 1000) break;
    }
    return readsModules && gModulesRead == 0 ? 3 : 0;  // 3: no module list could be read
}
