// Monitor models known by name: diagonal, dot pitch and widest resolution.
#pragma once
#include <cstddef>
#include <cstdint>

struct MonitorModel {
    char name[56];
    double diagonal;   // inches
    double dotPitch;   // mm
    uint32_t resolution;  // pixels across
};

constexpr size_t kMonitorModelCount = 91;
extern const MonitorModel MonitorModelTable[kMonitorModelCount];

// The first row whose name, upper-cased, is contained in the upper-cased description (cut
// to 255 characters); null when none is. The last rows are bare sizes ("13" to "21") that
// catch a description naming only its diameter.
const MonitorModel* MatchMonitorModel(const char* description);
