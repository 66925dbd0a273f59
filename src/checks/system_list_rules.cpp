#include "checks/system_list_rules.h"

#include <cstdio>
#include <cstring>

#include "checks/file_check_rules.h"
#include "services/report_slot.h"
#include "ui/report_line.h"

namespace {

const char* const kHeapListTests[] = {
    "Process ID validity test", "Heap type check test",
    "List termination test", "List corruption test", "Circular reference test",
};
const char* const kHeapTests[] = {
    "Process ID validity test", "Heap type check test", "Block size range test", "Lock count test",
    "Heap handle validity test",
    "List termination test", "List corruption test", "Circular reference test",
};
const char* const kProcessTests[] = {
    "Process ID test", "Default heap ID test", "Thread count test", "Parent process ID test",
    "Priority range test",
    "List termination test", "List corruption test", "Circular reference test",
};
const char* const kModuleTests[] = {
    "Process ID validity test", "Process count accuracy test", "Global count accuracy test",
    "Base address range test", "Base size range test", "Module handle validity test", "Module name test",
    "Module file presence test",
    "List termination test", "List corruption test", "Circular reference test",
};
const char* const kThreadTests[] = {
    "Process ID validity test", "Thread usage count test", "Base Priority range test",
    "Delta Priority range test",
    "List termination test", "List corruption test", "Circular reference test",
};
const char* const kWindowTests[] = {
    "Visibility test", "Popup + Child test", "Caption + DlgFrame test", "Sysmenu + No Caption test",
    "Process ID validation test", "Thread ID validation test", "Style consistency test", "Size test",
    "Dimensions test", "Placement test", "Placement info test", "Keyboard focus test",
};

template <size_t N>
constexpr int CountOf(const char* const (&)[N])
{
    return int(N);
}

constexpr TestFlags Bit(int test)
{
    return TestFlags(1) << test;
}

// Window style bits the window tests look at.
constexpr uint32_t kStylePopup = 0x80000000;
constexpr uint32_t kStyleChild = 0x40000000;
constexpr uint32_t kStyleBorder = 0x00800000;
constexpr uint32_t kStyleDialogFrame = 0x00400000;
constexpr uint32_t kStyleSystemMenu = 0x00080000;

// Heap block flags.
constexpr uint32_t kBlockFixed = 1;
constexpr uint32_t kBlockFree = 2;
constexpr uint32_t kBlockMoveable = 4;

constexpr uint64_t kLargestBlock = 16000000;
constexpr uint32_t kMostLocks = 1000000;
constexpr int32_t kHighestPriority = 31;

}  // namespace

const ListCheckText kHeapListText = {"Heap Lists", "Lists traversed", kHeapListTests, CountOf(kHeapListTests),
                                     "Failing Heap Owner", true};
const ListCheckText kHeapText = {"Heaps", "Heaps checked", kHeapTests, CountOf(kHeapTests), "Failing Heap Owner",
                                 true};
const ListCheckText kProcessText = {"Processes", "Processes checked", kProcessTests, CountOf(kProcessTests),
                                    "Failing Processes", true};
const ListCheckText kModuleText = {"Modules", "Modules checked", kModuleTests, CountOf(kModuleTests),
                                   "Failing Modules", true};
const ListCheckText kThreadText = {"Threads", "Threads checked", kThreadTests, CountOf(kThreadTests),
                                   "Failing Threads", true};
const ListCheckText kWindowText = {"Windows", "Windows checked", kWindowTests, CountOf(kWindowTests),
                                   "Failing Windows", false};

TestFlags HeapListFailures(const HeapListFacts& facts)
{
    TestFlags failed = 0;
    if (facts.listProcessId != facts.walkedProcessId) failed |= Bit(0);
    if (facts.flags != 0 && (facts.flags & 3) == 0) failed |= Bit(1);
    return failed;
}

