#include "services/report_search.h"

#include <cstring>

static bool IsMarker(char c)
{
    return (c >= 1 && c <= 7) || c == '&' || c == '~';
}

bool ReportSearchText(const char* text, char* out, size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!text || strlen(text) <= 2) return false;
    size_t n = 0;
    for (const char* p = text; *p && *p != '\t'; ++p) {
        if (IsMarker(*p)) {
            // The marked character goes with its marker, unless the field ends first.
            if (p[1] == '\0' || p[1] == '\t') break;
            ++p;
            continue;
        }
        if (*p == '\n') continue;
        if (n + 1 < size) out[n++] = *p;
    }
    out[n] = '\0';
    return true;
}
