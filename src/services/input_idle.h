#pragma once
#include <cstdint>

// Keyboard and mouse events counted by the input hook since the sampling tick last
// cleared the count. The hook writes it, the tick reads it; no lock (one aligned word).
extern volatile uint32_t InputEventCount;

// The event counts of the last 120 ticks, oldest first.
constexpr int kInputHistoryLength = 120;
struct InputHistory {
    uint32_t samples[kInputHistoryLength];
};

// Drops the oldest sample, appends newest, and returns 1 when all 120 samples are 0.
int InputHistoryStep(InputHistory* history, uint32_t newest);

// Called once a tick by the sampling thread (its only caller): records InputEventCount
// in the process's history and returns 1 when there was no input for 120 ticks. The
// history starts as all zeros, so a program that saw no input since start-up is idle.
int InputIdle();
