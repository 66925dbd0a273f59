#include "services/trace_format.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>

void FormatTraceLine(int kind, const char* label, const void* value, char* out, size_t size)
{
    if (size == 0) return;
    if (!label) label = "";
    if (!value) {
        snprintf(out, size, "%s = ?", label);
        return;
    }
    switch (kind) {
    case kTraceBool:
        snprintf(out, size, "%s = %s", label, *static_cast<const int32_t*>(value) == 1 ? "TRUE" : "FALSE");
        break;
    case kTraceInt:
        snprintf(out, size, "%s = %d", label, int(*static_cast<const int32_t*>(value)));
        break;
    case kTraceString:
        snprintf(out, size, "%s = %s", label, static_cast<const char*>(value));
        break;
    case kTraceFloat:
        snprintf(out, size, "%s = %5.2f", label, double(*static_cast<const float*>(value)));
        break;
    case kTraceULong:
    case kTraceUInt:
        snprintf(out, size, "%s = %u", label, unsigned(*static_cast<const uint32_t*>(value)));
        break;
    case kTraceChar:
        snprintf(out, size, "%s = %c", label, *static_cast<const char*>(value));
        break;
    case kTraceDouble:
        snprintf(out, size, "%s = %5.2f", label, *static_cast<const double*>(value));
        break;
    default:
        snprintf(out, size, "%s = ?", label);
        break;
    }
}

bool CommandLineWantsDebug(const char* commandLine)
{
    if (!commandLine) return false;
    static const char kWord[] = "DEBUG";
    const size_t wordLength = sizeof kWord - 1;
    for (const char* p = commandLine; *p; ++p) {
        size_t i = 0;
        while (i < wordLength && p[i] && std::toupper(static_cast<unsigned char>(p[i])) == kWord[i]) ++i;
        if (i == wordLength) return true;
    }
    return false;
}
