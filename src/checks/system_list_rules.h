// The rules of the system-list checks over plain fact records: which tests an entry of a
// heap list, heap, process, module, thread or top-level window fails, the walk limit and
// the failing-owner bookkeeping, and the report lines. The Win32 walks that fill the
// records live in system_list_checks.cpp.
#pragma once
#include <cstddef>
#include <cstdint>

// Every list check stops walking once it has visited this many entries over all
// processes: a damaged or circular system list cannot hold the dialog for ever.
constexpr uint32_t kListWalkLimit = 1000000;

// Failing owners kept per check: process ids for the toolhelp checks (one more for the
// thread check), window handles for the window chain.
constexpr int kOwnerSlots = 20;
constexpr int kProcessOwnerCap = 18;
constexpr int kThreadOwnerCap = 19;
constexpr int kWindowOwnerCap = 20;

// Results are bit masks: bit i set means test i of the check's table failed.
using TestFlags = uint32_t;

struct HeapListFacts {
    uint32_t walkedProcessId;  // the process whose heap lists were asked for
    uint32_t listProcessId;    // the process the heap list names
    uint32_t flags;            // bit 0 default heap, bit 1 shared heap
};

struct HeapFacts {
    uint32_t listProcessId;   // the process of the heap list the block was asked for
    uint32_t blockProcessId;  // the process the block names
    uint32_t flags;           // fixed 1, free 2, moveable 4
    uint64_t blockSize;
    uint32_t lockCount;
    uint64_t handle;
};

struct ProcessFacts {
    uint32_t processId;
    uint32_t parentId;
    uint32_t threadCount;
    int32_t basePriority;
};

struct ModuleFacts {
    uint32_t walkedProcessId;
    uint32_t entryProcessId;
    uint32_t processUsage;
    uint32_t globalUsage;
    uint64_t baseAddress;
    uint64_t baseSize;
    uint64_t handle;
    size_t nameLength;  // characters before the NUL, the whole field when it has none
    bool isFilePresent;
};

struct ThreadFacts {
    uint32_t ownerId;
    uint32_t usageCount;
    int32_t basePriority;  // absolute level
    int32_t deltaPriority;
    bool isUsageCounted;   // false where the system leaves the usage count at 0 (Windows NT, Wine)
};

struct WindowFacts {
    uint32_t style;  // the window class's style
    bool isVisible;
    bool isZoomed;
    bool isIconic;
    bool hasFocus;
    bool isTitleEmpty;
    uint32_t processId;
    uint32_t threadId;
    int32_t left, top, right, bottom;  // window rectangle, screen coordinates
    int32_t clientRight, clientBottom;  // bottom-right corner of the client area, screen
    int32_t maxTrackWidth, maxTrackHeight;
};

// What one report looks like: its heading, count label, tests in report order and the
// title of its failing list. For the toolhelp checks the last three tests are the list
// tests, failed when the walk limit was reached.
struct ListCheckText {
    const char* heading;
    const char* countLabel;
    const char* const* tests;
    int testCount;
    const char* failingTitle;
    bool hasListTests;
};

extern const ListCheckText kHeapListText;
extern const ListCheckText kHeapText;
extern const ListCheckText kProcessText;
extern const ListCheckText kModuleText;
extern const ListCheckText kThreadText;
extern const ListCheckText kWindowText;

// The tests each entry fails (bits in the order of the check's table).
TestFlags HeapListFailures(const HeapListFacts& facts);
TestFlags HeapFailures(const HeapFacts& facts);
TestFlags ProcessFailures(const ProcessFacts& facts);
TestFlags ModuleFailures(const ModuleFacts& facts);
// A thread that belongs to the walked process; ThreadOwnerFailure is the one test applied
// to every thread entry met, whoever owns it.
TestFlags ThreadFailures(const ThreadFacts& facts);
TestFlags ThreadOwnerFailure(const ThreadFacts& facts);
TestFlags WindowFailures(const WindowFacts& facts);

// One check's findings: visits, failed tests and the failing owners (process ids, or
// window handles), duplicates kept, up to the check's cap.
struct ListCheckRecord {
    uint32_t visits;
    TestFlags failed;
    uint64_t owners[kOwnerSlots];
    int ownerCount;
    int ownerCap;
    bool isWalkCut;  // a walk was cut at the limit before its entries could be counted
};

// Zero-fills the record for a check that keeps up to ownerCap owners.
void StartListCheck(ListCheckRecord* record, int ownerCap);
// Whether the walk may visit another entry.
bool CanVisit(const ListCheckRecord& record);
// Counts one visited entry; its failures are noted and, when there are any, its owner.
// Returns whether the walk may go on (the limit is not reached).
bool VisitEntry(ListCheckRecord* record, TestFlags failures, uint64_t owner);
// Notes failures of an entry met but not counted (another process's thread).
void NoteFailures(ListCheckRecord* record, TestFlags failures, uint64_t owner);
// Sets the three list tests when the walk reached the limit or was cut at it.
void FinishListCheck(ListCheckRecord* record, const ListCheckText& text);

// The thread check over one process snapshot and one thread snapshot: the threads of each
// process in process order, the owner test applied to every thread entry met. The
// system's idle pseudo-process (the entry with id 0, listed by Windows NT) is skipped
// together with its threads.
void CheckThreadFacts(const ProcessFacts* processes, size_t processCount, const ThreadFacts* threads,
                      size_t threadCount, ListCheckRecord* record);
// Whether the process entry is the idle pseudo-process that the per-process walks skip.
bool IsIdlePseudoProcess(uint32_t processId);

// Report lines, each written into a slot of size bytes, always ended and cut to fit (the
// heading and test lines are the ones every check writes: file_check_rules.h).
void FormatCheckCount(char* out, size_t size, const char* label, uint32_t count);
void FormatFailingHeading(char* out, size_t size, const char* title);
// A failing owner: its program name, else its module name, else "Process #id"; then its
// executable path (empty when unknown).
void FormatFailingRow(char* out, size_t size, const char* programName, const char* moduleName, uint32_t processId,
                      const char* path);
// The line that stands in for the count when the system gave no snapshot of its lists.
void FormatSnapshotFailed(char* out, size_t size);

// Whether a row for path is already among count lines of kReportLineSlot bytes at base;
// an empty path is never taken as listed.
bool IsPathListed(const char* base, uint32_t count, const char* path);

// The lines of a finished check through nextSlot (which returns a fresh slot): heading,
// count, one line per test and the empty line. The failing rows follow from the caller.
int AppendCheckLines(const ListCheckText& text, const ListCheckRecord& record, char* (*nextSlot)());
