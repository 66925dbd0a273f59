// The performance counters: read from the dynamic data when it holds values, otherwise
// from the running system.
#include <gtest/gtest.h>

#include "platform/perf_counters.h"

#ifndef HKEY_DYN_DATA
#define HKEY_DYN_DATA ((HKEY)(ULONG_PTR)((LONG)0x80000006))
#endif

namespace {

const char* const kValueNames[] = {"KERNEL\\CPUUsage", "VMM\\cPageIns", "VMM\\cPageOuts", "VFAT\\BReadsSec",
                                   "VFAT\\BWritesSec", "VFAT\\ReadsSec", "VFAT\\WritesSec"};

// Fills or empties the StatData key the way the system keeps it.
class DynamicData {
public:
    DynamicData()
    {
        RegCreateKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~DynamicData()
    {
        Empty();
        if (key_) RegCloseKey(key_);
    }
    bool IsOpen() const { return key_ != nullptr; }
    void Set(const char* name, DWORD value)
    {
        RegSetValueExA(key_, name, 0, REG_BINARY, reinterpret_cast<const BYTE*>(&value), sizeof value);
    }
    void Empty()
    {
        for (const char* name : kValueNames) RegDeleteValueA(key_, name);
    }

private:
    HKEY key_ = nullptr;
};

DWORD WINAPI Burn(LPVOID stop)
{
    volatile unsigned sink = 0;
    while (!*static_cast<volatile LONG*>(stop)) ++sink;
    return 0;
}

TEST(PerfCounters, DynamicDataValuesAreTakenAsTheyAre)
{
    DynamicData data;
    ASSERT_TRUE(data.IsOpen());
    DWORD value = 37;
    for (const char* name : kValueNames) data.Set(name, value++);
    PerfCounterValues values;
    ASSERT_EQ(ReadPerfCounters(&values), kPerfFromDynamicData);
    EXPECT_TRUE(values.hasCpu);
    EXPECT_TRUE(values.hasTraffic);
    EXPECT_EQ(values.cpuUsage, 37u);
    EXPECT_EQ(values.pageIns, 38u);
    EXPECT_EQ(values.pageOuts, 39u);
    EXPECT_EQ(values.bytesRead, 40u);
    EXPECT_EQ(values.bytesWritten, 41u);
    EXPECT_EQ(values.reads, 42u);
    EXPECT_EQ(values.writes, 43u);
}

TEST(PerfCounters, AnEmptyStatDataKeyFallsBackToTheRunningSystem)
{
    DynamicData data;
    data.Empty();
    PerfCounterValues values;
    ASSERT_EQ(ReadPerfCounters(&values), kPerfFromSystem);
    EXPECT_TRUE(values.hasCpu);

    // The processor value covers the time since the previous reading.
    Sleep(600);
    ReadPerfCounters(&values);
    const uint32_t quiet = values.cpuUsage;
    volatile LONG stop = 0;
    HANDLE burners[2] = {CreateThread(nullptr, 0, Burn, const_cast<LONG*>(&stop), 0, nullptr),
                         CreateThread(nullptr, 0, Burn, const_cast<LONG*>(&stop), 0, nullptr)};
    Sleep(1000);
    ReadPerfCounters(&values);
    InterlockedExchange(&stop, 1);
    WaitForMultipleObjects(2, burners, TRUE, 5000);
    CloseHandle(burners[0]);
    CloseHandle(burners[1]);
    // Two busy threads fill this two-core machine whatever else runs; the quiet reading
    // is only compared when the machine was not busy already.
    EXPECT_GE(values.cpuUsage, 90u) << "quiet reading was " << quiet;
    EXPECT_LE(values.cpuUsage, 100u);
    if (quiet < 80) EXPECT_GT(values.cpuUsage, quiet);
}

}  // namespace
