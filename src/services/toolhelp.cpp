#include <windows.h>

#include "services/toolhelp.h"

#include <climits>

namespace th {
CreateToolhelp32SnapshotFn CreateToolhelp32Snapshot;
Process32Fn Process32First;
Process32Fn Process32Next;
Thread32Fn Thread32First;
Thread32Fn Thread32Next;
Module32Fn Module32First;
Module32Fn Module32Next;
Heap32ListFn Heap32ListFirst;
Heap32ListFn Heap32ListNext;
Heap32FirstFn Heap32First;
Heap32NextFn Heap32Next;
ReadProcessMemoryFn Toolhelp32ReadProcessMemory;
}  // namespace th

template <typename Fn>
static void Lookup(HMODULE kernel, const char* name, Fn& slot)
{
    slot = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

void LoadToolhelp()
{
    // The ANSI exports carry the plain names on every system this runs on, and each slot
    // is named after the export it holds.
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
#define LOOKUP(name) Lookup(kernel, #name, th::name)
    LOOKUP(CreateToolhelp32Snapshot);
    LOOKUP(Process32First);
    LOOKUP(Process32Next);
    LOOKUP(Thread32First);
    LOOKUP(Thread32Next);
    LOOKUP(Module32First);
    LOOKUP(Module32Next);
    LOOKUP(Heap32ListFirst);
    LOOKUP(Heap32ListNext);
    LOOKUP(Heap32First);
    LOOKUP(Heap32Next);
    LOOKUP(Toolhelp32ReadProcessMemory);
#undef LOOKUP
}

template <typename Entry>
using WalkStep = BOOL(WINAPI*)(HANDLE, Entry*);

// Walks a fresh snapshot (flags, processId) from first through next, visiting at most
// limit entries.
template <typename Entry>
static bool WalkSnapshot(DWORD flags, DWORD processId, WalkStep<Entry> first, WalkStep<Entry> next,
                         SnapshotVisitor<Entry> visit, long limit = LONG_MAX)
{
    if (!th::CreateToolhelp32Snapshot || !first || !next) return false;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(flags, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return false;
    Entry entry = {};
    entry.dwSize = sizeof entry;
    long visits = 0;
    for (BOOL more = first(snapshot, &entry); more; more = next(snapshot, &entry))
        if (!visit(entry) || ++visits >= limit) break;
    CloseHandle(snapshot);
    return true;
}

bool ForEachProcess(SnapshotVisitor<PROCESSENTRY32> visit, DWORD snapshotFlags)
{
    return WalkSnapshot<PROCESSENTRY32>(snapshotFlags, 0, th::Process32First, th::Process32Next, visit);
}

bool ForEachThread(SnapshotVisitor<THREADENTRY32> visit)
{
    return WalkSnapshot<THREADENTRY32>(TH32CS_SNAPTHREAD, 0, th::Thread32First, th::Thread32Next, visit);
}

bool ForEachModule(DWORD processId, SnapshotVisitor<MODULEENTRY32> visit)
{
    return WalkSnapshot<MODULEENTRY32>(TH32CS_SNAPMODULE, processId, th::Module32First, th::Module32Next, visit);
}

bool ForEachHeapList(DWORD processId, SnapshotVisitor<HEAPLIST32> visit)
{
    return WalkSnapshot<HEAPLIST32>(TH32CS_SNAPHEAPLIST, processId, th::Heap32ListFirst, th::Heap32ListNext, visit,
                                    kHeapWalkLimit);
}

bool ForEachHeapEntry(DWORD processId, SnapshotVisitor<HEAPLIST32, HEAPENTRY32> visit)
{
    if (!th::Heap32First || !th::Heap32Next) return false;
    long blocks = 0;
    return ForEachHeapList(processId, [&](const HEAPLIST32& heap) {
        HEAPENTRY32 block = {};
        block.dwSize = sizeof block;
        for (BOOL found = th::Heap32First(&block, heap.th32ProcessID, heap.th32HeapID); found;
             found = th::Heap32Next(&block))
            if (!visit(heap, block) || ++blocks >= kHeapWalkLimit) return false;
        return true;
    });
}
