// The benchmark workloads timed on this PC: processor and floating-point chains, four disk
// patterns on a temporary file, and three kinds of drawing in a window of their own.
#pragma once
#include <windows.h>

#include "bench/bench_chart.h"
#include "bench/bench_plans.h"

// What the disk tests ask the system, replaceable by tests: the free space of a folder's
// drive, and the making of a new test file at path (INVALID_HANDLE_VALUE with the error
// ERROR_FILE_EXISTS when a file has that name already).
struct BenchDiskHooks {
    BOOL(WINAPI* freeSpace)(LPCSTR folder, PULARGE_INTEGER available, PULARGE_INTEGER total, PULARGE_INTEGER free);
    HANDLE (*openFile)(const char* path);
};
// GetDiskFreeSpaceExA, and an exclusive write-through file that deletes itself on close.
extern const BenchDiskHooks kBenchSystemDisk;

// Elapsed milliseconds of each workload (fractional: timed with the performance counter
// while the multimedia timer runs at 1 ms). The processor and disk workloads run in the
// real-time priority class, as far as the system grants it, and the process gets its
// previous class back afterwards.
BenchResult MeasureCpu();
BenchResult MeasureFpu();
// Runs pattern on a "mhtest" file in the temporary folder, removed on every path; not
// measured when the folder's drive has too little free space or the file cannot be made.
BenchResult MeasureDisk(DiskPattern pattern, const BenchDiskHooks& hooks = kBenchSystemDisk);
// Draws in a "Pandrel Video Benchmark" window of class "videotest", destroyed afterwards.
BenchResult MeasureVideo(BenchWorkload workload);
// Runs the workload of any test; the overall score runs the other nine and names those
// that did not run in leftOut.
BenchResult MeasureBenchTest(int test, char* leftOut, size_t leftOutLength);
