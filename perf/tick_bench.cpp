// Times one whole sampling tick against the full census (one process snapshot with a
// module snapshot per process, one thread snapshot, one window enumeration), in
// the same run, first with the processes the system has and then with 200 extra idle
// processes. Reports processor time of this thread per tick (what the tick costs the
// program) and wall time (which also covers the Wine server's share), as medians of
// rounds of many ticks, and the tick's share of one core at one tick a second.
#include <windows.h>

#include "bench_clock.h"
#include "bench_records.h"
#include "bench_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "equipment/equipment_info.h"
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

// Rounds of ticks and censuses back to back; the medians are compared.
static void Compare(const char* label, int rounds, int ticks)
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
    printf("%-26s                tick wall %6.2f ms, census wall %6.2f ms, ratio %.2f; one core at one tick a second: %.2f %%\n",
           "", tw, cw, cw > 0 ? tw / cw : 0.0, tc / 10.0);
}

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc > 1 && strcmp(argv[1], "--idle") == 0) {
        Sleep(INFINITE);
        return 0;
    }
    LoadToolhelp();
    UseBenchRecords();
    for (int i = 0; i < 5; ++i) ActiveTick();  // first tick, first readings and the early save
    Compare("normal processes", 5, 40);

    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::vector<PROCESS_INFORMATION> idle;
    for (int i = 0; i < kExtraProcesses; ++i) {
        std::string line = std::string("\"") + self + "\" --idle";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            idle.push_back(process);
    }
    Sleep(2000);
    ActiveTick();
    Compare("with 200 idle processes", 3, 5);
    for (PROCESS_INFORMATION& process : idle) {
        TerminateProcess(process.hProcess, 0);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    return FinishBenchmark("tick_bench");
}
