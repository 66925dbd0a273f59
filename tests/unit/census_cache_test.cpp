// Which processes the census reads again each tick, and what it remembers of the others.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "sampling/census_cache.h"

namespace {

CensusProcess Process(uint32_t id, uint32_t threads = 4, uint64_t created = 0, uint32_t parent = 1,
                      const char* exe = nullptr)
{
    CensusProcess process;
    process.id = id;
    process.createdTime = created ? created : 1000 + id;
    process.parentId = parent;
    process.exeName = exe ? exe : "prog" + std::to_string(id) + ".exe";
    process.threadCount = threads;
    return process;
}

CensusProcess Unopened(uint32_t id, uint32_t parent, const char* exe)
{
    CensusProcess process = Process(id, 4, 0, parent, exe);
    process.createdTime = 0;
    return process;
}

struct TickCase {
    uint32_t nowMs;
    std::vector<CensusProcess> seen;
    std::set<uint32_t> readIds;  // the process ids the cache must ask to read
};

struct Scenario {
    const char* name;
    std::vector<TickCase> ticks;
};

const std::vector<CensusProcess> kThree = {Process(1), Process(2), Process(3)};

// Three processes make a turn of one process a tick: the least recently read, lowest id first.
const Scenario kScenarios[] = {
    {"new processes are read, the others in turn",
     {{0, kThree, {1, 2, 3}}, {100, kThree, {1}}, {200, kThree, {2}}, {300, kThree, {3}}, {400, kThree, {1}}}},
    {"a changed thread count is read at once",
     {{0, kThree, {1, 2, 3}}, {100, {Process(1), Process(2), Process(3, 5)}, {1, 3}},
      {200, {Process(1), Process(2), Process(3, 5)}, {2}}, {300, {Process(1), Process(2), Process(3, 2)}, {1, 3}}}},
    {"an id reused by a later process is read",
     {{0, kThree, {1, 2, 3}}, {100, {Process(1), Process(2), Process(3, 4, 7777)}, {1, 3}}}},
    {"an unopened process is known by parent and executable",
     {{0, {Process(1), Unopened(2, 1, "a.exe"), Unopened(3, 1, "b.exe")}, {1, 2, 3}},
      {100, {Process(1), Unopened(2, 1, "a.exe"), Unopened(3, 1, "b.exe")}, {1}},
      {200, {Process(1), Unopened(2, 1, "c.exe"), Unopened(3, 9, "b.exe")}, {1, 2, 3}},
      {300, {Process(1), Unopened(2, 1, "c.exe"), Unopened(3, 9, "b.exe")}, {1}}}},
    {"a process that could be opened and now cannot is read",
     {{0, kThree, {1, 2, 3}}, {100, {Process(1), Process(2), Unopened(3, 1, "prog3.exe")}, {1, 3}}}},
    {"a process that is gone and comes back is read as new",
     {{0, kThree, {1, 2, 3}}, {100, {Process(1), Process(3)}, {1}}, {200, kThree, {2, 3}}}},
    {"the order of the snapshot does not matter",
     {{0, kThree, {1, 2, 3}}, {100, {Process(3), Process(1), Process(2)}, {1}},
      {200, {Process(2), Process(3), Process(1)}, {2}}}},
    {"a process last read the revisit time ago is read",
     {{0, kThree, {1, 2, 3}}, {100, kThree, {1}}, {8999, kThree, {2}}, {9000, kThree, {1, 3}},
      {9100, kThree, {2}}, {17999, kThree, {1}}, {18000, kThree, {2, 3}}}},
    {"the revisit time survives the clock's wrap",
     {{0xFFFFF000u, kThree, {1, 2, 3}}, {0x00001000u, kThree, {1}}, {0x00002428u, kThree, {1, 2, 3}}}},
};

TEST(CensusCache, ReadsWhatChangedAndKeepsTheRest)
{
    for (const Scenario& scenario : kScenarios) {
        SCOPED_TRACE(scenario.name);
        CensusCache cache;
        std::map<uint32_t, ProcessFacts> lastRead;  // what the test stored for each id
        int tickNumber = 0;
        for (const TickCase& tick : scenario.ticks) {
            SCOPED_TRACE("tick " + std::to_string(++tickNumber));
            const std::vector<size_t>& reads = cache.Plan(tick.seen, tick.nowMs);
            EXPECT_TRUE(std::is_sorted(reads.begin(), reads.end()));
            std::set<uint32_t> readIds;
            for (size_t position : reads) {
                ASSERT_LT(position, tick.seen.size());
                const uint32_t id = tick.seen[position].id;
                readIds.insert(id);
                const ProcessFacts facts{id * 100 + tickNumber, int(id % 3) + 1};
                cache.Store(position, facts);
                lastRead[id] = facts;
            }
            EXPECT_EQ(readIds, tick.readIds);
            EXPECT_EQ(cache.Size(), tick.seen.size());
            for (size_t i = 0; i < tick.seen.size(); ++i) {
                const ProcessFacts& expected = lastRead[tick.seen[i].id];
                EXPECT_EQ(cache.FactsOf(i).modules, expected.modules) << "process " << tick.seen[i].id;
                EXPECT_EQ(cache.FactsOf(i).kind, expected.kind) << "process " << tick.seen[i].id;
            }
        }
    }
}

// A process planned for a read that did not happen is not taken as read.
TEST(CensusCache, AProcessNotStoredIsReadNextTick)
{
    CensusCache cache;
    const std::vector<size_t> first = cache.Plan(kThree, 0);
    cache.Store(0, ProcessFacts{5, 3});
    cache.Store(2, ProcessFacts{6, 3});
    const std::vector<size_t> second = cache.Plan(kThree, 100);
    EXPECT_EQ(second, (std::vector<size_t>{0, 1}));  // 2 is unread, 1 is the turn
    EXPECT_EQ(cache.FactsOf(1).modules, 0u);
}

// However many processes there are, each tick reads its share and every process has been
// read again within the revisit count of ticks, while some come and go.
TEST(CensusCache, EveryProcessIsRevisitedWithinTheRevisitTicks)
{
    for (uint32_t count : {1u, 8u, 9u, 10u, 40u, 200u}) {
        SCOPED_TRACE(std::to_string(count) + " processes");
        CensusCache cache;
        std::vector<CensusProcess> seen;
        for (uint32_t id = 1; id <= count; ++id) seen.push_back(Process(id * 4));
        std::map<uint32_t, int> lastReadTick;
        const size_t share = (count + CensusCache::kRevisitTicks - 1) / CensusCache::kRevisitTicks;
        for (int tick = 0; tick < 60; ++tick) {
            // A newcomer every seventh tick replaces the oldest process.
            if (tick > 0 && tick % 7 == 0) {
                lastReadTick.erase(seen.front().id);
                seen.erase(seen.begin());
                seen.push_back(Process(100000 + tick));
            }
            const std::vector<size_t>& reads = cache.Plan(seen, 0);  // the clock stands still
            size_t newcomers = 0;
            for (size_t position : reads) {
                newcomers += lastReadTick.count(seen[position].id) == 0;
                lastReadTick[seen[position].id] = tick;
                cache.Store(position, ProcessFacts{1, 3});
            }
            if (tick > 0) EXPECT_EQ(reads.size() - newcomers, std::min(share, seen.size() - newcomers)) << "tick " << tick;
            for (const CensusProcess& process : seen)
                ASSERT_LT(tick - lastReadTick[process.id], int(CensusCache::kRevisitTicks))
                    << "process " << process.id << " at tick " << tick;
        }
    }
}

}  // namespace
