#include "ui/report_table.h"

#include <cstring>

#include "ui/report_line.h"

int AppendReportTable(const char* text, size_t length, char* (*nextSlot)())
{
    int appended = 0;
    size_t position = 0, start = 0, lineLength = 0;
    while (NextReportRun(text, length, &position, '\n', &start, &lineLength)) {
        char* slot = nextSlot();
        const size_t kept = lineLength < size_t(kReportLineSlot) ? lineLength : size_t(kReportLineSlot) - 1;
        memcpy(slot, text + start, kept);
        slot[kept] = '\0';
        ++appended;
    }
    return appended;
}
