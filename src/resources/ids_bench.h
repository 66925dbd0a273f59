// Resource ids of the benchmarks.
#pragma once

#ifndef IDC_LABEL
#define IDC_LABEL 100
#endif

// Benchmarks (16600): the tests and the chart of the chosen one
#define IDD_BENCHMARKS 16600
#define IDC_BENCH_TESTS 16601
#define IDC_BENCH_CHART 16602
#define HELP_CONTEXT_BENCHMARKS 29041
