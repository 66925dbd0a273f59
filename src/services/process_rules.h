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

enum ProgramKind { kProgramDos = 1, kProgram16Bit = 2, kProgram32Bit = 3 };

// The kind of a windowed program from the file title of its executable and the module
// name of its main module: the MS-DOS host module means an MS-DOS program; a main module
// named as the executable is a 32-bit program; anything else a 16-bit one.
ProgramKind ProgramKindFromNames(const char* fileTitle, const char* mainModuleName);

// The file title of a path: what follows its last backslash, slash or colon.
const char* FileTitleOf(const char* path);
