// The usage monitor's memory over a day: once it is open, showing any value its number
// icons can take adds nothing to the process's committed memory. The icons are shared and
// stay loaded once loaded (under Wine each one's picture is a page of the process's own),
// so a value seen for the first time hours later would otherwise add to it then.
#include <gtest/gtest.h>

#include <windows.h>

#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "resources/ids_monitors.h"
#include "sampling/system_stats.h"
#include "services/view_registry.h"
#include "ui/shared_gdi.h"

namespace {

// Bytes committed to the process's own private memory below 4 GB and above, as the system
// lists its regions.
SIZE_T CommittedPrivateBytes()
{
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return total;
}

TEST(UsageMonitor, ShowingEveryValueAfterItOpenedTakesNoMoreMemory)
{
    HINSTANCE savedInstance = gInstance;
    gInstance = GetModuleHandleA(nullptr);
    LiveSample sample = {};
    gLiveSample = &sample;
    NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
    CreateSharedGdi();
    OpenMonitor(MONITOR_USAGE);
    HWND usage = RegisteredView(IDD_USAGE_MONITOR);
    ASSERT_NE(usage, nullptr);

    const SIZE_T opened = CommittedPrivateBytes();
    for (uint32_t value = 0; value <= 100; ++value) {
        sample.cpuUsage = sample.videoLoad = value;
        sample.diskActivity = sample.pagingActivity = 100 - value;
        SendMessageA(usage, NewDataReadyMessage, 0, 0);
    }
    const SIZE_T shown = CommittedPrivateBytes();
    // A little room for the heap; a page for each number icon first shown would be 400 KB.
    EXPECT_LT(shown, opened + 64 * 1024) << "opened " << opened << ", after every value " << shown;

    DestroyWindow(usage);
    DeleteSharedGdi();
    gLiveSample = nullptr;
    gInstance = savedInstance;
}

}  // namespace
