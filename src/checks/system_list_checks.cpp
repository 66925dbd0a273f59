#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <vector>

#include "checks/file_check_rules.h"
#include "checks/system_list_rules.h"
#include "checks/windows_checks.h"
#include "platform/host_system.h"
#include "platform/thread_priorities.h"
#include "services/processes.h"
#include "services/string_list.h"
#include "services/toolhelp.h"
#include "services/window_names.h"
#include "ui/report_list.h"

namespace {

// A heap block walk of one process stops after this long: on Windows NT the system reads
// another process's heaps from inside that process, one block at a time, which can take
// minutes for a large program. A walk cut short this way is not a failure.
constexpr ULONGLONG kHeapWalkBudgetMs = 1000;

// The entries of every process, in snapshot order; false when no snapshot was taken. The
// per-process walks skip the idle pseudo-process (pid 0 on Windows NT): a per-process
// snapshot of process 0 would describe this program instead.
bool CollectProcesses(std::vector<PROCESSENTRY32>* processes)
{
    return ForEachProcess([&](const PROCESSENTRY32& process) {
        processes->push_back(process);
        return true;
    });
}

ProcessFacts FactsOf(const PROCESSENTRY32& process)
{
    return {process.th32ProcessID, process.th32ParentProcessID, process.cntThreads, int32_t(process.pcPriClassBase)};
}

// Starts a fresh report in StringList.
void StartReport()
{
    StringListCount = 0;
}

// Shows StringList in the report list, replacing what it held, and returns its line count.
int ShowReport(HWND list)
{
    if (list) {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        ReportShowLines(list, StringListBase, StringListCount);
    }
    return int(StringListCount);
}

// The report of a check whose process snapshot could not be taken.
int ShowSnapshotFailed(HWND list, const ListCheckText& text)
{
    StartReport();
    FormatCheckHeading(StringListNext(), kReportLineSlot, text.heading);
    FormatSnapshotFailed(StringListNext(), kReportLineSlot);
    return ShowReport(list);
}

// The program name and executable path of one failing process as a report row. The module
// entry is zeroed first: when the process has ended or its modules cannot be read, the
// row shows no path rather than the bytes of an earlier process.
void ProcessRowFacts(DWORD processId, char* programName, size_t nameSize, MODULEENTRY32* module)
{
    *module = MODULEENTRY32{};
    programName[0] = '\0';
    if (IsIdlePseudoProcess(processId)) return;  // process 0 would name this program
    if (!MainModuleOf(processId, module)) *module = MODULEENTRY32{};
    ProgramNameQuery query;
    ProgramNameOf(processId, &query);
    lstrcpynA(programName, query.programName, int(nameSize));
}

// The failing list of a toolhelp check: its heading and one row per recorded process; the
// heap checks leave out a row whose program is already listed.
void AppendFailingProcesses(const ListCheckText& text, const ListCheckRecord& record, bool isOncePerPath)
{
    if (record.ownerCount == 0) return;
    FormatFailingHeading(StringListNext(), kReportLineSlot, text.failingTitle);
    for (int i = 0; i < record.ownerCount; ++i) {
        const DWORD processId = DWORD(record.owners[i]);
        char programName[256];
        MODULEENTRY32 module;
        ProcessRowFacts(processId, programName, sizeof programName, &module);
        if (isOncePerPath && IsPathListed(StringListBase, StringListCount, module.szExePath)) continue;
        FormatFailingRow(StringListNext(), kReportLineSlot, programName, module.szModule, processId, module.szExePath);
    }
}

int ShowListCheck(HWND list, const ListCheckText& text, ListCheckRecord* record, bool isOncePerPath)
{
    FinishListCheck(record, text);
    StartReport();
    AppendCheckLines(text, *record, StringListNext);
    AppendFailingProcesses(text, *record, isOncePerPath);
    return ShowReport(list);
}

bool IsFilePresent(const char* path)
{
    if (!path[0]) return false;
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path, &found);
    SetErrorMode(oldMode);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

BOOL CALLBACK VisitWindow(HWND window, LPARAM context)
{
    ListCheckRecord* record = reinterpret_cast<ListCheckRecord*>(context);
    if (!IsWindow(window)) return TRUE;
    char title[257] = {};
    GetWindowTextA(window, title, sizeof title);
    WindowFacts facts = {};
    facts.style = uint32_t(GetClassLongA(window, GCL_STYLE));
    facts.isVisible = IsWindowVisible(window) != FALSE;
    facts.isZoomed = IsZoomed(window) != FALSE;
    facts.isIconic = IsIconic(window) != FALSE;
    facts.hasFocus = GetFocus() == window;
    facts.isTitleEmpty = title[0] == '\0';
    DWORD processId = 0;
    facts.threadId = GetWindowThreadProcessId(window, &processId);
    facts.processId = processId;
    RECT rect = {};
    GetWindowRect(window, &rect);
    facts.left = rect.left;
    facts.top = rect.top;
    facts.right = rect.right;
    facts.bottom = rect.bottom;
    RECT client = {};
    GetClientRect(window, &client);
    POINT corner = {client.right, client.bottom};
    ClientToScreen(window, &corner);
    facts.clientRight = corner.x;
    facts.clientBottom = corner.y;
    facts.maxTrackWidth = GetSystemMetrics(SM_CXMAXTRACK);
    facts.maxTrackHeight = GetSystemMetrics(SM_CYMAXTRACK);
    VisitEntry(record, WindowFailures(facts), uint64_t(reinterpret_cast<ULONG_PTR>(window)));
    return TRUE;
}

// A failing window's row: the program named in its title or its top-level owner's, else
// its process's module name, with the executable path.
void AppendFailingWindow(HWND window)
{
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    MODULEENTRY32 module = {};
    if (processId && !MainModuleOf(processId, &module)) module = MODULEENTRY32{};
    char name[256] = {};
    AppNameFromTitle(window, name, sizeof name);
    if (!name[0]) AppNameFromTitle(TopLevelOwner(window), name, sizeof name);
    FormatFailingRow(StringListNext(), kReportLineSlot, name, module.szModule, processId, module.szExePath);
}

// The checks that walk a list of each process: every process of one snapshot but the idle
// pseudo-process, while the walk limit allows, each walked by walk(processId, &record);
// then the report.
template <typename Walk>
int CheckEachProcess(HWND list, const ListCheckText& text, bool isOncePerPath, Walk walk)
{
    std::vector<PROCESSENTRY32> processes;
    if (!CollectProcesses(&processes)) return ShowSnapshotFailed(list, text);
    ListCheckRecord record;
    StartListCheck(&record, kProcessOwnerCap);
    for (const PROCESSENTRY32& process : processes) {
        if (!CanVisit(record)) break;
        if (IsIdlePseudoProcess(process.th32ProcessID)) continue;
        walk(process.th32ProcessID, &record);
    }
    return ShowListCheck(list, text, &record, isOncePerPath);
}

}  // namespace

