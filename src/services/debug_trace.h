#pragma once
#include "services/trace_format.h"

// 1 when the command line asked for the debug trace; set once by the entry point.
extern int DebugMode;
// Numbers the trace boxes; starts at 1 and only grows.
extern int DebugTraceCounter;

// In debug mode, shows "label = value" (formatted by kind, see TraceKind) in a box titled
// "Message #n" and counts it; otherwise does nothing.
void DebugTrace(int kind, const char* label, const void* value);
