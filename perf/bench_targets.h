// Targets the benchmarks judge themselves by. Each judged figure goes through CheckTarget,
// which prints "met" or "MISSED" beside it; FinishBenchmark prints the closing line the Wine
// runner looks for, lists what was missed and gives the exit code: 0 only when every target
// was met.
#pragma once
#include <cstdio>
#include <string>

inline std::string& MissedTargets()
{
    static std::string missed;
    return missed;
}

// Returns the word to print beside the figure, and remembers a miss under label.
inline const char* CheckTarget(const char* label, bool met)
{
    if (!met) MissedTargets() += std::string(MissedTargets().empty() ? "" : "; ") + label;
    return met ? "met" : "MISSED";
}

inline int FinishBenchmark(const char* name)
{
    printf("[==========] 1 benchmark ran.\n");
    if (MissedTargets().empty()) {
        printf("%s: every target met\n", name);
        return 0;
    }
    printf("%s: target MISSED: %s\n", name, MissedTargets().c_str());
    return 1;
}
