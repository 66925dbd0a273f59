// Where a program shows on the priority map. The map has twelve lamps: three for each
// priority class, Idle, Normal, High and Real-time, from left to right. A program lights
// one lamp: the group of its priority class, and inside the group the low, middle or high
// lamp as its base priority lies below, at or above the class's usual base priority
// (Idle 4, Normal 8, High 13, Real-time 24). The base priority is the class's base plus
// the relative priority of the program's window thread, so a below-normal program (6)
// lights Normal's low lamp, a normal one whose window thread runs above normal lights
// Normal's high lamp.
#pragma once

#include "platform/thread_levels.h"

constexpr int kPriorityLamps = 12;

// The lamp (0..11) for a class base priority and a thread's relative priority; relative
// priorities beyond two steps (idle, time-critical) count as two.
int PriorityLampColumn(int classBase, int threadRelative);

// The program's base priority: class base plus the relative priority, limited as above.
int ProgramBasePriority(int classBase, int threadRelative);
