// The tick's census through its cache against a full census, while a helper process starts,
// loads a library, starts a thread that loads another and ends; and the two readers the
// tick uses in place of snapshots against the snapshots.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "platform/process_modules.h"
#include "platform/system_processes.h"

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

namespace {

// What a process entry says, field by field, as text: differences print readably.
std::string Describe(const PROCESSENTRY32& p)
{
    return std::string(p.szExeFile) + " id " + std::to_string(p.th32ProcessID) + " parent " +
           std::to_string(p.th32ParentProcessID) + " threads " + std::to_string(p.cntThreads) + " class " +
           std::to_string(p.pcPriClassBase) + " module id " + std::to_string(p.th32ModuleID);
}

std::vector<std::string> SnapshotProcesses()
{
    std::vector<std::string> found;
    ForEachProcess([&](const PROCESSENTRY32& p) { return found.push_back(Describe(p)), true; });
    return found;
}

using ThreadRow = std::tuple<DWORD, DWORD, LONG, LONG>;  // owner, id, base, delta

std::vector<ThreadRow> SnapshotThreads()
{
    std::vector<ThreadRow> found;
    ForEachThread([&](const THREADENTRY32& t) {
        return found.emplace_back(t.th32OwnerProcessID, t.th32ThreadID, t.tpBasePri, t.tpDeltaPri), true;
    });
    std::sort(found.begin(), found.end());
    return found;
}

uint64_t CreationTimeOf(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return 0;
    FILETIME created = {}, exited, kernel, user;
    const bool isRead = GetProcessTimes(process, &created, &exited, &kernel, &user);
    CloseHandle(process);
    return isRead ? (uint64_t(created.dwHighDateTime) << 32) | created.dwLowDateTime : 0;
}

}  // namespace

TEST(SystemProcesses, ListTheProcessesAndThreadsOfTheSnapshots)
{
    LoadToolhelp();
    // A second thread of this process with a priority of its own, so the thread rows differ.
    HANDLE quit = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE other = CreateThread(nullptr, 0, [](LPVOID event) -> DWORD {
        return WaitForSingleObject(event, 60000);
    }, quit, 0, nullptr);
    SetThreadPriority(other, THREAD_PRIORITY_ABOVE_NORMAL);
    SystemProcessList list;
    bool compared = false;
    for (int attempt = 0; attempt < 5 && !compared; ++attempt) {
        const std::vector<std::string> processesBefore = SnapshotProcesses();
        const std::vector<ThreadRow> threadsBefore = SnapshotThreads();
        ASSERT_TRUE(list.Read());
        if (SnapshotProcesses() != processesBefore || SnapshotThreads() != threadsBefore) continue;  // not still
        compared = true;
        std::vector<std::string> listed;
        for (const SystemProcess& p : list.Processes()) listed.push_back(Describe(p.entry));
        EXPECT_EQ(listed, processesBefore);
        std::vector<ThreadRow> threads;
        for (const THREADENTRY32& t : list.Threads())
            threads.emplace_back(t.th32OwnerProcessID, t.th32ThreadID, t.tpBasePri, t.tpDeltaPri);
        std::sort(threads.begin(), threads.end());
        EXPECT_EQ(threads, threadsBefore);
        size_t ownThreads = 0;
        for (const SystemProcess& p : list.Processes()) {
            SCOPED_TRACE(Describe(p.entry));
            EXPECT_EQ(p.entry.dwSize, sizeof p.entry);
            EXPECT_NE(p.createdTime, 0u);
            // A process that cannot be opened has no creation time to compare.
            const uint64_t created = CreationTimeOf(p.entry.th32ProcessID);
            if (created != 0) EXPECT_EQ(p.createdTime, created);
            if (p.entry.th32ProcessID == GetCurrentProcessId()) ownThreads = p.entry.cntThreads;
        }
        EXPECT_GE(ownThreads, 2u);
    }
    EXPECT_TRUE(compared) << "the system never held still for a comparison";
    SetEvent(quit);
    WaitForSingleObject(other, 5000);
    CloseHandle(other);
    CloseHandle(quit);
}

TEST(ProcessModules, CountAndFirstNameAsTheModuleSnapshotHasThem)
{
    LoadToolhelp();
    ASSERT_TRUE(HasProcessModuleCalls());
    HelperEvents events;
    PROCESS_INFORMATION helper = StartHelperTest("CensusHelper.DISABLED_LoadsWhenTold");
    ASSERT_EQ(WaitForSingleObject(events.ready, 20000), WAIT_OBJECT_0);
    SetEvent(events.load);  // a library loaded after start-up is counted too
    ASSERT_EQ(WaitForSingleObject(events.ready, 20000), WAIT_OBJECT_0);
    std::vector<DWORD> ids;
    ForEachProcess([&](const PROCESSENTRY32& p) { return ids.push_back(p.th32ProcessID), true; });
    size_t compared = 0;
    bool sawHelper = false;
    for (DWORD id : ids) {
        SCOPED_TRACE("process " + std::to_string(id));
        auto snapshot = [&] {
            std::pair<uint32_t, std::string> found(0, "");
            ForEachModule(id, [&](const MODULEENTRY32& m) {
                if (found.first++ == 0) found.second = m.szModule;
                return true;
            });
            return found;
        };
        for (int attempt = 0; attempt < 3; ++attempt) {
            const auto before = snapshot();
            ProcessModules modules;
            ASSERT_TRUE(ReadProcessModules(id, &modules));
            if (snapshot() != before) continue;  // loading or unloading meanwhile
            EXPECT_EQ(modules.count, before.first);
            EXPECT_EQ(std::string(modules.firstName), before.second);
            ++compared;
            if (id == helper.dwProcessId) {
                sawHelper = true;
                EXPECT_GT(modules.count, 2u);
                EXPECT_STRCASEEQ(modules.firstName, "win_tests.exe");
            }
            break;
        }
    }
    EXPECT_TRUE(sawHelper);
    EXPECT_EQ(compared, ids.size());
    // A process that is gone: nothing to count, as with a snapshot the system refuses.
    SetEvent(events.quit);
    EndHelperProcess(&helper, 5000);
    ProcessModules gone;
    EXPECT_TRUE(ReadProcessModules(helper.dwProcessId, &gone));
    EXPECT_EQ(gone.count, 0u);
    EXPECT_STREQ(gone.firstName, "");
}
