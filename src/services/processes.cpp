#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/host_system.h"
#include "platform/thread_priorities.h"
#include "services/process_rules.h"
#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/window_names.h"

// Snapshot flags: every kind of entry, and threads only.
constexpr DWORD kSnapEverything = 15;
constexpr DWORD kSnapThreads = TH32CS_SNAPTHREAD;

int FindProcessEntry(DWORD processId, PROCESSENTRY32* entry)
{
    HANDLE snapshot = th::CreateToolhelp32Snapshot(kSnapEverything, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    memset(entry, 0, sizeof *entry);
    entry->dwSize = sizeof *entry;
    int found = 0;
    for (BOOL more = th::Process32First(snapshot, entry); more; more = th::Process32Next(snapshot, entry)) {
        found = entry->th32ProcessID == processId;
        if (found) break;
    }
    CloseHandle(snapshot);
    return found;
}

int MainModuleOf(DWORD processId, MODULEENTRY32* moduleEntry)
{
    PROCESSENTRY32 process;
    if (!FindProcessEntry(processId, &process)) return 0;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    memset(moduleEntry, 0, sizeof *moduleEntry);
    moduleEntry->dwSize = sizeof *moduleEntry;
    // Systems that number modules give the executable's module id in the process entry.
    // Others leave that id 0 and list the executable as the process's first module.
    int found = 0;
    for (BOOL more = th::Module32First(snapshot, moduleEntry); more; more = th::Module32Next(snapshot, moduleEntry)) {
        found = process.th32ModuleID == 0 || moduleEntry->th32ModuleID == process.th32ModuleID;
        if (found) break;
    }
    CloseHandle(snapshot);
    return found;
}

// Calls visit for every thread entry of a fresh thread snapshot until it returns false.
template <typename Visit>
static void ForEachThread(Visit visit)
{
    HANDLE snapshot = th::CreateToolhelp32Snapshot(kSnapThreads, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = th::Thread32First(snapshot, &entry); more; more = th::Thread32Next(snapshot, &entry))
        if (!visit(entry)) break;
    CloseHandle(snapshot);
}

// Notes the priority class of every running process, from a process snapshot of its own.
// Only Wine needs them (see ThreadPriorities), so elsewhere no snapshot is taken.
static void NoteProcesses(ThreadPriorities& priorities)
{
    if (!IsWineHost() || !th::CreateToolhelp32Snapshot || !th::Process32First || !th::Process32Next) return;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 process = {};
    process.dwSize = sizeof process;
    for (BOOL more = th::Process32First(snapshot, &process); more; more = th::Process32Next(snapshot, &process))
        priorities.Note(process);
    CloseHandle(snapshot);
}

static int32_t PriorityOf(ThreadPriorities& priorities, const THREADENTRY32& entry)
{
    return int32_t(priorities.BaseOf(entry) + entry.tpDeltaPri);
}

DWORD ThreadOwnerOf(DWORD threadId)
{
    DWORD owner = 0;
    ForEachThread([&](const THREADENTRY32& entry) {
        if (entry.th32ThreadID != threadId) return true;
        owner = entry.th32OwnerProcessID;
        return false;
    });
    return owner;
}

LONG ThreadPriorityOf(DWORD threadId)
{
    LONG priority = 0;
    ThreadPriorities priorities;
    NoteProcesses(priorities);
    ForEachThread([&](const THREADENTRY32& entry) {
        if (entry.th32ThreadID != threadId) return true;
        priority = PriorityOf(priorities, entry);
        if (priority > 31) priority = 32;
        return false;
    });
    return priority;
}

const char* SpecialProcessName(DWORD processId, DWORD threadId)
{
    static char name[32];
    name[0] = '\0';
    if (processId == 0) processId = ThreadOwnerOf(threadId);
    ThreadPrioritySummary summary;
    ThreadPriorities priorities;
    NoteProcesses(priorities);
    ForEachThread([&](const THREADENTRY32& entry) {
        if (entry.th32OwnerProcessID == processId) CountThreadPriority(&summary, PriorityOf(priorities, entry));
        return true;
    });
    const int32_t asked = IsSystemKernelPattern(summary) && threadId ? ThreadPriorityOf(threadId) : 0;
    lstrcpynA(name, SpecialNameFor(summary, asked), sizeof name);
    return name;
}

void FillProcessList(HWND dialog, int listId)
{
    HWND list = GetDlgItem(dialog, listId);
    INT tabStop = 5000;
    SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry)) {
        ProgramNameQuery query;
        ProgramNameOf(entry.th32ProcessID, &query);
        char line[sizeof query.programName + 16];
        const unsigned long id = entry.th32ProcessID;
        if (query.programName[0])
            snprintf(line, sizeof line, "%s\t%lu", query.programName, id);
        else
            snprintf(line, sizeof line, "%lu\t%lu", id, id);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    CloseHandle(snapshot);
}

int ModuleKindOf(DWORD processId, const char* path)
{
    const char* title = FileTitleOf(path);
    MODULEENTRY32 module;
    const bool found = MainModuleOf(processId, &module) != 0;
    return ProgramKindFromNames(title, found ? module.szModule : "");
}
