#include <windows.h>

#include <cstdio>

#include "services/debug_trace.h"

int DebugMode = 0;
int DebugTraceCounter = 1;

void DebugTrace(int kind, const char* label, const void* value)
{
    if (!DebugMode) return;
    char text[512];
    char title[32];
    FormatTraceLine(kind, label, value, text, sizeof text);
    snprintf(title, sizeof title, "Message #%d", DebugTraceCounter);
    MessageBoxA(nullptr, text, title, MB_OK);
    ++DebugTraceCounter;
}
