#pragma once
#include <cstddef>

// Kinds of value a debug trace line can show.
enum TraceKind {
    kTraceBool = 0,    // points to a 32-bit integer; 1 shows TRUE, anything else FALSE
    kTraceInt = 1,     // points to a signed 32-bit integer
    kTraceString = 2,  // is the string itself
    kTraceFloat = 3,   // points to a 32-bit float
    kTraceULong = 4,   // points to an unsigned 32-bit integer
    kTraceChar = 5,    // points to a character
    kTraceUInt = 6,    // points to an unsigned 32-bit integer
    kTraceDouble = 7,  // points to a 64-bit double
};

// Formats "label = value" for a trace box into out (always terminated, never overrun).
// An unknown kind or a null value gives "label = ?".
void FormatTraceLine(int kind, const char* label, const void* value, char* out, size_t size);

// Whether the command line asks for the debug trace: it holds "DEBUG" in any case.
bool CommandLineWantsDebug(const char* commandLine);