TestFlags HeapFailures(const HeapFacts& facts)
{
    TestFlags failed = 0;
    if (facts.blockProcessId != facts.listProcessId) failed |= Bit(0);
    if ((facts.flags & (kBlockFixed | kBlockFree | kBlockMoveable)) == 0) failed |= Bit(1);
    if (facts.blockSize > kLargestBlock) failed |= Bit(2);
    if (facts.lockCount > kMostLocks) failed |= Bit(3);
    if (facts.handle == 0 && (facts.flags & kBlockFree) == 0) failed |= Bit(4);
    return failed;
}

TestFlags ProcessFailures(const ProcessFacts& facts)
{
    // "Default heap ID test" (bit 1) has no rule: a process's default heap cannot be told
    // apart from its other heaps by what the process list says.
    TestFlags failed = 0;
    if (facts.processId == 0) failed |= Bit(0);
    if (facts.threadCount == 0) failed |= Bit(2);
    if (facts.parentId == facts.processId) failed |= Bit(3);
    if (facts.basePriority < 0 || facts.basePriority > kHighestPriority) failed |= Bit(4);
    return failed;
}

TestFlags ModuleFailures(const ModuleFacts& facts)
{
    TestFlags failed = 0;
    if (facts.entryProcessId != facts.walkedProcessId) failed |= Bit(0);
    if (facts.processUsage == 0) failed |= Bit(1);
    if (facts.globalUsage == 0) failed |= Bit(2);
    if (facts.baseAddress == 0) failed |= Bit(3);
    if (facts.baseSize == 0) failed |= Bit(4);
    if (facts.handle == 0) failed |= Bit(5);
    if (facts.nameLength > 255) failed |= Bit(6);
    if (!facts.isFilePresent) failed |= Bit(7);
    return failed;
}

TestFlags ThreadOwnerFailure(const ThreadFacts& facts)
{
    return facts.ownerId == 0 ? Bit(0) : 0;
}

TestFlags ThreadFailures(const ThreadFacts& facts)
{
    TestFlags failed = ThreadOwnerFailure(facts);
    if (facts.isUsageCounted && facts.usageCount == 0) failed |= Bit(1);
    if (facts.basePriority > kHighestPriority) failed |= Bit(2);
    if (facts.deltaPriority > kHighestPriority || facts.deltaPriority < -kHighestPriority) failed |= Bit(3);
    return failed;
}

TestFlags WindowFailures(const WindowFacts& facts)
{
    // "Visibility test" (bit 0) and "Placement test" (bit 9) have no rule: any visibility
    // and any position are states a sound window can be in.
    const uint32_t style = facts.style;
    TestFlags failed = 0;
    if ((style & kStylePopup) && (style & kStyleChild)) failed |= Bit(1);
    if (style & kStyleDialogFrame) failed |= Bit(2);
    if ((style & kStyleSystemMenu) && !(style & (kStyleBorder | kStyleDialogFrame))) failed |= Bit(3);
    if (facts.processId == 0) failed |= Bit(4);
    if (facts.threadId == 0) failed |= Bit(5);
    if ((style & (kStyleBorder | kStyleDialogFrame)) && facts.isTitleEmpty && facts.isVisible) failed |= Bit(6);
    if (facts.clientRight > facts.right || facts.clientBottom > facts.bottom) failed |= Bit(7);
    // 64-bit differences: a rectangle spanning most of the 32-bit range must not wrap.
    if (int64_t(facts.right) - facts.left > facts.maxTrackWidth ||
        int64_t(facts.bottom) - facts.top > facts.maxTrackHeight)
        failed |= Bit(8);
    if (facts.isZoomed && facts.isIconic) failed |= Bit(10);
    if (facts.hasFocus && !facts.isVisible) failed |= Bit(11);
    return failed;
}

void StartListCheck(ListCheckRecord* record, int ownerCap)
{
    *record = ListCheckRecord{};
    record->ownerCap = ownerCap < kOwnerSlots ? ownerCap : kOwnerSlots;
}

