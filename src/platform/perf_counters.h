// The processor, paging and file-system counters the sampling tick reads each second.
//
// Where the dynamic performance data of the registry (PerfStats\StatData under
// HKEY_DYN_DATA) holds values, they are used as they are. Elsewhere the same quantities
// come from the running system: processor use from the system's processor times since
// the previous reading, paging from the pages read plus written, and the file-system
// figures from the system's cumulative I/O transfer and operation counts.
#pragma once
#include <windows.h>

#include <cstdint>

struct PerfCounterValues {
    bool hasCpu = false;
    uint32_t cpuUsage = 0;      // percent in the low byte
    bool hasTraffic = false;
    uint32_t pageIns = 0, pageOuts = 0;
    uint32_t bytesRead = 0, bytesWritten = 0, reads = 0, writes = 0;  // cumulative
};

enum PerfCounterSource { kPerfFromDynamicData, kPerfFromSystem };

// Asks the dynamic data to start its counters (reading the start keys starts them).
void StartPerfCounters();

// Reads the counters now; tells which source answered.
PerfCounterSource ReadPerfCounters(PerfCounterValues* values);
