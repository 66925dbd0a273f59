// The performance counters: read from the dynamic data when it holds values, otherwise
// from the running system.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dynamic_data.h"
#include "platform/perf_counters.h"
#include "wine_differences.h"
#include "wine_env.h"

static DWORD WINAPI Burn(LPVOID stop)
{
    for (volatile unsigned sink = 0; !*static_cast<volatile LONG*>(stop);) ++sink;
    return 0;
}

TEST(PerfCounters, AnEmptyStatDataKeyFallsBackToTheRunningSystem)
{
    DynamicDataFixture data;
    data.Empty();
    PerfCounterValues values;
    ASSERT_EQ(ReadPerfCounters(&values), kPerfFromSystem);
    EXPECT_TRUE(values.hasCpu);
    // The processor value covers the time since the previous reading.
    Sleep(600);
    ReadPerfCounters(&values);
    const uint32_t quiet = values.cpuUsage;
    volatile LONG stop = 0;
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    std::vector<HANDLE> burners(system.dwNumberOfProcessors ? system.dwNumberOfProcessors : 1);
    for (HANDLE& burner : burners) burner = CreateThread(nullptr, 0, Burn, const_cast<LONG*>(&stop), 0, nullptr);
    Sleep(1000);
    ReadPerfCounters(&values);
    InterlockedExchange(&stop, 1);
    WaitForMultipleObjects(DWORD(burners.size()), burners.data(), TRUE, 5000);
    for (HANDLE burner : burners) CloseHandle(burner);
    // One busy thread per core fills the machine whatever else runs; the quiet reading is
    // only compared when the machine was not busy already.
    EXPECT_GE(values.cpuUsage, 90u) << "quiet reading was " << quiet;
    EXPECT_LE(values.cpuUsage, 100u);
    if (quiet < 80) EXPECT_GT(values.cpuUsage, quiet);
}

TEST(PerfCounters, FileTrafficMovesTheSystemsReadAndWriteCounts)
{
    DynamicDataFixture data;
    data.Empty();
    PerfCounterValues before, after;
    ReadPerfCounters(&before);
    const std::string path = FreshTestFolder("perf_counters") + "\\traffic.bin";
    const std::vector<unsigned char> block(1 << 20, 0x5A);
    ASSERT_TRUE(WriteWholeFile(path, block.data(), block.size()));
    std::vector<unsigned char> back;
    ASSERT_TRUE(ReadWholeFileBytes(path, &back));
    ReadPerfCounters(&after);
    EXPECT_UNLESS_WINE_DIFFERS(after.writes > before.writes && after.bytesWritten > before.bytesWritten,
                               "the system reports no I/O operation or transfer counts");
    EXPECT_UNLESS_WINE_DIFFERS(after.reads > before.reads && after.bytesRead > before.bytesRead,
                               "the system reports no I/O operation or transfer counts");
}
