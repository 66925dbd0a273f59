// Clocks the benchmarks share: this thread's processor time and the wall clock, in ms.
// Wine's thread clock moves in 10 ms steps, so benchmarks time rounds of many calls.
#pragma once
#include <windows.h>

#include <cstdint>

inline double ThreadCpuMs()
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto value = [](const FILETIME& t) { return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return double(value(kernel) + value(user)) / 10000.0;
}

inline double WallMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(now.QuadPart) / double(frequency.QuadPart);
}
