// Times a run of the whole Diagnose Windows Problems catalogue, all nineteen checks one after
// the other into one report list, against one bare walk of the same fixed drives (a plain
// FindFirstFileA/FindNextFileA recursion over every fixed drive, C: to Z:). The checks run
// as on Windows 95, so those that read its files and settings do their reading. Each round
// times the baseline and the catalogue back to back after an untimed warm-up pass; the
// ratio is of the median times.
#include <windows.h>

#include "bare_walk.h"
#include "bench_clock.h"
#include "bench_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "app/app_globals.h"
#include "checks/windows_checks.h"
#include "equipment/equipment_info.h"

static const int kRounds = 5;
static const double kTargetRatio = 2.0;

// One run of every check, as in a newly opened dialog: the two whole-disk checks start
// without what an earlier run found.
static long RunCatalogue(HWND list)
{
    ForgetDiskNameSearches();
    long lines = 0;
    for (const ToolEntry& check : kWindowsChecks) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        lines += check.handler(list);
    }
    return lines;
}

int main()
{
    static EquipmentInfo info = {};
    info.platform = '9';
    gEquipmentInfo = &info;
    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    const long entries = BareWalk();
    const long lines = RunCatalogue(list);
    printf("windows_checks_bench: %d checks give %ld report lines; the bare walk visits %ld entries\n",
           kWindowsCheckCount, lines, entries);

    std::vector<double> catalogue, baseline;
    for (int round = 0; round < kRounds; ++round) {
        double start = WallMs();
        BareWalk();
        baseline.push_back(WallMs() - start);
        start = WallMs();
        RunCatalogue(list);
        catalogue.push_back(WallMs() - start);
    }
    const double ratio = MedianOf(catalogue) / std::max(MedianOf(baseline), 0.001);
    printf("whole catalogue      median %8.1f ms   bare walk %8.1f ms   ratio %.2f (target at most %.2f: %s)\n",
           MedianOf(catalogue), MedianOf(baseline), ratio, kTargetRatio, CheckTarget("whole catalogue", ratio <= kTargetRatio));
    printf("%-20s rounds:", "");
    for (size_t i = 0; i < catalogue.size(); ++i) printf(" %.0f/%.0f", catalogue[i], baseline[i]);
    printf(" ms (catalogue/bare walk)\n");
    // Where the time goes: one more pass, check by check.
    printf("%-20s per check:", "");
    for (const ToolEntry& check : kWindowsChecks) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        const double start = WallMs();
        check.handler(list);
        printf(" %s %.0f;", check.name, WallMs() - start);
    }
    printf(" ms\n");
    DestroyWindow(list);
    return FinishBenchmark("windows_checks_bench");
}
