#include "ui/print_form.h"

#include <cstdio>
#include <cstring>

#include "ui/report_line.h"

namespace {

// Appends to a bounded, always terminated buffer; what does not fit is dropped.
struct Appender {
    char* out;
    size_t size;
    size_t used = 0;

    void Add(const char* text, size_t length)
    {
        for (size_t i = 0; i < length && used + 1 < size; ++i) out[used++] = text[i];
        out[used] = '\0';
    }
    void Add(const char* text) { Add(text, strlen(text)); }
};

size_t DigitCount(const char* text, size_t length)
{
    size_t n = 0;
    while (n < length && text[n] >= '0' && text[n] <= '9') ++n;
    return n;
}

void AddBar(Appender& out, const char* digits, size_t length)
{
    const int value = ReportBarValue(digits, length);
    const int marks = (value + 5) / 10;
    char bar[32];
    snprintf(bar, sizeof bar, "[%.*s%.*s] %d%%", marks, "##########", 10 - marks, "          ", value);
    out.Add(bar);
}

void AddField(Appender& out, const char* field, size_t length)
{
    if (length > 0 && field[0] == kMarkUnderline) {
        ++field;
        --length;
    }
    if (length == 0) return;
    size_t skip = 0;
    switch (field[0]) {
    case kMarkBright:
    case kMarkDark:
    case kMarkLamps:
        skip = 2;
        break;
    case kMarkGrey:
        skip = 1;
        break;
    case kMarkRgb:
        skip = 4;
        break;
    case kMarkWedgeBar:
    case kMarkStripedBar:
        AddBar(out, field + 1, length - 1);
        return;
    case kMarkSolidBar:
        if (length > 2) AddBar(out, field + 2, length - 2);
        return;
    case kMarkLevelCells: {
        const size_t n = DigitCount(field + 1, length - 1);
        out.Add("Level ");
        out.Add(n > 0 ? field + 1 : "0", n > 0 ? n : 1);
        return;
    }
    default:
        break;
    }
    if (skip < length) out.Add(field + skip, length - skip);
}

}  // namespace

void PrintableReportLine(const char* line, char* out, size_t size)
{
    if (size == 0) return;
    out[0] = '\0';
    if (!line) return;
    Appender appender{out, size};
    const char* field = line;
    for (;;) {
        const char* tab = strchr(field, '\t');
        const size_t length = tab ? size_t(tab - field) : strlen(field);
        AddField(appender, field, length);
        if (!tab) break;
        appender.Add(", ");
        field = tab + 1;
    }
}
