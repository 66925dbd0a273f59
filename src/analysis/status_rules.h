// What the status report computes from the statistics without asking the system: the
// long-term share of each activity, the coach's hint lines and the window map's geometry.
#pragma once
#include <cstddef>
#include <cstdint>

#include "sampling/system_stats.h"
#include "services/center.h"

// The seven activities in the order their long-term means are taken.
enum StatusActivity { kActivityCpu, kActivityDisk, kActivityMemory, kActivityModem, kActivityPrinter,
                      kActivityVideo, kActivityDisplay, kActivityCount };

// share[i] = trunc(mean_i x 100 / total) where mean_i is the histogram mean (bucket 0 left
// out) of activity i and total the sum of the seven means, at least 1. Empty histograms
// give seven zeros.
void LongTermShares(const SystemStats& stats, uint32_t shares[kActivityCount]);

// One drive the coach looks at (a fixed drive among A..F).
struct CoachDrive {
    char letter;
    uint64_t freeBytes;
    uint64_t totalBytes;
};

struct CoachFacts {
    CoachDrive drives[6];
    int driveCount;
    uint32_t freeGdiPercent;   // 0 while the companion has not reported
    uint32_t freeUserPercent;
    LiveSample sample;
};

constexpr size_t kCoachLineLength = 64;
constexpr int kCoachMaxLines = 2 * 6 + 11;

// Writes every hint whose test holds, in order, into lines (at least kCoachMaxLines of
// them) and returns how many. A drive whose total is 0 gets no percentage hint.
int CoachHints(const CoachFacts& facts, char (*lines)[kCoachLineLength]);

// A window's screen rectangle scaled into a panel of panelWidth x panelHeight pixels and
// clipped to it; false when nothing of it is left or a size is not positive.
bool ScaleWindowToPanel(const PlainRect& window, long screenWidth, long screenHeight, long panelWidth,
                        long panelHeight, PlainRect* scaled);

// At most this many minimised windows show as squares along the panel's bottom.
constexpr int kMapMaxSquares = 10;

// The square of the n-th (from 0) minimised window: 10 x 10 pixels, 3 above the bottom
// edge, 13 pixels apart from the left.
PlainRect MinimizedSquare(int n, long panelHeight);