int CheckHeapLists(HWND list)
{
    return CheckEachProcess(list, kHeapListText, true, [](DWORD processId, ListCheckRecord* record) {
        ForEachHeapList(processId, [&](const HEAPLIST32& heap) {
            const HeapListFacts facts = {processId, heap.th32ProcessID, heap.dwFlags};
            return VisitEntry(record, HeapListFailures(facts), processId);
        });
    });
}

int CheckHeaps(HWND list)
{
    return CheckEachProcess(list, kHeapText, true, [](DWORD processId, ListCheckRecord* record) {
        const ULONGLONG started = GetTickCount64();
        // Blocks are walked only of the heap lists the snapshot found (ForEachHeapEntry).
        ForEachHeapEntry(processId, [&](const HEAPLIST32& heap, const HEAPENTRY32& block) {
            const HeapFacts facts = {heap.th32ProcessID, block.th32ProcessID, block.dwFlags,
                                     uint64_t(block.dwBlockSize), block.dwLockCount,
                                     uint64_t(reinterpret_cast<ULONG_PTR>(block.hHandle))};
            return VisitEntry(record, HeapFailures(facts), heap.th32ProcessID) &&
                   GetTickCount64() - started < kHeapWalkBudgetMs;
        });
    });
}

int CheckProcessList(HWND list)
{
    std::vector<PROCESSENTRY32> processes;
    if (!CollectProcesses(&processes)) return ShowSnapshotFailed(list, kProcessText);
    ListCheckRecord record;
    StartListCheck(&record, kProcessOwnerCap);
    bool isIdleSkipped = false;
    for (const PROCESSENTRY32& process : processes) {
        if (IsIdlePseudoProcess(process.th32ProcessID) && !isIdleSkipped) {
            isIdleSkipped = true;  // the system's idle pseudo-process, listed once
            continue;
        }
        if (!VisitEntry(&record, ProcessFailures(FactsOf(process)), process.th32ProcessID)) break;
    }
    return ShowListCheck(list, kProcessText, &record, false);
}

