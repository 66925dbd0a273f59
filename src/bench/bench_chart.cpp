#include "bench/bench_chart.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "ui/report_line.h"

const BenchTest kBenchTests[kBenchTestCount] = {
    {"CPU", BenchWorkload::kCpu, 100,
     {{"Clone 486-33", 22}, {"Clone 486-80", 18}, {"Clone 486-100", 15}, {"Clone P5-90", 15},
      {"Gateway P5-90", 15}, {"Dell XPS-120C", 11}, {"Dell XP-133", 10}}},
    {"FPU", BenchWorkload::kFpu, 100,
     {{"Clone 486-33", 54}, {"Clone 486-80", 45}, {"Clone 486-100", 36}, {"Clone P5-90", 16},
      {"Gateway P5-90", 16}, {"Dell XPS-120C", 12}, {"Dell XP-133", 11}}},
    {"Hard Disk Read", BenchWorkload::kDiskRead, 100,
     {{"Clone 486-33", 28}, {"Clone 486-80", 23}, {"Clone 486-100", 19}, {"Clone P5-90", 16},
      {"Gateway P5-90", 14}, {"Dell XPS-120C", 8}, {"Dell XP-133", 8}}},
    {"Hard Disk Write", BenchWorkload::kDiskWrite, 100,
     {{"Clone 486-80", 25}, {"Clone 486-33", 22}, {"Clone 486-100", 16}, {"Clone P5-90", 16},
      {"Gateway P5-90", 15}, {"Dell XPS-120C", 11}, {"Dell XP-133", 11}}},
    {"Hard Disk Random Read", BenchWorkload::kDiskRandomRead, 100,
     {{"Clone 486-33", 36}, {"Clone 486-80", 27}, {"Clone 486-100", 20}, {"Clone P5-90", 17},
      {"Gateway P5-90", 14}, {"Dell XPS-120C", 8}, {"Dell XP-133", 9}}},
    {"Hard Disk Random Write", BenchWorkload::kDiskRandomWrite, 100,
     {{"Clone 486-80", 20}, {"Gateway P5-90", 17}, {"Clone 486-33", 15}, {"Clone 486-100", 12},
      {"Dell XPS-120C", 11}, {"Dell XP-133", 11}, {"Clone P5-90", 10}}},
    {"Video Text", BenchWorkload::kVideoText, 100,
     {{"Gateway P5-90", 46}, {"Clone 486-33", 32}, {"Clone P5-90", 26}, {"Clone 486-80", 24},
      {"Clone 486-100", 15}, {"Dell XPS-120C", 10}, {"Dell XP-133", 6}}},
    {"Video Drawing", BenchWorkload::kVideoDrawing, 100,
     {{"Clone 486-33", 26}, {"Gateway P5-90", 21}, {"Clone 486-80", 15}, {"Clone 486-100", 15},
      {"Clone P5-90", 10}, {"Dell XPS-120C", 6}, {"Dell XP-133", 5}}},
    {"Video Objects", BenchWorkload::kVideoObjects, 100,
     {{"Clone 486-33", 22}, {"Gateway P5-90", 18}, {"Clone P5-90", 10}, {"Clone 486-80", 7},
      {"Clone 486-100", 7}, {"Dell XPS-120C", 3}, {"Dell XP-133", 2}}},
    {"Overall Score", BenchWorkload::kOverallScore, 1000,
     {{"Clone 486-33", 55}, {"Clone 486-80", 41}, {"Gateway P5-90", 39}, {"Clone 486-100", 33},
      {"Clone P5-90", 32}, {"Dell XPS-120C", 21}, {"Dell XP-133", 19}}},
};

const char* const kBenchLegend[kBenchReferenceCount] = {
    REPORT_CAPTION "Clone 486-33: FPU, Diamond Speedstar, 16MB RAM",
    REPORT_CAPTION "Clone 486-80: No FPU, Diamond Stealth VLB, 16MB RAM",
    REPORT_CAPTION "Clone 486-100: FPU, Diamond Stealth VLB, 24MB RAM",
    REPORT_CAPTION "Clone P5-90: FPU, ATI Graphics Ultra Pro, 16MB RAM",
    REPORT_CAPTION "Gateway P5-90: FPU, ATI Graphics Xpression, 40MB RAM",
    REPORT_CAPTION "Dell XPS-120C: FPU, #9 Video Card, 16MB RAM",
    REPORT_CAPTION "Dell XP-133: FPU, #9 Video Card, 16MB RAM",
};

