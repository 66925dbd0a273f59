#include <windows.h>

#include "services/toolhelp.h"

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
    // The ANSI exports carry the plain names on every system this runs on.
    HMODULE kernel = GetModuleHandleA("KERNEL32.DLL");
    Lookup(kernel, "Module32First", th::Module32First);
    Lookup(kernel, "Module32Next", th::Module32Next);
    Lookup(kernel, "CreateToolhelp32Snapshot", th::CreateToolhelp32Snapshot);
    Lookup(kernel, "Thread32First", th::Thread32First);
    Lookup(kernel, "Thread32Next", th::Thread32Next);
    Lookup(kernel, "Process32First", th::Process32First);
    Lookup(kernel, "Process32Next", th::Process32Next);
    Lookup(kernel, "Heap32First", th::Heap32First);
    Lookup(kernel, "Heap32Next", th::Heap32Next);
    Lookup(kernel, "Heap32ListFirst", th::Heap32ListFirst);
    Lookup(kernel, "Heap32ListNext", th::Heap32ListNext);
    Lookup(kernel, "Toolhelp32ReadProcessMemory", th::Toolhelp32ReadProcessMemory);
}
