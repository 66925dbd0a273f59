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

static char Folded(char c)
{
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

// Whether search matches the items from first on, joined with single spaces.
static bool ReadsOnFrom(const char* search, int first, int count, ReportItemAt itemAt, void* context)
{
    for (int index = first; index < count; ++index) {
        const char* item = itemAt(context, index);
        if (!item || !*item) return false;
        for (; *item && *search; ++item, ++search)
            if (Folded(*item) != Folded(*search)) return false;
        if (!*search) return true;
        // The item ended inside the label: the wrapper cut at blanks it did not show, or
        // inside a word too wide for the list.
        while (*search == ' ') ++search;
        if (!*search) return true;
    }
    return false;
}

int FindWrappedLabel(const char* search, int count, ReportItemAt itemAt, void* context)
{
    if (!search || !*search) return -1;
    for (int index = 0; index < count; ++index)
        if (ReadsOnFrom(search, index, count, itemAt, context)) return index;
    return -1;
}
