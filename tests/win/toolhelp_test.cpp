// The toolhelp walks under Wine: this process, its threads and its own module; walks the
// visitor stops; failed snapshots; and the heap walks, which Wine does not offer, over
// stand-in heap lists where a list has to be found.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "services/toolhelp.h"

namespace {

DWORD WINAPI WaitForEvent(LPVOID event)
{
    WaitForSingleObject(HANDLE(event), 10000);
    return 0;
}

// A process id no process has: ids are multiples of 4.
const DWORD kNoProcess = 0xFFFFFFF1;

}  // namespace

TEST(Toolhelp, WalksFindThisProcessItsThreadsAndItsOwnModule)
{
    LoadToolhelp();
    const DWORD self = GetCurrentProcessId();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    for (DWORD flags : {DWORD(TH32CS_SNAPPROCESS), DWORD(15)}) {
        SCOPED_TRACE(flags);
        int processes = 0, selves = 0;
        EXPECT_TRUE(ForEachProcess(
            [&](const PROCESSENTRY32& process) {
                ++processes;
                selves += process.th32ProcessID == self && !lstrcmpiA(process.szExeFile, strrchr(exe, '\\') + 1);
                return true;
            },
            flags));
        EXPECT_GT(processes, 1);
        EXPECT_EQ(selves, 1);
    }

    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD otherId = 0;
    HANDLE other = CreateThread(nullptr, 0, WaitForEvent, release, 0, &otherId);
    int foundOther = 0, foundThis = 0;
    EXPECT_TRUE(ForEachThread([&](const THREADENTRY32& thread) {
        if (thread.th32OwnerProcessID != self) return true;
        foundThis += thread.th32ThreadID == GetCurrentThreadId();
        foundOther += thread.th32ThreadID == otherId;
        return true;
    }));
    EXPECT_EQ(foundThis, 1);
    EXPECT_EQ(foundOther, 1);
    SetEvent(release);
    WaitForSingleObject(other, 10000);
    CloseHandle(other);
    CloseHandle(release);

    int exeModules = 0, kernelModules = 0;
    EXPECT_TRUE(ForEachModule(self, [&](const MODULEENTRY32& module) {
        exeModules += !lstrcmpiA(module.szExePath, exe) && module.hModule == GetModuleHandleA(nullptr);
        kernelModules += !lstrcmpiA(module.szModule, "kernel32.dll");
        return true;
    }));
    EXPECT_EQ(exeModules, 1);
    EXPECT_EQ(kernelModules, 1);
}

TEST(Toolhelp, TheVisitorEndsTheWalk)
{
    LoadToolhelp();
    // Each walk visits until the visitor has seen stopAt entries.
    const struct {
        const char* name;
        bool (*walk)(int stopAt, int* visits);
    } walks[] = {
        {"processes",
         [](int stopAt, int* visits) {
             return ForEachProcess([&](const PROCESSENTRY32&) { return ++*visits < stopAt; });
         }},
        {"threads",
         [](int stopAt, int* visits) {
             return ForEachThread([&](const THREADENTRY32&) { return ++*visits < stopAt; });
         }},
        {"modules",
         [](int stopAt, int* visits) {
             return ForEachModule(GetCurrentProcessId(), [&](const MODULEENTRY32&) { return ++*visits < stopAt; });
         }},
    };
    for (const auto& walk : walks) {
        SCOPED_TRACE(walk.name);
        int all = 0;
        EXPECT_TRUE(walk.walk(INT_MAX, &all));
        EXPECT_GT(all, 2);
        for (int stopAt : {1, 2}) {
            int visits = 0;
            EXPECT_TRUE(walk.walk(stopAt, &visits));
            EXPECT_EQ(visits, stopAt);
        }
    }
}

TEST(Toolhelp, WalksReportSnapshotsThatCannotBeTakenAndVisitNothing)
{
    // Wine takes no heap-list snapshot, and its block walk would end this process: the
    // heap walks must come back having visited nothing.
    LoadToolhelp();
    int visits = 0;
    auto count = [&](const auto&...) { return ++visits, true; };
    EXPECT_FALSE(ForEachModule(kNoProcess, count));
    EXPECT_FALSE(ForEachHeapList(kNoProcess, count));
    EXPECT_FALSE(ForEachHeapEntry(kNoProcess, count));
    ForEachHeapList(GetCurrentProcessId(), count);
    ForEachHeapEntry(GetCurrentProcessId(), count);
    th::Module32Next = nullptr;
    EXPECT_FALSE(ForEachModule(GetCurrentProcessId(), count));
    th::CreateToolhelp32Snapshot = nullptr;
    EXPECT_FALSE(ForEachProcess(count));
    EXPECT_FALSE(ForEachThread(count));
    EXPECT_EQ(visits, 0);
    LoadToolhelp();
}

