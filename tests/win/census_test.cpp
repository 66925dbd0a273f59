// The tick's census through its cache against a full census, while a helper process starts,
// loads a library, starts a thread that loads another and ends.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "sampling/census_cache.h"
#include "sampling/sample_tick.h"
#include "sampling/tick.h"
#include "services/toolhelp.h"
#include "test_windows.h"

namespace {

// The helper's commands, created by the test before the helper starts.
struct HelperEvents {
    HANDLE ready = CreateEventA(nullptr, FALSE, FALSE, "HalvornCensusHelperReady");
    HANDLE load = CreateEventA(nullptr, FALSE, FALSE, "HalvornCensusHelperLoad");
    HANDLE thread = CreateEventA(nullptr, FALSE, FALSE, "HalvornCensusHelperThread");
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, "HalvornCensusHelperQuit");
    ~HelperEvents()
    {
        for (HANDLE event : {ready, load, thread, quit}) CloseHandle(event);
    }
};

DWORD WINAPI LoadThenWait(LPVOID parameter)
{
    HelperEvents* events = static_cast<HelperEvents*>(parameter);
    LoadLibraryA("imagehlp.dll");
    SetEvent(events->ready);
    WaitForSingleObject(events->quit, 60000);
    return 0;
}

const char* const kFigureNames[] = {"processes", "threads", "modules", "windows", "apps16", "apps32", "appsDos"};
constexpr size_t kModulesFigure = 2;

// The census figures of one reading; thread priorities follow the named figures.
std::vector<uint32_t> Census(CensusCache* cache)
{
    TickInputs in;
    ReadCensus(&in, cache, GetTickCount());
    std::vector<uint32_t> figures = {in.processes, in.threads, in.modules, in.windows, in.apps16, in.apps32, in.appsDos};
    figures.insert(figures.end(), in.threadPriorities, in.threadPriorities + kThreadPriorityBuckets);
    return figures;
}

std::string FigureName(size_t index)
{
    return index < 7 ? kFigureNames[index] : "threads at priority " + std::to_string(index - 7);
}

// The figures that differ, "name cached/full", or "" when there are none but skipFigure.
std::string Differences(const std::vector<uint32_t>& cached, const std::vector<uint32_t>& full,
                        size_t skipFigure = SIZE_MAX)
{
    std::string text;
    for (size_t i = 0; i < full.size(); ++i)
        if (i != skipFigure && cached[i] != full[i])
            text += FigureName(i) + " " + std::to_string(cached[i]) + "/" + std::to_string(full[i]) + "; ";
    return text;
}

// One cached tick between two full censuses must equal them (but for skipFigure); when the
// two full ones differ, something else changed meanwhile and the step is taken again.
testing::AssertionResult CachedTickMatches(CensusCache* cache, size_t skipFigure = SIZE_MAX)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::vector<uint32_t> before = Census(nullptr);
        const std::vector<uint32_t> cached = Census(cache);
        const std::vector<uint32_t> after = Census(nullptr);
        if (before != after) continue;
        const std::string differences = Differences(cached, before, skipFigure);
        if (differences.empty()) return testing::AssertionSuccess();
        return testing::AssertionFailure() << "cached/full: " << differences;
    }
    return testing::AssertionFailure() << "the system never held still for a census";
}

}  // namespace

// Helper process: loads a library, or starts a thread that loads another, each time it is
// told, and says when it is done; ends when told.
TEST(CensusHelper, DISABLED_LoadsWhenTold)
{
    HelperEvents events;
    SetEvent(events.ready);
    for (;;) {
        HANDLE commands[] = {events.load, events.thread, events.quit};
        const DWORD command = WaitForMultipleObjects(3, commands, FALSE, 60000);
        if (command == WAIT_OBJECT_0) {
            LoadLibraryA("cabinet.dll");
            SetEvent(events.ready);
        } else if (command == WAIT_OBJECT_0 + 1) {
            CloseHandle(CreateThread(nullptr, 0, LoadThenWait, &events, 0, nullptr));
        } else {
            return;
        }
    }
}

TEST(Census, TheCachedCensusEqualsTheFullOne)
{
    LoadToolhelp();
    HelperEvents events;
    CensusCache cache;
    Census(nullptr);  // anything a census loads into this process is loaded now
    for (int tick = 0; tick < 12; ++tick) ASSERT_TRUE(CachedTickMatches(&cache)) << "quiet tick " << tick;

    // A new process is read at its first tick.
    PROCESS_INFORMATION helper = StartHelperTest("CensusHelper.DISABLED_LoadsWhenTold");
    struct HelperEnd {
        HelperEvents& events;
        PROCESS_INFORMATION& helper;
        ~HelperEnd()
        {
            SetEvent(events.quit);
            EndHelperProcess(&helper, 5000);
        }
    } helperEnd{events, helper};
    ASSERT_EQ(WaitForSingleObject(events.ready, 20000), WAIT_OBJECT_0);
    const std::vector<uint32_t> started = Census(nullptr);
    EXPECT_TRUE(CachedTickMatches(&cache)) << "after the helper started";

    // A library loaded on a thread that was there: the thread count stays, so the cache
    // may count the old modules until the helper's turn comes, and no longer.
    SetEvent(events.load);
    ASSERT_EQ(WaitForSingleObject(events.ready, 20000), WAIT_OBJECT_0);
    const std::vector<uint32_t> loaded = Census(nullptr);
    ASSERT_GT(loaded[kModulesFigure], started[kModulesFigure]);
    ASSERT_EQ(loaded[1], started[1]);
    for (uint32_t tick = 0; tick < CensusCache::kRevisitTicks; ++tick)
        EXPECT_TRUE(CachedTickMatches(&cache, kModulesFigure)) << "waiting for the turn, tick " << tick;
    for (int tick = 0; tick < 3; ++tick) EXPECT_TRUE(CachedTickMatches(&cache)) << "after the turn, tick " << tick;

    // A new thread that loads a library changes the thread count: read at the next tick.
    SetEvent(events.thread);
    ASSERT_EQ(WaitForSingleObject(events.ready, 20000), WAIT_OBJECT_0);
    EXPECT_GT(Census(nullptr)[kModulesFigure], loaded[kModulesFigure]);
    EXPECT_TRUE(CachedTickMatches(&cache)) << "after the new thread";

    // An ended process is forgotten at the next tick.
    SetEvent(events.quit);
    EXPECT_EQ(WaitForSingleObject(helper.hProcess, 20000), WAIT_OBJECT_0);
    EndHelperProcess(&helper);
    EXPECT_TRUE(CachedTickMatches(&cache)) << "after the helper ended";
    EXPECT_EQ(cache.Size(), Census(nullptr)[0]);
}
