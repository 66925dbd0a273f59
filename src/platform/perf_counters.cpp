// Only the sampling thread reads the counters; the processor-time baseline below is its.
#include <windows.h>

#include "platform/cpu_usage.h"
#include "platform/perf_counters.h"

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

static void ReadAndIgnore(HKEY root, const char* subkey, const char* const* names, int count)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
    for (int i = 0; i < count; ++i) {
        DWORD value = 0, size = sizeof value, type = 0;
        RegQueryValueExA(key, names[i], nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    }
    RegCloseKey(key);
}

void StartPerfCounters()
{
    static const char* const kServers[] = {"KERNEL", "VFAT", "VMM"};
    static const char* const kStats[] = {"KERNEL\\CPUUsage", "VFAT\\BReadsSec", "VFAT\\BWritesSec", "VFAT\\ReadsSec",
                                         "VFAT\\WritesSec", "VMM\\cPageIns", "VMM\\cPageOuts"};
    ReadAndIgnore(HKEY_DYN_DATA, "PerfStats\\StartSrv", kServers, 3);
    ReadAndIgnore(HKEY_DYN_DATA, "PerfStats\\StartStat", kStats, 7);
}

static uint32_t QueryDword(HKEY key, const char* name)
{
    DWORD value = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS) return 0;
    return value;
}

// The dynamic data counts as present only when its key holds values: some systems keep
// an empty StatData key.
static bool ReadDynamicData(PerfCounterValues* values)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD valueCount = 0;
    if (RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, nullptr, nullptr,
                         nullptr, nullptr) != ERROR_SUCCESS ||
        valueCount == 0) {
        RegCloseKey(key);
        return false;
    }
    values->hasCpu = values->hasTraffic = true;
    values->cpuUsage = QueryDword(key, "KERNEL\\CPUUsage");
    values->pageIns = QueryDword(key, "VMM\\cPageIns");
    values->pageOuts = QueryDword(key, "VMM\\cPageOuts");
    values->bytesRead = QueryDword(key, "VFAT\\BReadsSec");
    values->bytesWritten = QueryDword(key, "VFAT\\BWritesSec");
    values->reads = QueryDword(key, "VFAT\\ReadsSec");
    values->writes = QueryDword(key, "VFAT\\WritesSec");
    RegCloseKey(key);
    return true;
}

// The leading part of the system's performance information, in the layout NT has kept
// since its first version.
struct SystemPerformanceInformation {
    LARGE_INTEGER idleTime;
    LARGE_INTEGER readTransferCount;
    LARGE_INTEGER writeTransferCount;
    LARGE_INTEGER otherTransferCount;
    ULONG readOperationCount;
    ULONG writeOperationCount;
    ULONG otherOperationCount;
    ULONG availablePages;
    ULONG committedPages;
    ULONG commitLimit;
    ULONG peakCommitment;
    ULONG pageFaultCount;
    ULONG copyOnWriteCount;
    ULONG transitionCount;
    ULONG cacheTransitionCount;
    ULONG demandZeroCount;
    ULONG pageReadCount;
    ULONG pageReadIoCount;
    ULONG cacheReadCount;
    ULONG cacheIoCount;
    ULONG dirtyPagesWriteCount;
    ULONG dirtyWriteIoCount;
    ULONG mappedPagesWriteCount;
    ULONG mappedWriteIoCount;
    BYTE rest[512];
};

using QuerySystemInformationFn = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

static uint64_t FileTimeValue(const FILETIME& t)
{
    return (uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

static void ReadRunningSystem(PerfCounterValues* values)
{
    static ProcessorTimes previous;
    static bool havePrevious = false;
    FILETIME idle, kernel, user;
    if (GetSystemTimes(&idle, &kernel, &user)) {
        ProcessorTimes now;
        now.idle = FileTimeValue(idle);
        now.kernel = FileTimeValue(kernel);
        now.user = FileTimeValue(user);
        // The first reading has no interval yet: it reports the share since start.
        values->cpuUsage = CpuPercentBetween(havePrevious ? previous : ProcessorTimes(), now);
        values->hasCpu = true;
        previous = now;
        havePrevious = true;
    }

    static QuerySystemInformationFn query = reinterpret_cast<QuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return;
    SystemPerformanceInformation info = {};
    const ULONG kSystemPerformanceInformation = 2;
    if (query(kSystemPerformanceInformation, &info, sizeof info, nullptr) < 0) return;
    values->hasTraffic = true;
    values->pageIns = info.pageReadCount;
    values->pageOuts = info.dirtyPagesWriteCount + info.mappedPagesWriteCount;
    values->bytesRead = uint32_t(info.readTransferCount.QuadPart);
    values->bytesWritten = uint32_t(info.writeTransferCount.QuadPart);
    values->reads = info.readOperationCount;
    values->writes = info.writeOperationCount;
}

PerfCounterSource ReadPerfCounters(PerfCounterValues* values)
{
    *values = PerfCounterValues();
    if (ReadDynamicData(values)) return kPerfFromDynamicData;
    ReadRunningSystem(values);
    return kPerfFromSystem;
}