// Stand-in heap lists and blocks: `lists` heap lists of `blocks` blocks each.
namespace {
struct FakeHeaps {
    long lists, blocks;
    long list, block;    // positions of the walks
    int blockWalks;      // calls of the block walk's first step
    bool entriesRight;   // sizes, and the ids the block walk was given
    HANDLE snapshot;
} fake;

const ULONG_PTR kHeapIdBase = 0x10000;

HANDLE WINAPI FakeSnapshot(DWORD flags, DWORD processId)
{
    fake.snapshot = flags == TH32CS_SNAPHEAPLIST ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : INVALID_HANDLE_VALUE;
    return fake.snapshot;
}

BOOL FakeList(HEAPLIST32* heap)
{
    fake.entriesRight &= heap->dwSize == sizeof *heap;
    heap->th32ProcessID = 1234;
    heap->th32HeapID = kHeapIdBase + fake.list;
    return fake.list < fake.lists;
}
BOOL WINAPI FakeListFirst(HANDLE, HEAPLIST32* heap) { return fake.list = 0, FakeList(heap); }
BOOL WINAPI FakeListNext(HANDLE, HEAPLIST32* heap) { return ++fake.list, FakeList(heap); }

BOOL FakeBlock(HEAPENTRY32* block)
{
    fake.entriesRight &= block->dwSize == sizeof *block;
    return fake.block < fake.blocks;
}
BOOL WINAPI FakeBlockFirst(HEAPENTRY32* block, DWORD processId, ULONG_PTR heapId)
{
    ++fake.blockWalks;
    fake.entriesRight &= processId == 1234 && heapId == kHeapIdBase + fake.list;
    return fake.block = 0, FakeBlock(block);
}
BOOL WINAPI FakeBlockNext(HEAPENTRY32* block) { return ++fake.block, FakeBlock(block); }
}  // namespace

TEST(Toolhelp, HeapWalksVisitFoundListsOnlyAndStopAtTheLimit)
{
    th::CreateToolhelp32Snapshot = FakeSnapshot;
    th::Heap32ListFirst = FakeListFirst;
    th::Heap32ListNext = FakeListNext;
    th::Heap32First = FakeBlockFirst;
    th::Heap32Next = FakeBlockNext;
    const long kEndless = LONG_MAX;
    const struct {
        long lists, blocks;
        long stopAt;  // the visitor's last entry
        long listVisits, blockVisits, blockWalks;
    } cases[] = {
        {0, 5, kEndless, 0, 0, 0},                    // no heap list: no block walk at all
        {3, 2, kEndless, 3, 6, 3},                    //
        {3, 5, 4, 1, 4, 1},                           // the visitor stops in the first list
        {1, kEndless, kEndless, 1, kHeapWalkLimit, 1},  // blocks count towards the limit,
        {3, 400000, kEndless, 3, kHeapWalkLimit, 3},    // over all lists together
        {kEndless, 0, kEndless, kHeapWalkLimit, 0, kHeapWalkLimit},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lists << " lists of " << c.blocks << " blocks, stop at " << c.stopAt);
        fake = FakeHeaps{c.lists, c.blocks, 0, 0, 0, true, nullptr};
        // Whether the snapshot was closed is asked at once: a failure's message may take
        // the freed handle value.
        long lists = 0;
        bool taken = ForEachHeapList(1234, [&](const HEAPLIST32&) { return ++lists < c.stopAt; });
        bool leftOpen = GetHandleInformation(fake.snapshot, nullptr);
        EXPECT_TRUE(taken && !leftOpen);
        EXPECT_EQ(lists, std::min(c.lists, std::min(c.stopAt, kHeapWalkLimit)));
        EXPECT_EQ(fake.blockWalks, 0);

        long blocks = 0;
        ULONG_PTR lastHeap = 0;
        taken = ForEachHeapEntry(1234, [&](const HEAPLIST32& heap, const HEAPENTRY32&) {
            lastHeap = heap.th32HeapID;
            return ++blocks < c.stopAt;
        });
        leftOpen = GetHandleInformation(fake.snapshot, nullptr);
        EXPECT_TRUE(taken && !leftOpen);
        EXPECT_EQ(blocks, c.blockVisits);
        EXPECT_EQ(fake.blockWalks, c.blockWalks);
        if (blocks) EXPECT_EQ(lastHeap, kHeapIdBase + c.listVisits - 1);
        EXPECT_TRUE(fake.entriesRight);
    }
    // Without the block walk's entry points no snapshot is taken.
    th::Heap32Next = nullptr;
    fake = FakeHeaps{1, 1, 0, 0, 0, true, nullptr};
    EXPECT_FALSE(ForEachHeapEntry(1234, [](const HEAPLIST32&, const HEAPENTRY32&) { return true; }));
    EXPECT_EQ(fake.snapshot, nullptr);
    LoadToolhelp();
}
