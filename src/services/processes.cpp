#include <windows.h>

#include <cstdio>

#include "platform/thread_priorities.h"
#include "services/process_rules.h"
#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/window_names.h"

// Snapshot flags: every kind of entry.
constexpr DWORD kSnapEverything = 15;

int FindProcessEntry(DWORD processId, PROCESSENTRY32* entry)
{
    int found = 0;
    ForEachProcess(
        [&](const PROCESSENTRY32& process) {
            found = process.th32ProcessID == processId;
            if (found) *entry = process;
            return !found;
        },
        kSnapEverything);
    return found;
}

int MainModuleOf(DWORD processId, MODULEENTRY32* moduleEntry)
{
    PROCESSENTRY32 process;
    if (!FindProcessEntry(processId, &process)) return 0;
    // Systems that number modules give the executable's module id in the process entry.
    // Others leave that id 0 and list the executable as the process's first module.
    int found = 0;
    ForEachModule(processId, [&](const MODULEENTRY32& module) {
        found = process.th32ModuleID == 0 || module.th32ModuleID == process.th32ModuleID;
        if (found) *moduleEntry = module;
        return !found;
    });
    return found;
}

// Notes every process's priority class where thread entries give priorities relative to it.
static void NoteProcessClasses(ThreadPriorities& priorities)
{
    if (!ThreadPriorities::NeedsProcessClasses()) return;
    ForEachProcess([&](const PROCESSENTRY32& process) {
        priorities.Note(process);
        return true;
    });
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
    NoteProcessClasses(priorities);
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
    NoteProcessClasses(priorities);
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
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        ProgramNameQuery query;
        ProgramNameOf(entry.th32ProcessID, &query);
        char line[sizeof query.programName + 16];
        const unsigned long id = entry.th32ProcessID;
        if (query.programName[0])
            snprintf(line, sizeof line, "%s\t%lu", query.programName, id);
        else
            snprintf(line, sizeof line, "%lu\t%lu", id, id);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        return true;
    });
}
