#include <windows.h>

#include "boost/tune_windows.h"

#include <iterator>

#include "analysis/bottleneck_analyzer.h"
#include "app/app_globals.h"
#include "boost/priority_rules.h"
#include "resources/ids_boost.h"
#include "services/processes.h"
#include "services/text_rules.h"
#include "services/toolhelp.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"

namespace {

// Snapshot flags: processes, threads and modules.
constexpr DWORD kSnapEverything = 15;

// Brings every program with an extreme class back to NORMAL. A process that cannot be
// opened (it ended, or the system protects it) is skipped; so is one the system refuses
// to change. Only the rights the two calls need are asked for.
void OptimizePriorities()
{
    ForEachProcess(
        [](const PROCESSENTRY32& entry) {
            HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_SET_INFORMATION, FALSE,
                                         entry.th32ProcessID);
            if (!process) return true;
            const DWORD priorityClass = GetPriorityClass(process);
            MODULEENTRY32 module;
            const char* moduleName = MainModuleOf(entry.th32ProcessID, &module) ? module.szModule : "";
            const uint32_t planned = priorityClass ? PlanPriorityChange(priorityClass, moduleName) : kKeepClass;
            if (planned != kKeepClass) SetPriorityClass(process, planned);
            CloseHandle(process);
            return true;
        },
        kSnapEverything);
}

// Compacts the global heap as far as it goes; the system promises nothing further.
void OptimizeMemory()
{
    GlobalCompact(0xFFFFFFFF);
}

void OptimizeResources()
{
}

// Reading the queue state of this thread is the whole flush.
void FlushQueues()
{
    GetQueueStatus(0xFF);
}

const char* const kPriorityActions[] = {"Determine optimal process priorities", "Reduce HIGH to NORMAL",
                                        "Reduce REALTIME to NORMAL", "Raise IDLE to NORMAL"};
const char* const kMemoryActions[] = {"Free unused memory blocks", "Discard discardable memory blocks",
                                      "Consolidate fragmented memory", "Tune virtual memory settings"};
const char* const kResourceActions[] = {"No changes to resources proposed"};
const char* const kQueueActions[] = {"Flush Windows 95 internal queues"};

struct Optimizer {
    int id;
    int bitmapId;
    const char* const* actions;  // null: the button opens the analyzer instead
    size_t actionCount;
    void (*act)();
};

const Optimizer kOptimizers[] = {
    {IDC_TUNE_ANALYZER, IDB_TUNE_ANALYZER, nullptr, 0, nullptr},
    {IDC_TUNE_MEMORY, IDB_TUNE_MEMORY, kMemoryActions, std::size(kMemoryActions), OptimizeMemory},
    {IDC_TUNE_RESOURCES, IDB_TUNE_RESOURCES, kResourceActions, std::size(kResourceActions), OptimizeResources},
    {IDC_TUNE_PRIORITIES, IDB_TUNE_PRIORITIES, kPriorityActions, std::size(kPriorityActions), OptimizePriorities},
    {IDC_TUNE_QUEUES, IDB_TUNE_QUEUES, kQueueActions, std::size(kQueueActions), FlushQueues},
};

// The one dialog that can be open (it is modal): how its optimizers ask for confirmation.
struct TuneDialog {
    BoostConfirmFn confirm;
} gDialog;

void OnCommand(HWND dialog, int id, int notification)
{
    if (notification != BN_CLICKED) return;
    for (const Optimizer& optimizer : kOptimizers) {
        if (optimizer.id != id) continue;
        if (!optimizer.actions)
            OpenBottleneckAnalyzer(dialog, BottleneckVariant::kSystem);
        else if (ConfirmProposal(dialog, gDialog.confirm, optimizer.actions, optimizer.actionCount))
            optimizer.act();
    }
}

}  // namespace

bool ConfirmProposal(HWND owner, BoostConfirmFn confirm, const char* const* actions, size_t count)
{
    char proposal[512];
    return confirm && JoinPlusLines(proposal, sizeof proposal, actions, count) && confirm(owner, proposal);
}

INT_PTR CALLBACK TuneWindowsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnPictureButtonDialog(dialog, message, wParam, lParam, kOptimizers, HELP_CONTEXT_TUNE_WINDOWS)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        gDialog.confirm = reinterpret_cast<BoostConfirmFn>(lParam);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void OpenTuneWindows(HWND owner, BoostConfirmFn confirm)
{
    DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_TUNE_WINDOWS), owner, TuneWindowsDlgProc, LPARAM(confirm));
}
