// The Win32 half of the tick: it reads the clock, the counters and the system into a
// TickInputs record; tick.cpp does the counting. Runs on the sampling thread only, which
// alone writes gTickState and (apart from the session-end counts) the two records.
#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "platform/perf_counters.h"
#include "platform/process_modules.h"
#include "platform/system_processes.h"
#include "platform/thread_priorities.h"
#include "sampling/census_cache.h"
#include "sampling/census_rules.h"
#include "sampling/fixed_drive_memo.h"
#include "sampling/input_counters.h"
#include "sampling/sample_tick.h"
#include "sampling/stats_file.h"
#include "sampling/tick.h"
#include "sampling/tick_feeds.h"
#include "services/drives.h"
#include "services/input_idle.h"
#include "services/process_rules.h"
#include "services/toolhelp.h"
#include "services/view_registry.h"
#include "services/window_names.h"

namespace {

TickState gTickState;

void ReadCounters(TickInputs* in)
{
    PerfCounterValues values;
    ReadPerfCounters(&values);
    in->hasCpu = values.hasCpu;
    in->cpuUsage = values.cpuUsage;
    in->hasTraffic = values.hasTraffic;
    in->pageIns = values.pageIns;
    in->pageOuts = values.pageOuts;
    in->bytesRead = values.bytesRead;
    in->bytesWritten = values.bytesWritten;
    in->reads = values.reads;
    in->writes = values.writes;
}

void ReadMemory(TickInputs* in)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return;
    in->totalPhysical = status.ullTotalPhys;
    in->totalPageFile = status.ullTotalPageFile;
    in->availablePageFile = status.ullAvailPageFile;
    in->totalVirtual = status.ullTotalVirtual;
    in->availableVirtual = status.ullAvailVirtual;
    in->memoryLoad = status.dwMemoryLoad;
}

// Free and total bytes of the first fixed drives from C: on, as many as detection found.
void ReadDiskSpace(TickInputs* in)
{
    static FixedDriveMemo fixedDrives([](char letter) { return IsFixedDrive(letter); });
    const uint32_t wanted = gEquipmentInfo ? gEquipmentInfo->hardDisks : 0;
    uint32_t found = 0;
    for (char letter = 'C'; letter < 'C' + 24 && found < wanted; ++letter) {
        if (!fixedDrives.IsFixed(letter)) continue;
        ++found;
        const DriveSpace space = DriveSpaceOf(letter);
        in->freeDiskBytes += space.freeBytes;
        in->totalDiskBytes += space.totalBytes;
    }
    fixedDrives.EndTick();
}

void ReadForeground(TickInputs* in)
{
    HWND foreground = GetForegroundWindow();
    in->foreground = reinterpret_cast<uintptr_t>(foreground);
    if (foreground) {
        RECT r = {};
        GetWindowRect(foreground, &r);
        in->foregroundRect[0] = r.left;
        in->foregroundRect[1] = r.top;
        in->foregroundRect[2] = r.right;
        in->foregroundRect[3] = r.bottom;
    }
    in->foregroundProgram = reinterpret_cast<uintptr_t>(TopLevelOwner(foreground));
    in->screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in->screenHeight = GetSystemMetrics(SM_CYSCREEN);
    in->videoClass = gEquipmentInfo ? gEquipmentInfo->videoClass : 0;
}

struct WindowCensus {
    uint32_t count;
    std::vector<DWORD> programs;  // processes owning a visible window with a caption or frame
};

BOOL CALLBACK CountWindow(HWND window, LPARAM param)
{
    WindowCensus* census = reinterpret_cast<WindowCensus*>(param);
    ++census->count;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if ((style & WS_VISIBLE) && (style & (WS_BORDER | WS_DLGFRAME))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        census->programs.push_back(owner);
    }
    return TRUE;
}

void ReadDate(TickInputs* in)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    in->day = now.wDay;
    in->month = now.wMonth;
    in->year = now.wYear;
}

// What the modules of one process tell the census: how many it has, and what kind of
// program its main module makes it.
ProcessFacts FactsOf(const PROCESSENTRY32& process, uint32_t modules, const char* mainModule)
{
    ProcessFacts facts;
    facts.modules = modules;
    facts.kind = ProgramKindFromNames(FileTitleOf(process.szExeFile), mainModule);
    return facts;
}

// The facts from a module snapshot of the process.
ProcessFacts ReadProcessFacts(const PROCESSENTRY32& process)
{
    uint32_t modules = 0;
    char mainModule[MAX_MODULE_NAME32 + 1] = "";
    bool first = true;
    ForEachModule(process.th32ProcessID, [&](const MODULEENTRY32& module) {
        ++modules;
        // The executable's own module: the one with the process's module id,
        // else the first one listed.
        if (first || module.th32ModuleID == process.th32ModuleID)
            lstrcpynA(mainModule, module.szModule, sizeof mainModule);
        first = false;
        return true;
    });
    return FactsOf(process, modules, mainModule);
}