int CheckModuleList(HWND list)
{
    return CheckEachProcess(list, kModuleText, false, [](DWORD processId, ListCheckRecord* record) {
        ForEachModule(processId, [&](const MODULEENTRY32& module) {
            ModuleFacts facts = {};
            facts.walkedProcessId = processId;
            facts.entryProcessId = module.th32ProcessID;
            facts.processUsage = module.ProccntUsage;
            facts.globalUsage = module.GlblcntUsage;
            facts.baseAddress = uint64_t(reinterpret_cast<ULONG_PTR>(module.modBaseAddr));
            facts.baseSize = module.modBaseSize;
            facts.handle = uint64_t(reinterpret_cast<ULONG_PTR>(module.hModule));
            facts.nameLength = strnlen(module.szModule, sizeof module.szModule);
            char path[MAX_PATH + 1];
            lstrcpynA(path, module.szExePath, sizeof path);
            facts.isFilePresent = IsFilePresent(path);
            return VisitEntry(record, ModuleFailures(facts), processId);
        });
    });
}

int CheckThreadList(HWND list)
{
    std::vector<PROCESSENTRY32> entries;
    if (!CollectProcesses(&entries)) return ShowSnapshotFailed(list, kThreadText);
    ThreadPriorities priorities;
    std::vector<ProcessFacts> processes;
    for (const PROCESSENTRY32& entry : entries) {
        if (ThreadPriorities::NeedsProcessClasses()) priorities.Note(entry);
        processes.push_back(FactsOf(entry));
    }
    // Only Windows 95 counts a thread's users; Windows NT documents the field as always 0,
    // and Wine leaves it so too.
    const bool isUsageCounted = (GetVersion() & 0x80000000u) != 0 && !IsWineHost();
    std::vector<ThreadFacts> threads;
    ListCheckRecord record;
    StartListCheck(&record, kThreadOwnerCap);
    // One thread snapshot serves every process: it lists the threads of all of them.
    const bool isListed = ForEachThread([&](const THREADENTRY32& thread) {
        threads.push_back({thread.th32OwnerProcessID, thread.cntUsage, int32_t(priorities.BaseOf(thread)),
                           int32_t(thread.tpDeltaPri), isUsageCounted});
        record.isWalkCut = threads.size() >= kListWalkLimit;
        return !record.isWalkCut;
    });
    if (!isListed) return ShowSnapshotFailed(list, kThreadText);
    CheckThreadFacts(processes.data(), processes.size(), threads.data(), threads.size(), &record);
    return ShowListCheck(list, kThreadText, &record, false);
}

int CheckWindowChain(HWND list)
{
    ListCheckRecord record;
    StartListCheck(&record, kWindowOwnerCap);
    EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&record));
    StartReport();
    AppendCheckLines(kWindowText, record, StringListNext);
    if (record.ownerCount) {
        FormatFailingHeading(StringListNext(), kReportLineSlot, kWindowText.failingTitle);
        for (int i = 0; i < record.ownerCount; ++i)
            AppendFailingWindow(reinterpret_cast<HWND>(static_cast<ULONG_PTR>(record.owners[i])));
    }
    return ShowReport(list);
}
