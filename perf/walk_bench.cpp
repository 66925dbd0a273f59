// Times the walks over the fixed drives against a plain FindFirstFileA/FindNextFileA
// recursion doing the same work, in the same run, over the same drives (and the coach's
// Disk Efficiency measure, the only slow step of opening the coach, against the bare
// listing): every fixed drive
// C: to Z:, which under the harness holds the prefix's C:, the fixture drives and the
// 50,000-file tree that perf/walk_bench.sh makes in G:\BENCH. Each round times baseline and
// walk back to back after an untimed warm-up pass; the ratios are of the median times.
#include <windows.h>

#include "bench_clock.h"
#include "bench_targets.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "analysis/coach.h"
#include "services/walks.h"

static const char kPattern[] = "*.DAT";
static const int kRounds = 7;

static bool IsEnteredDirectory(const WIN32_FIND_DATAA& found)
{
    return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           found.cFileName[0] != '.';
}

// The baseline: one listing per folder, recursing as folders are met; countMatches adds
// the same FindFirstFileA probe per folder that CountDirsWithMatch makes.
static void Recurse(const char* folder, bool countMatches, long* entries, long* matches)
{
    char search[MAX_PATH];
    const char* separator = folder[strlen(folder) - 1] == '\\' ? "" : "\\";
    WIN32_FIND_DATAA found;
    if (countMatches) {
        snprintf(search, sizeof search, "%s%s%s", folder, separator, kPattern);
        HANDLE probe = FindFirstFileA(search, &found);
        if (probe != INVALID_HANDLE_VALUE) {
            ++*matches;
            FindClose(probe);
        }
    }
    snprintf(search, sizeof search, "%s%s*.*", folder, separator);
    HANDLE listing = FindFirstFileA(search, &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        ++*entries;
        if (!IsEnteredDirectory(found)) continue;
        char child[MAX_PATH];
        int length = snprintf(child, sizeof child, "%s%s%s", folder, separator, found.cFileName);
        if (length > 0 && length + 4 < MAX_PATH) Recurse(child, countMatches, entries, matches);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

static void BaselineOverFixedDrives(bool countMatches, long* entries, long* matches)
{
    *entries = *matches = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_FIXED) Recurse(root, countMatches, entries, matches);
    }
}

static int CountEntry(const WIN32_FIND_DATAA*, const char*, void* argument)
{
    ++*static_cast<long*>(argument);
    return 0;
}

static double Median(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

static void Report(const char* name, const std::vector<double>& walk, const std::vector<double>& baseline)
{
    const double ratio = Median(walk) / Median(baseline);
    printf("%-20s median %8.1f ms   baseline %8.1f ms   ratio %.2f (target at most 1.20: %s)\n", name, Median(walk),
           Median(baseline), ratio, CheckTarget(name, ratio <= 1.2));
    printf("%-20s rounds:", "");
    for (size_t i = 0; i < walk.size(); ++i) printf(" %.0f/%.0f", walk[i], baseline[i]);
    printf(" ms (walk/baseline)\n");
}

int main()
{
    long benchFiles = 0, benchMatches = 0;
    Recurse("G:\\BENCH", true, &benchFiles, &benchMatches);
    if (benchMatches < 5000) {
        printf("walk_bench: G:\\BENCH does not hold the benchmark tree (run perf/walk_bench.sh first)\n");
        return 1;
    }
    printf("walk_bench: G:\\BENCH holds %ld entries in %ld folders with %s; every fixed drive is walked by both sides\n",
           benchFiles, benchMatches, kPattern);

    long baselineEntries = 0, baselineMatches = 0, walkEntries = 0;
    BaselineOverFixedDrives(true, &baselineEntries, &baselineMatches);
    WalkFixedDrives(CountEntry, &walkEntries);
    const int walkMatches = CountDirsWithMatch(kPattern);
    printf("entries visited: walk %ld, baseline %ld; folders matching: walk %d, baseline %ld\n", walkEntries,
           baselineEntries, walkMatches, baselineMatches);
    if (walkEntries != baselineEntries || walkMatches != baselineMatches) {
        printf("walk_bench: the walks and the baseline disagree\n");
        return 1;
    }

    std::vector<double> walkTimes, walkBaseline, countTimes, countBaseline, coachTimes, coachBaseline;
    for (int round = 0; round < kRounds; ++round) {
        long entries = 0, matches = 0;
        double start = WallMs();
        BaselineOverFixedDrives(false, &entries, &matches);
        walkBaseline.push_back(WallMs() - start);
        entries = 0;
        start = WallMs();
        WalkFixedDrives(CountEntry, &entries);
        walkTimes.push_back(WallMs() - start);

        start = WallMs();
        BaselineOverFixedDrives(true, &entries, &matches);
        countBaseline.push_back(WallMs() - start);
        start = WallMs();
        CountDirsWithMatch(kPattern);
        countTimes.push_back(WallMs() - start);

        start = WallMs();
        BaselineOverFixedDrives(false, &entries, &matches);
        coachBaseline.push_back(WallMs() - start);
        start = WallMs();
        MeasureDiskEfficiency();
        coachTimes.push_back(WallMs() - start);
    }
    Report("WalkFixedDrives", walkTimes, walkBaseline);
    Report("CountDirsWithMatch", countTimes, countBaseline);
    Report("Disk Efficiency", coachTimes, coachBaseline);
    return FinishBenchmark("walk_bench");
}