// The same facts through the process-status calls, which cost a third of a snapshot. Every
// system lists the executable first and gives process entries no module id of a module,
// so the main module is the first one listed here as in the snapshot.
ProcessFacts ReadProcessFactsQuickly(const PROCESSENTRY32& process)
{
    ProcessModules modules;
    if (!ReadProcessModules(process.th32ProcessID, &modules)) return ReadProcessFacts(process);
    char mainModule[MAX_MODULE_NAME32 + 1] = "";
    lstrcpynA(mainModule, modules.firstName, sizeof mainModule);
    return FactsOf(process, modules.count, mainModule);
}

// When the process began, as the cache keys it; 0 for a process this program may not open.
uint64_t CreationTimeOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return 0;
    FILETIME created = {}, exited, kernel, user;
    const bool isRead = GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    return isRead ? (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime : 0;
}

}  // namespace

void ReadCensus(TickInputs* in, CensusCache* cache, uint32_t nowMs)
{
    static WindowCensus windows;
    windows.count = 0;
    windows.programs.clear();
    EnumWindows(CountWindow, LPARAM(&windows));
    std::sort(windows.programs.begin(), windows.programs.end());
    in->windows = windows.count;

    // Kept between calls for their storage.
    static ThreadPriorities priorities;
    static std::vector<PROCESSENTRY32> processes;
    static std::vector<CensusProcess> seen;
    static SystemProcessList system;
    priorities.Clear();
    processes.clear();
    // The tick's way: processes, threads and creation times from one system query where
    // there is one; the full census keeps to the snapshots, which tests hold it against.
    const bool hasSystemList = cache && system.Read();
    if (hasSystemList) {
        for (const SystemProcess& process : system.Processes()) {
            processes.push_back(process.entry);
            priorities.Note(process.entry);
        }
    } else {
        ForEachProcess([&](const PROCESSENTRY32& process) {
            processes.push_back(process);
            priorities.Note(process);
            return true;
        });
    }
    if (cache) {
        seen.resize(processes.size());
        for (size_t i = 0; i < processes.size(); ++i) {
            const PROCESSENTRY32& process = processes[i];
            seen[i].id = process.th32ProcessID;
            seen[i].createdTime =
                hasSystemList ? system.Processes()[i].createdTime : CreationTimeOf(process.th32ProcessID);
            seen[i].parentId = process.th32ParentProcessID;
            seen[i].exeName = process.szExeFile;
            seen[i].threadCount = process.cntThreads;
        }
        for (size_t i : cache->Plan(seen, nowMs)) cache->Store(i, ReadProcessFactsQuickly(processes[i]));
    }
    for (size_t i = 0; i < processes.size(); ++i) {
        const ProcessFacts facts = cache ? cache->FactsOf(i) : ReadProcessFacts(processes[i]);
        ++in->processes;
        in->modules += facts.modules;
        if (!std::binary_search(windows.programs.begin(), windows.programs.end(), processes[i].th32ProcessID))
            continue;
        switch (facts.kind) {
        case kProgramDos: ++in->appsDos; break;
        case kProgram32Bit: ++in->apps32; break;
        case kProgram16Bit: ++in->apps16; break;
        }
    }

    auto countThread = [&](const THREADENTRY32& thread) {
        ++in->threads;
        ++in->threadPriorities[CensusPriority(priorities.BaseOf(thread), thread.tpDeltaPri)];
        return true;
    };
    if (hasSystemList) {
        for (const THREADENTRY32& thread : system.Threads()) countThread(thread);
    } else {
        ForEachThread(countThread);
    }
}

void SampleTick()
{
    if (!gSystemStats || !gLiveSample) return;
    if (!BeginTick(gTickState, timeGetTime(), *gSystemStats, *gLiveSample)) {
        EndTick(gTickState, timeGetTime());
        return;
    }
    // Taking the counts and clearing them in one step loses no event that arrives meanwhile.
    TickInputs in;
    in.pointerActions = PointerActions.exchange(0);
    in.navigationActions = NavigationActions.exchange(0);
    in.keystrokes = Keystrokes.exchange(0);
    in.helpKeyPresses = HelpKeyPresses.exchange(0);
    in.rightClicks = RightClicks.exchange(0);
    in.functionKeyPresses = FunctionKeyPresses.exchange(0);
    in.commNotifications = CommNotifyCount.exchange(0);
    InputEventCount = in.pointerActions + in.keystrokes;
    if (!InputIdle()) {
        in.freeUser = FreeUserPercent;
        in.freeGdi = FreeGdiPercent;
        ReadCounters(&in);
        ReadMemory(&in);
        ReadDiskSpace(&in);
        ReadForeground(&in);
        ReadDate(&in);
        static CensusCache census;
        ReadCensus(&in, &census, timeGetTime());
        if (ApplySampledTick(gTickState, in, *gSystemStats, *gLiveSample)) SaveSystemStats();
        PostToViews(NewDataReadyMessage, 0, 0);
    }
    EndTick(gTickState, timeGetTime());
}
