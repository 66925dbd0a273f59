// Priority classes as the priority tools handle them: which class the priority optimizer
// gives a process, which radio button of Execution Priorities stands for a class, and
// which icon shows a thread's priority. Plain values only, so the rules run anywhere.
#pragma once
#include <cstdint>

// Priority class values as the system defines them.
constexpr uint32_t kIdleClass = 0x40;
constexpr uint32_t kNormalClass = 0x20;
constexpr uint32_t kHighClass = 0x80;
constexpr uint32_t kRealTimeClass = 0x100;
constexpr uint32_t kBelowNormalClass = 0x4000;
constexpr uint32_t kAboveNormalClass = 0x8000;

// What PlanPriorityChange answers when a process keeps its class.
constexpr uint32_t kKeepClass = 0;

// The class the priority optimizer sets for a process of priorityClass whose main module
// is named mainModuleName (null counts as empty): NORMAL for HIGH, REALTIME and IDLE;
// kKeepClass for every other class, and for the system kernel's own process, whose main
// module is named exactly "KERNEL32" (case counts).
uint32_t PlanPriorityChange(uint32_t priorityClass, const char* mainModuleName);

// The radio button of Execution Priorities that shows priorityClass; 0 for a class that
// has none (below normal, above normal, or a process that could not be read).
int PriorityRadioOf(uint32_t priorityClass);

// The class a radio button of Execution Priorities sets; 0 for any other control.
uint32_t PriorityClassOfRadio(int radioId);

// The icon that shows a thread priority (base plus delta): 1700 plus the priority, kept
// within 0 to 32.
int PriorityIconId(long priority);
