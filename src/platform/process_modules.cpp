#include <windows.h>

#include "platform/process_modules.h"

#include <vector>

namespace {

using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleBaseNameFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);

struct ModuleCalls {
    EnumProcessModulesFn enumModules = nullptr;
    GetModuleBaseNameFn baseName = nullptr;
};

template <typename Fn>
Fn Lookup(HMODULE module, const char* name)
{
    return module ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// KERNEL32 carries the calls under K32 names from Windows 7 on; earlier systems have them
// in PSAPI.DLL.
const ModuleCalls& Calls()
{
    static const ModuleCalls calls = [] {
        ModuleCalls found;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        found.enumModules = Lookup<EnumProcessModulesFn>(kernel, "K32EnumProcessModules");
        found.baseName = Lookup<GetModuleBaseNameFn>(kernel, "K32GetModuleBaseNameA");
        if (!found.enumModules || !found.baseName) {
            HMODULE psapi = LoadLibraryA("psapi.dll");
            found.enumModules = Lookup<EnumProcessModulesFn>(psapi, "EnumProcessModules");
            found.baseName = Lookup<GetModuleBaseNameFn>(psapi, "GetModuleBaseNameA");
        }
        if (!found.enumModules || !found.baseName) found = ModuleCalls{};
        return found;
    }();
    return calls;
}

}  // namespace

bool HasProcessModuleCalls()
{
    return Calls().enumModules != nullptr;
}

bool ReadProcessModules(DWORD processId, ProcessModules* modules)
{
    *modules = ProcessModules{};
    const ModuleCalls& calls = Calls();
    if (!calls.enumModules) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId);
    if (!process) return true;
    HMODULE first[256];
    HMODULE* handles = first;
    DWORD capacity = sizeof first;
    std::vector<HMODULE> more;
    DWORD needed = 0;
    // The list can grow between two calls: the larger buffer is asked for again until it fits.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (!calls.enumModules(process, handles, capacity, &needed)) {
            needed = 0;
            break;
        }
        if (needed <= capacity) break;
        more.resize(needed / sizeof(HMODULE) + 16);
        handles = more.data();
        capacity = DWORD(more.size() * sizeof(HMODULE));
    }
    if (needed > capacity) needed = 0;  // never settled
    modules->count = needed / sizeof(HMODULE);
    if (modules->count > 0 && !calls.baseName(process, handles[0], modules->firstName, sizeof modules->firstName))
        modules->firstName[0] = '\0';
    CloseHandle(process);
    return true;
}
