// Times a run of the whole Diagnose Windows Problems catalogue, all nineteen checks one after
// the other into one report list, against one bare walk of the same fixed drives (a plain
// FindFirstFileA/FindNextFileA recursion over every fixed drive, C: to Z:). The checks run
// as on Windows 95, so those that read its files and settings do their reading. Each round
// times the baseline and the catalogue back to back after an untimed warm-up pass; the
// ratio is of the median times.
#include <windows.h>

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

static void Recurse(const char* folder, long* entries)
{
    char search[MAX_PATH];
    const char* separator = folder[strlen(folder) - 1] == '\\' ? "" : "\\";
    snprintf(search, sizeof search, "%s%s*.*", folder, separator);
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA(search, &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        ++*entries;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
            found.cFileName[0] == '.')
            continue;
        char child[MAX_PATH];
        const int length = snprintf(child, sizeof child, "%s%s%s", folder, separator, found.cFileName);
        if (length > 0 && length + 4 < MAX_PATH) Recurse(child, entries);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

static long BareWalk()
{
    long entries = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_FIXED) Recurse(root, &entries);
    }
    return entries;
}

static long RunCatalogue(HWND list)
{
    long lines = 0;
    for (const ToolEntry& check : kWindowsChecks) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        lines += check.handler(list);
    }
    return lines;
}

static double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
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
    const double ratio = Median(catalogue) / std::max(Median(baseline), 0.001);
    printf("whole catalogue      median %8.1f ms   bare walk %8.1f ms   ratio %.2f (target at most %.2f: %s)\n",
           Median(catalogue), Median(baseline), ratio, kTargetRatio, CheckTarget("whole catalogue", ratio <= kTargetRatio));
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
