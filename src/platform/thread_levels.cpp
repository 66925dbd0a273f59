#include "platform/thread_levels.h"

long ClassBaseOfCode(long classCode)
{
    static const long kBases[] = {kNormalClassBase, kIdleClassBase,     kNormalClassBase,     kHighClassBase,
                                  kRealTimeClassBase, kBelowNormalClassBase, kAboveNormalClassBase};
    return classCode >= 1 && classCode <= 6 ? kBases[classCode] : kNormalClassBase;
}

long AbsoluteThreadLevel(long classBase, long relative)
{
    const bool realTime = classBase >= 16;  // the real-time range is 16..31
    const long lowest = realTime ? 16 : 1, highest = realTime ? 31 : 15;
    if (relative <= -15) return lowest;   // THREAD_PRIORITY_IDLE
    if (relative >= 15) return highest;   // THREAD_PRIORITY_TIME_CRITICAL
    const long level = classBase + relative;
    return level < lowest ? lowest : level > highest ? highest : level;
}
