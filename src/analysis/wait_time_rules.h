// Wait time: how long the user has waited on each part of the machine, estimated from
// the activity histograms (a second sampled at load v % counts as v / 200 s of waiting).
#pragma once
#include <cstddef>
#include <string>

#include "sampling/system_stats.h"

constexpr int kWaitRows = 7;

struct WaitTimeRow {
    const char* name;      // "CPU", "Disk", ...
    size_t sourceOffset;   // byte offset of the row's percent histogram in SystemStats
    int barId;             // progress bar control
    int timeId;            // time field control
};

// In the dialog's order: CPU, Disk, Memory, Modem, Printer, Video Card, Video Monitor.
extern const WaitTimeRow kWaitTimeRows[kWaitRows];

struct WaitTimes {
    double wait[kWaitRows];   // seconds
    double total;             // sum of the waits, at least 1.0
    int barPosition[kWaitRows];
};

WaitTimes ComputeWaitTimes(const SystemStats& stats);

// "dd:hh:mm": days, hours and minutes of a number of seconds; what is not a non-negative
// number (a damaged statistics file) shows as "00:00:00".
std::string WaitTimeText(double seconds);

// "n%": the total wait against the seconds sampled; "0%" when nothing was sampled.
std::string WaitPercentText(double totalWait, double secondsSampled);
