#include "services/report_search.h"

#include <cstring>

// How many characters after a marker belong to it: the underline prefix (6) and the grey
// code (3) take none, an RGB colour (4) takes three, every other marker one.
static int MarkedLength(char c)
{
    if (c == 6 || c == 3) return 0;
    if (c == 4) return 3;
    if ((c >= 1 && c <= 7) || c == '&' || c == '~') return 1;
    return -1;
}

bool ReportSearchText(const char* text, char* out, size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!text || strlen(text) <= 2) return false;
    size_t n = 0;
    for (const char* p = text; *p && *p != '\t'; ++p) {
        const int marked = MarkedLength(*p);
        if (marked >= 0) {
            // The marked characters go with their marker, unless the field ends first.
            int skipped = 0;
            while (skipped < marked && p[1] != '\0' && p[1] != '\t') {
                ++p;
                ++skipped;
            }
            if (skipped < marked) break;
            continue;
        }
        if (*p == '\n') continue;
        if (n + 1 < size) out[n++] = *p;
    }
    out[n] = '\0';
    return true;
}
