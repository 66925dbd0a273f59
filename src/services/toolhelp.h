#pragma once
#include <windows.h>
#include <tlhelp32.h>

#include <type_traits>

// The toolhelp entry points, looked up in KERNEL32 once at start-up by LoadToolhelp. A
// missing export leaves its pointer null. Structures passed to them set their size field
// to sizeof the structure of this build.
namespace th {
using CreateToolhelp32SnapshotFn = HANDLE(WINAPI*)(DWORD, DWORD);
using Process32Fn = BOOL(WINAPI*)(HANDLE, PROCESSENTRY32*);
using Thread32Fn = BOOL(WINAPI*)(HANDLE, THREADENTRY32*);
using Module32Fn = BOOL(WINAPI*)(HANDLE, MODULEENTRY32*);
using Heap32ListFn = BOOL(WINAPI*)(HANDLE, HEAPLIST32*);
using Heap32FirstFn = BOOL(WINAPI*)(HEAPENTRY32*, DWORD, ULONG_PTR);
using Heap32NextFn = BOOL(WINAPI*)(HEAPENTRY32*);
using ReadProcessMemoryFn = BOOL(WINAPI*)(DWORD, LPCVOID, LPVOID, SIZE_T, SIZE_T*);

extern CreateToolhelp32SnapshotFn CreateToolhelp32Snapshot;
extern Process32Fn Process32First;
extern Process32Fn Process32Next;
extern Thread32Fn Thread32First;
extern Thread32Fn Thread32Next;
extern Module32Fn Module32First;
extern Module32Fn Module32Next;
extern Heap32ListFn Heap32ListFirst;
extern Heap32ListFn Heap32ListNext;
extern Heap32FirstFn Heap32First;
extern Heap32NextFn Heap32Next;
extern ReadProcessMemoryFn Toolhelp32ReadProcessMemory;
}  // namespace th

void LoadToolhelp();

// The walks below take a fresh snapshot, fill each entry with its size field set to
// sizeof the entry, hand every entry to the visitor until the list ends or the visitor
// returns false, and close the snapshot. Each returns false when the snapshot could not
// be taken: an entry point it needs is missing, or the system refused the snapshot (a
// process that does not exist). They need LoadToolhelp to have run.

// A reference to a callable bool(const Entries&...) for the length of one walk: a lambda
// passed to a walk lives until the walk returns, which is all a visitor needs.
template <typename... Entries>
class SnapshotVisitor {
public:
    template <typename Visit,
              typename = std::enable_if_t<!std::is_same<std::decay_t<Visit>, SnapshotVisitor>::value>>
    SnapshotVisitor(Visit&& visit)
        : target_(const_cast<void*>(static_cast<const void*>(&visit))),
          call_([](void* target, const Entries&... entries) {
              return bool((*static_cast<std::remove_reference_t<Visit>*>(target))(entries...));
          })
    {
    }
    bool operator()(const Entries&... entries) const { return call_(target_, entries...); }

private:
    void* target_;
    bool (*call_)(void*, const Entries&...);
};

// Heap walks stop after this many heap lists, and after this many blocks, so that a
// damaged or circular heap list cannot hold the caller forever.
constexpr long kHeapWalkLimit = 1000000;

// Every process. snapshotFlags may ask the snapshot for more kinds of entries besides the
// processes (15: everything); the walk is over its processes.
bool ForEachProcess(SnapshotVisitor<PROCESSENTRY32> visit, DWORD snapshotFlags = TH32CS_SNAPPROCESS);

// Every thread of every process.
bool ForEachThread(SnapshotVisitor<THREADENTRY32> visit);

// Every module of one process.
bool ForEachModule(DWORD processId, SnapshotVisitor<MODULEENTRY32> visit);

// Every heap list of one process, at most kHeapWalkLimit of them.
bool ForEachHeapList(DWORD processId, SnapshotVisitor<HEAPLIST32> visit);

// Every block of every heap list of one process, with the list it belongs to; at most
// kHeapWalkLimit blocks in all. Blocks are asked for only of a heap list the snapshot
// listed: a system without heap lists may not offer the block walk at all.
bool ForEachHeapEntry(DWORD processId, SnapshotVisitor<HEAPLIST32, HEAPENTRY32> visit);
