// The benchmark charts: the ten tests with their reference PCs, the chart of one result
// against them, and the overall score weighed from the other nine results.
#pragma once
#include <cstddef>

#include "services/report_slot.h"

// What a test times; the Win32 side runs the workload, this side only names it.
enum class BenchWorkload {
    kCpu,
    kFpu,
    kDiskRead,
    kDiskWrite,
    kDiskRandomRead,
    kDiskRandomWrite,
    kVideoText,
    kVideoDrawing,
    kVideoObjects,
    kOverallScore,
};

constexpr int kBenchTestCount = 10;
constexpr int kBenchReferenceCount = 7;
constexpr int kBenchScorePartCount = kBenchTestCount - 1;  // every test but the score itself
// Heading, seven reference rows and "This PC", an empty line and seven legend lines.
constexpr int kBenchChartLineCount = 17;

struct BenchReference {
    const char* machine;
    unsigned value;  // the reference PC's time divided by the test's divisor
};

struct BenchTest {
    const char* name;
    BenchWorkload workload;
    double divisor;  // turns milliseconds into the charted value
    BenchReference references[kBenchReferenceCount];
};

// The tests in list order; the index of a test is its BenchWorkload.
extern const BenchTest kBenchTests[kBenchTestCount];
// The seven reference PCs, one report line each, with their colour markup.
extern const char* const kBenchLegend[kBenchReferenceCount];

// One measurement: elapsed milliseconds, or why the test did not run.
struct BenchResult {
    bool isMeasured;
    double milliseconds;
    const char* reason;  // when not measured: shown in place of the bar
    bool isPartial;      // the overall score left out tests that did not run
};
BenchResult BenchMeasured(double milliseconds);
BenchResult BenchNotMeasured(const char* reason);

// The bar length of value among lo..hi: 99 for the fastest (lo), 0 for the slowest (hi),
// and 99 when all values are equal.
unsigned BenchBar(double value, double lo, double hi);

// Writes the chart of test's result into lines (kBenchChartLineCount slots) and returns
// the number of lines. A result that was not measured charts as a grey "This PC" with its
// reason and no bar, after the reference rows, and does not widen the scale. A partial
// overall score says which tests it left out on the line above the legend.
int BuildBenchChart(int test, const BenchResult& result, const char* leftOut,
                    char (*lines)[kReportLineSlot]);

// The overall score: the weighted sum of parts (one per test, in list order, the score's
// own entry excluded) over those that ran. When some did not run the result is partial
// and leftOut (leftOutLength bytes) names them; when none ran it is not measured.
BenchResult BenchOverallScore(const BenchResult (&parts)[kBenchScorePartCount], char* leftOut,
                              size_t leftOutLength);
