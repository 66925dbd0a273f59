// Times one whole sampling tick against the full census (one process snapshot with a
// module snapshot per process, one thread snapshot, one window enumeration), in
// the same run, first with the processes the system has and then with 200 extra idle
// processes. Reports processor time of this thread per tick (what the tick costs the
// program) and wall time (which also covers the Wine server's share), as medians of
// rounds of many ticks, and the tick's share of one core at one tick a second, which has a
// target of its own: at most 1 % with the system's processes and 5 % with 200 more. With
// the 200 it also prints what each source of the census costs on its own, per tick.
#include <windows.h>

#include "bench_clock.h"
#include "bench_records.h"
#include "idle_copies.h"
#include "bench_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "equipment/equipment_info.h"
#include "platform/process_modules.h"
#include "platform/system_processes.h"
#include "sampling/input_counters.h"
#include "sampling/sample_tick.h"
#include "sampling/system_stats.h"
#include "services/toolhelp.h"

static const int kExtraProcesses = 200;

struct Cost {
    double cpuMs;   // this thread's kernel + user time
    double wallMs;
};

static BOOL CALLBACK CountWindow(HWND, LPARAM count)
{
    ++*reinterpret_cast<long*>(count);
    return TRUE;
}

// The bare census: what any per-second count of processes, modules, threads and windows
// has to ask the system for.
static void BareCensus()
{
    HANDLE processes = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    long modules = 0;
    for (BOOL more = th::Process32First(processes, &process); more; more = th::Process32Next(processes, &process)) {
        HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, process.th32ProcessID);
        if (snapshot == INVALID_HANDLE_VALUE) continue;
        MODULEENTRY32 module = {};
        module.dwSize = sizeof module;
        for (BOOL m = th::Module32First(snapshot, &module); m; m = th::Module32Next(snapshot, &module)) ++modules;
        CloseHandle(snapshot);
    }
    CloseHandle(processes);
    HANDLE threads = th::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 thread = {};
    thread.dwSize = sizeof thread;
    long count = 0;
    for (BOOL more = th::Thread32First(threads, &thread); more; more = th::Thread32Next(threads, &thread)) ++count;
    CloseHandle(threads);
    EnumWindows(CountWindow, LPARAM(&count));
}

static Cost TimeRound(void (*work)(), int ticks)
{
    const double cpu = ThreadCpuMs(), wall = WallMs();
    for (int i = 0; i < ticks; ++i) work();
    return Cost{(ThreadCpuMs() - cpu) / ticks, (WallMs() - wall) / ticks};
}

static double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Rounds of ticks and censuses back to back; the medians are compared, and the tick's share
// of one core is held to maxPercent.
static void Compare(const char* label, int rounds, int ticks, double maxPercent)
{
    std::vector<double> tickCpu, censusCpu, tickWall, censusWall;
    for (int round = 0; round < rounds; ++round) {
        Cost census = TimeRound(BareCensus, ticks);
        // The tick keeps what it learnt about each process and re-reads a process it last
        // read seconds ago; after the seconds the census round took, which ticks one second
        // apart never leave between them, an untimed tick catches up first.
        ActiveTick();
        Cost tick = TimeRound(ActiveTick, ticks);
        censusCpu.push_back(census.cpuMs);
        censusWall.push_back(census.wallMs);
        tickCpu.push_back(tick.cpuMs);
        tickWall.push_back(tick.wallMs);
    }
    const double tc = Median(tickCpu), cc = Median(censusCpu), tw = Median(tickWall), cw = Median(censusWall);
    printf("%-26s processes %3u  tick cpu %6.2f ms, census cpu %6.2f ms, ratio %.2f (target at most 1.30: %s)\n", label,
           gLiveSample->processes, tc, cc, cc > 0 ? tc / cc : 0.0, CheckTarget(label, cc > 0 && tc / cc <= 1.3));
    printf("%-26s                tick wall %6.2f ms, census wall %6.2f ms, ratio %.2f\n", "", tw, cw,
           cw > 0 ? tw / cw : 0.0);
    const std::string shareLabel = std::string(label) + ": share of one core";
    printf("%-26s                one core at one tick a second: %.2f %% (target at most %.0f %%: %s)\n", "", tc / 10.0,
           maxPercent, CheckTarget(shareLabel.c_str(), tc / 10.0 <= maxPercent));
}

// The sources of the census one at a time, each as often as one tick asks it (the module
// reads: the share of processes a tick re-reads), in processor time of this thread per tick.
static std::vector<DWORD> gProcessIds;
static size_t ModuleReadsPerTick() { return (gProcessIds.size() + CensusCache::kRevisitTicks - 1) / CensusCache::kRevisitTicks; }
static volatile long gSink;

static void ProcessSnapshot() { ForEachProcess([](const PROCESSENTRY32&) { return ++gSink, true; }); }
static void ThreadSnapshot() { ForEachThread([](const THREADENTRY32&) { return ++gSink, true; }); }
static void SystemQuery()
{
    static SystemProcessList list;
    list.Read();
}
static void OpenEveryProcess()
{
    for (DWORD id : gProcessIds) {
        HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
        if (!process) continue;
        FILETIME created, exited, kernel, user;
        GetProcessTimes(process, &created, &exited, &kernel, &user);
        CloseHandle(process);
    }
}
static void ModuleSnapshots()
{
    for (size_t i = 0; i < ModuleReadsPerTick() && i < gProcessIds.size(); ++i)
        ForEachModule(gProcessIds[i], [](const MODULEENTRY32&) { return ++gSink, true; });
}
static void ModuleCalls()
{
    ProcessModules modules;
    for (size_t i = 0; i < ModuleReadsPerTick() && i < gProcessIds.size(); ++i)
        ReadProcessModules(gProcessIds[i], &modules);
}
static void WindowEnumeration()
{
    long count = 0;
    EnumWindows(CountWindow, LPARAM(&count));
}

static void PrintSources(int rounds, int ticks)
{
    gProcessIds.clear();
    ForEachProcess([](const PROCESSENTRY32& p) { return gProcessIds.push_back(p.th32ProcessID), true; });
    struct Source {
        const char* name;
        void (*work)();
    };
    const Source sources[] = {
        {"process snapshot", ProcessSnapshot},
        {"thread snapshot", ThreadSnapshot},
        {"one system query (the tick's)", SystemQuery},
        {"open + times of every process", OpenEveryProcess},
        {"module snapshots", ModuleSnapshots},
        {"module calls (the tick's)", ModuleCalls},
        {"window enumeration", WindowEnumeration},
    };
    printf("the census's sources with %zu processes, cpu per tick (module reads: %zu a tick):\n", gProcessIds.size(),
           ModuleReadsPerTick());
    for (const Source& source : sources) {
        std::vector<double> cpu;
        for (int round = 0; round < rounds; ++round) cpu.push_back(TimeRound(source.work, ticks).cpuMs);
        printf("  %-31s %7.2f ms\n", source.name, Median(cpu));
    }
}

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (RunAsIdleCopy(argc, argv)) return 0;
    LoadToolhelp();
    UseBenchRecords();
    for (int i = 0; i < 5; ++i) ActiveTick();  // first tick, first readings and the early save
    Compare("normal processes", 5, 40, 1.0);

    {
        IdleCopies idle(kExtraProcesses);
        Sleep(2000);
        ActiveTick();
        Compare("with 200 idle processes", 3, 5, 5.0);
        PrintSources(3, 5);
    }
    return FinishBenchmark("tick_bench");
}
