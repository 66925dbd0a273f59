#include <windows.h>

#include "platform/thread_priorities.h"

#include <algorithm>
#include <climits>

#include "platform/host_system.h"
#include "platform/thread_levels.h"

void ThreadPriorities::Note(const PROCESSENTRY32& process)
{
    if (!IsWineHost()) return;
    classCodes_.emplace_back(process.th32ProcessID, process.pcPriClassBase);
    sorted_ = false;
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