// The weight of each test in the overall score: CPU, FPU, the four disk tests, the three
// video tests.
static const unsigned kBenchScoreWeights[kBenchScorePartCount] = {10, 1, 1, 1, 1, 1, 2, 2, 2};

BenchResult BenchMeasured(double milliseconds)
{
    return BenchResult{true, milliseconds, nullptr, false};
}

BenchResult BenchNotMeasured(const char* reason)
{
    return BenchResult{false, 0, reason, false};
}

unsigned BenchBar(double value, double lo, double hi)
{
    if (!(hi > lo)) return 99;
    const double bar = std::trunc(99 - (value - lo) * 99 / (hi - lo));
    if (bar >= 99) return 99;
    return bar <= 0 ? 0 : unsigned(bar);
}

namespace {

#define BENCH_BAR_FIELD "\t%c%c%02u"  // a solid bar: its mark, a colour letter and a length

struct ChartWriter {
    char (*lines)[kReportLineSlot];
    int count;
    void Add(const char* text) { snprintf(lines[count++], kReportLineSlot, "%s", text); }
    void AddThisPc(const BenchResult& result, unsigned bar)
    {
        if (result.isMeasured)
            snprintf(lines[count++], kReportLineSlot, REPORT_VALUE "This PC" BENCH_BAR_FIELD, kMarkSolidBar, 'Y', bar);
        else
            snprintf(lines[count++], kReportLineSlot, REPORT_MARK_GREY "This PC\t" REPORT_MARK_GREY "%s",
                     result.reason ? result.reason : "Not measured");
    }
};

}  // namespace

int BuildBenchChart(int test, const BenchResult& result, const char* leftOut, char (*lines)[kReportLineSlot])
{
    const BenchTest& t = kBenchTests[test];
    const double value = result.isMeasured ? result.milliseconds / t.divisor : 0;
    double lo = t.references[0].value, hi = lo;
    for (const BenchReference& r : t.references) {
        if (r.value < lo) lo = r.value;
        if (r.value > hi) hi = r.value;
    }
    if (result.isMeasured) {
        if (value < lo) lo = value;
        if (value > hi) hi = value;
    }

    ChartWriter out{lines, 0};
    out.Add(REPORT_HEADING "PC\t" REPORT_HEADING "Longer is faster");
    const unsigned thisBar = BenchBar(value, lo, hi);
    bool isPlaced = false;
    for (const BenchReference& r : t.references) {
        const unsigned bar = BenchBar(r.value, lo, hi);
        if (!isPlaced && result.isMeasured && thisBar < bar) {
            out.AddThisPc(result, thisBar);
            isPlaced = true;
        }
        snprintf(lines[out.count++], kReportLineSlot, REPORT_CAPTION "%s" BENCH_BAR_FIELD, r.machine, kMarkSolidBar, 'M', bar);
    }
    if (!isPlaced) out.AddThisPc(result, thisBar);
    if (result.isPartial && leftOut && *leftOut)
        snprintf(lines[out.count++], kReportLineSlot, REPORT_MARK_GREY "Left out, did not run: %s", leftOut);
    else
        out.Add("");
    for (const char* legend : kBenchLegend) out.Add(legend);
    return out.count;
}

BenchResult BenchOverallScore(const BenchResult (&parts)[kBenchScorePartCount], char* leftOut, size_t leftOutLength)
{
    double sum = 0;
    int measured = 0;
    size_t used = 0;
    if (leftOutLength) leftOut[0] = '\0';
    for (int i = 0; i < kBenchScorePartCount; ++i) {
        if (parts[i].isMeasured) {
            sum += kBenchScoreWeights[i] * parts[i].milliseconds;
            ++measured;
        } else if (used + 1 < leftOutLength) {
            const int n = snprintf(leftOut + used, leftOutLength - used, "%s%s", used ? ", " : "", kBenchTests[i].name);
            if (n > 0) used += size_t(n) < leftOutLength - used ? size_t(n) : leftOutLength - used - 1;
        }
    }
    if (measured == 0) return BenchNotMeasured("No test could run");
    BenchResult score = BenchMeasured(sum);
    score.isPartial = measured < kBenchScorePartCount;
    return score;
}
