#pragma once
#include <cstddef>
#include <cstdint>

// The program name a window title shows: the part before the first "-" with trailing
// white space removed, copied with at most size - 1 characters. destination is empty when
// nothing is left (or title is null).
void AppNameFromTitleText(const char* title, char* destination, size_t size);

// What SpecialProcessName learns from the threads of one process: how many there are and
// the highest and lowest priority (base priority plus delta) among them.
struct ThreadPrioritySummary {
    uint32_t threadCount = 0;
    int32_t highest = 0;
    int32_t lowest = 33;
};

void CountThreadPriority(ThreadPrioritySummary* summary, int32_t priority);

// The system kernel process has no windows, exactly 4 threads and priorities from 13 to 28.
bool IsSystemKernelPattern(const ThreadPrioritySummary& summary);

// The name of a windowless system process: "Windows 95 Kernel" for the kernel pattern, or
// "Real-Time Input" when the thread asked about has priority 28; "" for any other process.
const char* SpecialNameFor(const ThreadPrioritySummary& summary, int32_t askedThreadPriority);
