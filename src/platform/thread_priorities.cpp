#include <windows.h>

#include "platform/thread_priorities.h"

#include <algorithm>
#include <climits>

#include "platform/host_system.h"
#include "platform/thread_levels.h"
#include "services/toolhelp.h"

void ThreadPriorities::Note(const PROCESSENTRY32& process)
{
    if (!IsWineHost()) return;
    classCodes_.emplace_back(process.th32ProcessID, process.pcPriClassBase);
    sorted_ = false;
}

void ThreadPriorities::ReadProcesses()
{
    if (!IsWineHost() || !th::CreateToolhelp32Snapshot || !th::Process32First || !th::Process32Next) return;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    for (BOOL more = th::Process32First(snapshot, &process); more; more = th::Process32Next(snapshot, &process))
        Note(process);
    CloseHandle(snapshot);
}

long ThreadPriorities::BaseOf(const THREADENTRY32& thread)
{
    if (!IsWineHost()) return thread.tpBasePri;
    if (!sorted_) {
        std::sort(classCodes_.begin(), classCodes_.end());
        sorted_ = true;
    }
    const auto found = std::lower_bound(classCodes_.begin(), classCodes_.end(),
                                        std::make_pair(thread.th32OwnerProcessID, LONG_MIN));
    const long code = found != classCodes_.end() && found->first == thread.th32OwnerProcessID ? found->second : 2;
    return AbsoluteThreadLevel(ClassBaseOfCode(code), thread.tpBasePri);
}