bool CanVisit(const ListCheckRecord& record)
{
    return record.visits < kListWalkLimit;
}

void NoteFailures(ListCheckRecord* record, TestFlags failures, uint64_t owner)
{
    if (!failures) return;
    record->failed |= failures;
    if (record->ownerCount < record->ownerCap) record->owners[record->ownerCount++] = owner;
}

bool VisitEntry(ListCheckRecord* record, TestFlags failures, uint64_t owner)
{
    if (!CanVisit(*record)) return false;
    ++record->visits;
    NoteFailures(record, failures, owner);
    return CanVisit(*record);
}

void FinishListCheck(ListCheckRecord* record, const ListCheckText& text)
{
    if (!text.hasListTests || (CanVisit(*record) && !record->isWalkCut)) return;
    for (int test = text.testCount - 3; test < text.testCount; ++test) record->failed |= Bit(test);
}

bool IsIdlePseudoProcess(uint32_t processId)
{
    return processId == 0;
}

void CheckThreadFacts(const ProcessFacts* processes, size_t processCount, const ThreadFacts* threads,
                      size_t threadCount, ListCheckRecord* record)
{
    bool isIdleListed = false;
    for (size_t p = 0; p < processCount; ++p) isIdleListed |= IsIdlePseudoProcess(processes[p].processId);
    for (size_t p = 0; p < processCount && CanVisit(*record); ++p) {
        const uint32_t processId = processes[p].processId;
        if (IsIdlePseudoProcess(processId)) continue;
        for (size_t t = 0; t < threadCount; ++t) {
            const ThreadFacts& thread = threads[t];
            if (thread.ownerId == processId) {
                if (!VisitEntry(record, ThreadFailures(thread), thread.ownerId)) break;
            } else if (!(isIdleListed && IsIdlePseudoProcess(thread.ownerId))) {
                NoteFailures(record, ThreadOwnerFailure(thread), thread.ownerId);
            }
        }
    }
}

void FormatCheckCount(char* out, size_t size, const char* label, uint32_t count)
{
    snprintf(out, size, REPORT_CAPTION "%s\t" REPORT_VALUE "%lu", label, static_cast<unsigned long>(count));
}

void FormatFailingHeading(char* out, size_t size, const char* title)
{
    snprintf(out, size, REPORT_HEADING "%s\t" REPORT_HEADING "File Name", title);
}

void FormatFailingRow(char* out, size_t size, const char* programName, const char* moduleName, uint32_t processId,
                      const char* path)
{
    char fallback[32];
    const char* name = programName;
    if (!name || !*name) name = moduleName;
    if (!name || !*name) {
        snprintf(fallback, sizeof fallback, "Process #%lu", static_cast<unsigned long>(processId));
        name = fallback;
    }
    snprintf(out, size, REPORT_VALUE "%s\t" REPORT_VALUE "%s", name, path ? path : "");
}

void FormatSnapshotFailed(char* out, size_t size)
{
    snprintf(out, size, REPORT_CAPTION "System list snapshot\t" REPORT_WARNING "Not taken");
}

bool IsPathListed(const char* base, uint32_t count, const char* path)
{
    if (!path || !*path) return false;
    for (uint32_t i = 0; i < count; ++i) {
        const char* line = base + size_t(i) * kReportLineSlot;
        if (strnlen(line, kReportLineSlot) < kReportLineSlot && strstr(line, path)) return true;
    }
    return false;
}

int AppendCheckLines(const ListCheckText& text, const ListCheckRecord& record, char* (*nextSlot)())
{
    FormatCheckHeading(nextSlot(), kReportLineSlot, text.heading);
    FormatCheckCount(nextSlot(), kReportLineSlot, text.countLabel, record.visits);
    for (int test = 0; test < text.testCount; ++test)
        FormatCheckTest(nextSlot(), kReportLineSlot, text.tests[test], (record.failed & Bit(test)) == 0);
    nextSlot();  // the empty line
    return text.testCount + 3;
}
