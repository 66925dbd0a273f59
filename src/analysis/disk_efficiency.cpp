#include <windows.h>

#include "analysis/coach.h"

#include "analysis/coach_scores.h"
#include "services/walks.h"

namespace {

struct MonthCount {
    AccessMonths months;
    int nowYear, nowMonth;
};

// Whether the name ends in ".exe", in any case. Plain ASCII folding: it runs for every
// entry of the disks, and the system's locale-aware comparison costs more than the walk.
bool IsProgramFileName(const char* name)
{
    const size_t length = strlen(name);
    if (length < 4) return false;
    const char* tail = name + length - 4;
    return tail[0] == '.' && (tail[1] | 0x20) == 'e' && (tail[2] | 0x20) == 'x' && (tail[3] | 0x20) == 'e';
}

int VisitEntry(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    MonthCount* count = static_cast<MonthCount*>(argument);
    CountProgramFile(*found, &count->months, count->nowYear, count->nowMonth);
    return 0;
}

}  // namespace

void CountProgramFile(const WIN32_FIND_DATAA& found, AccessMonths* months, int nowYear, int nowMonth)
{
    // Programs only: a folder named like one is not counted, nor a file that is neither
    // marked for archiving nor carries attributes beyond the classic low seven.
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return;
    if (!(found.dwFileAttributes > 127 || (found.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE))) return;
    if (!IsProgramFileName(found.cFileName)) return;
    FILETIME local;
    SYSTEMTIME accessed;
    if (!FileTimeToLocalFileTime(&found.ftLastAccessTime, &local) || !FileTimeToSystemTime(&local, &accessed)) return;
    CountAccessMonth(months, accessed.wYear, accessed.wMonth, nowYear, nowMonth);
}

int32_t MeasureDiskEfficiency()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    MonthCount count = {};
    count.nowYear = now.wYear;
    count.nowMonth = now.wMonth;
    WalkFixedDrives(VisitEntry, &count);
    return DiskEfficiencyScore(count.months);
}
