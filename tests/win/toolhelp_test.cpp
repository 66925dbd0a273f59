// The toolhelp walks under Wine: this process, this thread and this program's module, and
// failed snapshots; and the heap walks, which Wine does not offer, over stand-in heap lists.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "services/toolhelp.h"

namespace {

// The visitor's stop, the entry sizes and the closing of the snapshot are the same code for
// every walk: the stand-in heap walks below check them.
TEST(Toolhelp, EachWalkFindsThisProgramsOwnEntryAndAFailedSnapshotVisitsNothing)
{
    LoadToolhelp();
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    int processes = 0, threads = 0, modules = 0;
    EXPECT_TRUE(ForEachProcess([&](const PROCESSENTRY32& p) {
        return processes += p.th32ProcessID == GetCurrentProcessId() && !lstrcmpiA(p.szExeFile, strrchr(exe, '\\') + 1), true;
    }));
    EXPECT_TRUE(ForEachThread([&](const THREADENTRY32& t) { return threads += t.th32ThreadID == GetCurrentThreadId(), true; }));
    EXPECT_TRUE(ForEachModule(GetCurrentProcessId(), [&](const MODULEENTRY32& m) {
        return modules += m.hModule == GetModuleHandleA(nullptr) && !lstrcmpiA(m.szExePath, exe), true;
    }));
    EXPECT_EQ(std::vector<int>({processes, threads, modules}), std::vector<int>({1, 1, 1}));

    // Wine takes no heap-list snapshot, and its block walk would end this process.
    int visits = 0;
    auto count = [&](const auto&...) { return ++visits, true; };
    const DWORD kNoProcess = 0xFFFFFFF1;  // ids are multiples of 4
    EXPECT_FALSE(ForEachModule(kNoProcess, count));
    EXPECT_FALSE(ForEachHeapEntry(kNoProcess, count));
    ForEachHeapEntry(GetCurrentProcessId(), count);
    th::Module32Next = nullptr;
    EXPECT_FALSE(ForEachModule(GetCurrentProcessId(), count));
    th::CreateToolhelp32Snapshot = nullptr;
    EXPECT_FALSE(ForEachProcess(count));
    EXPECT_EQ(visits, 0);
    LoadToolhelp();
}

// Stand-in heap walks: `lists` heap lists of `blocks` blocks each.
struct FakeHeaps {
    long lists, blocks;
    long list, block;    // positions of the walks
    long blockWalks;     // calls of the block walk's first step
    bool entriesRight;   // sizes, and the ids the block walk was given
    HANDLE snapshot;
} fake;

const ULONG_PTR kHeapIdBase = 0x10000;

HANDLE WINAPI FakeSnapshot(DWORD flags, DWORD)
{
    return fake.snapshot = flags == TH32CS_SNAPHEAPLIST ? CreateEventA(nullptr, FALSE, FALSE, nullptr) : INVALID_HANDLE_VALUE;
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

TEST(Toolhelp, HeapWalksVisitFoundListsOnlyAndStopAtTheLimit)
{
    th::CreateToolhelp32Snapshot = FakeSnapshot;
    th::Heap32ListFirst = FakeListFirst;
    th::Heap32ListNext = FakeListNext;
    th::Heap32First = FakeBlockFirst;
    th::Heap32Next = FakeBlockNext;
    const struct { long lists, blocks, stopAt, blockVisits, blockWalks; } cases[] = {
        {0, 5, LONG_MAX, 0, 0},                               // no heap list: no block walk at all
        {3, 5, 4, 4, 1},                                      // the visitor stops in the first list
        {3, 400000, LONG_MAX, kHeapWalkLimit, 3},             // blocks of all lists count towards the limit
        {LONG_MAX, 0, LONG_MAX, 0, kHeapWalkLimit},           // and so do the lists
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lists << " lists of " << c.blocks << " blocks, stop at " << c.stopAt);
        fake = FakeHeaps{c.lists, c.blocks, 0, 0, 0, true, nullptr};
        long blocks = 0;
        ULONG_PTR lastHeap = 0;
        const bool taken = ForEachHeapEntry(1234, [&](const HEAPLIST32& heap, const HEAPENTRY32&) {
            lastHeap = heap.th32HeapID;
            return ++blocks < c.stopAt;
        });
        // Asked at once: a failure's message may take the freed handle value.
        const bool leftOpen = GetHandleInformation(fake.snapshot, nullptr);
        EXPECT_TRUE(taken && !leftOpen);
        EXPECT_EQ(std::make_pair(blocks, fake.blockWalks), std::make_pair(c.blockVisits, c.blockWalks));
        if (blocks) EXPECT_EQ(lastHeap, kHeapIdBase + c.blockWalks - 1);
        EXPECT_TRUE(fake.entriesRight);
    }
    // Without the block walk's entry points no snapshot is taken.
    th::Heap32Next = nullptr;
    fake = FakeHeaps{1, 1, 0, 0, 0, true, nullptr};
    EXPECT_FALSE(ForEachHeapEntry(1234, [](const HEAPLIST32&, const HEAPENTRY32&) { return true; }));
    EXPECT_EQ(fake.snapshot, nullptr);
    LoadToolhelp();
}

}  // namespace
