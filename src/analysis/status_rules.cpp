#include "analysis/status_rules.h"

#include <algorithm>
#include <cstdio>

#include "services/histogram.h"

void LongTermShares(const SystemStats& stats, uint32_t shares[kActivityCount])
{
    const uint32_t* histograms[kActivityCount] = {
        stats.cpuUsage, stats.diskActivity, stats.pagingActivity, stats.modemActivity,
        stats.printerActivity, stats.videoLoad, stats.displayLoad,
    };
    uint32_t means[kActivityCount];
    double total = 0.0;
    for (int i = 0; i < kActivityCount; ++i) {
        means[i] = HistogramMean(histograms[i], sizeof(PercentHistogram));
        total += means[i];
    }
    if (total < 1.0) total = 1.0;
    for (int i = 0; i < kActivityCount; ++i) shares[i] = uint32_t(means[i] * 100.0 / total);
}

int CoachHints(const CoachFacts& facts, char (*lines)[kCoachLineLength])
{
    int count = 0;
    auto add = [&](const char* format, auto... values) {
        if (count < kCoachMaxLines) snprintf(lines[count++], kCoachLineLength, format, values...);
    };
    for (int i = 0; i < facts.driveCount && i < 6; ++i) {
        const CoachDrive& drive = facts.drives[i];
        if (drive.freeBytes < 15000000u) add("Drive %c: less than %dMB free space", drive.letter, int(drive.freeBytes / 1024000u + 1));
        if (drive.totalBytes != 0 && double(drive.freeBytes) / drive.totalBytes < 0.1)
            add("Drive %c: less than %d%% free space", drive.letter,
                int(double(drive.freeBytes) * 100.0 / drive.totalBytes + 1.0));
    }
    const LiveSample& s = facts.sample;
    if (facts.freeGdiPercent != 0 && facts.freeGdiPercent < 20) add("GDI16 less than %d%% free", int(facts.freeGdiPercent));
    if (facts.freeUserPercent != 0 && facts.freeUserPercent < 20) add("USER16 less than %d%% free", int(facts.freeUserPercent));
    if (s.apps16 > 5) add("%d 16-bit apps open", int(s.apps16));
    if (s.processes > 25) add("%d processes running", int(s.processes));
    if (s.threads > 100) add("%d threads running", int(s.threads));
    if (s.modules > 200) add("%d modules loaded", int(s.modules));
    if (s.windows > 500) add("%d windows open", int(s.windows));
    if (s.memoryHeadroom < 5) add("Free RAM less than %d%% free", int(s.memoryHeadroom));
    if (s.pageFileFree < 20) add("Page file less than %d%% free", int(s.pageFileFree));
    if (s.virtualFree < 20) add("Virtual less than %d%% free", int(s.virtualFree));
    if (s.memoryLoad > 80) add("Memory load greater than %d%%", int(s.memoryLoad));
    return count;
}

bool ScaleWindowToPanel(const PlainRect& window, long screenWidth, long screenHeight, long panelWidth,
                        long panelHeight, PlainRect* scaled)
{
    if (screenWidth <= 0 || screenHeight <= 0 || panelWidth <= 0 || panelHeight <= 0) return false;
    // 64-bit products: a window far off screen must not overflow the scaling.
    auto scaleX = [&](long x) { return long(int64_t(x) * panelWidth / screenWidth); };
    auto scaleY = [&](long y) { return long(int64_t(y) * panelHeight / screenHeight); };
    scaled->left = std::max(0L, scaleX(window.left));
    scaled->top = std::max(0L, scaleY(window.top));
    scaled->right = std::min(panelWidth, scaleX(window.right));
    scaled->bottom = std::min(panelHeight, scaleY(window.bottom));
    return scaled->left < scaled->right && scaled->top < scaled->bottom;
}

PlainRect MinimizedSquare(int n, long panelHeight)
{
    const long left = 3 + 13L * n;
    const long bottom = panelHeight - 3;
    return PlainRect{left, bottom - 10, left + 10, bottom};
}
