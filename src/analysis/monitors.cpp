#include <windows.h>

#include "analysis/monitors.h"

#include <algorithm>
#include <cstring>

#include "analysis/monitor_levels.h"
#include "analysis/priority_map.h"
#include "app/app_globals.h"
#include "resources/ids_monitors.h"
#include "resources/ids_tools.h"
#include "sampling/system_stats.h"
#include "services/view_registry.h"
#include "services/window_names.h"
#include "services/window_position.h"
#include "ui/drawing.h"
#include "ui/shared_gdi.h"

volatile bool KeepMonitorsOnTop = true;

namespace {

struct MonitorKind;
void OpenLampWindow(const MonitorKind& kind);
void OpenUsageMonitor(const MonitorKind& kind);

// One monitor: everything about it that is not drawn. Its slot is its row's position in
// kMonitors; its key in the view registry is its dialog id.
struct MonitorKind {
    WPARAM message;            // "MONITORACTIVE"'s wParam that opens it
    int chooserControl;        // its button in the chooser
    int dialogId;
    const LampMonitor* lamps;  // its lamp rows; null for the priority map and the usage monitor
    void (*open)(const MonitorKind& kind);
    uint32_t helpId;           // RCDATA help text that explains what it shows
    int zOrderRank;            // keep-on-top stacks the open monitors by rank, the highest on top
};

// The monitors, in the order of their numbers.
constexpr MonitorKind kMonitors[] = {
    {MONITOR_USAGE, IDC_CHOOSE_USAGE, IDD_USAGE_MONITOR, nullptr, OpenUsageMonitor, IDR_HELP_USAGE_MONITOR, 0},
    {MONITOR_DISK, IDC_CHOOSE_DISK, IDD_DISK_MONITOR, &kDiskLamps, OpenLampWindow, IDR_HELP_DISK_MONITOR, 2},
    {MONITOR_MEMORY, IDC_CHOOSE_MEMORY, IDD_MEMORY_MONITOR, &kMemoryLamps, OpenLampWindow, IDR_HELP_MEMORY_MONITOR, 3},
    {MONITOR_PRIORITY, IDC_CHOOSE_PRIORITIES, IDD_PRIORITY_MAP, nullptr, OpenLampWindow, IDR_HELP_PRIORITY_MONITOR, 5},
    {MONITOR_SOFTWARE, IDC_CHOOSE_SOFTWARE, IDD_SOFTWARE_MONITOR, &kSoftwareLamps, OpenLampWindow, IDR_HELP_SOFTWARE_MONITOR, 4},
    {MONITOR_SYSTEM, IDC_CHOOSE_SYSTEM, IDD_SYSTEM_MONITOR, &kSystemLamps, OpenLampWindow, IDR_HELP_SYSTEM_MONITOR, 1},
};
constexpr int kMonitorCount = int(sizeof kMonitors / sizeof kMonitors[0]);

// Whether no two rows share a value in column.
template <typename T>
constexpr bool IsOneRowEach(T MonitorKind::*column)
{
    for (int i = 0; i < kMonitorCount; ++i)
        for (int j = i + 1; j < kMonitorCount; ++j)
            if (kMonitors[i].*column == kMonitors[j].*column) return false;
    return true;
}
constexpr bool RanksAreInRange()
{
    for (const MonitorKind& kind : kMonitors)
        if (kind.zOrderRank < 0 || kind.zOrderRank >= kMonitorCount) return false;
    return true;
}
static_assert(IsOneRowEach(&MonitorKind::message) && IsOneRowEach(&MonitorKind::chooserControl) &&
                  IsOneRowEach(&MonitorKind::dialogId) && IsOneRowEach(&MonitorKind::helpId),
              "each monitor has its own number, chooser button, dialog and help text");
static_assert(IsOneRowEach(&MonitorKind::zOrderRank) && RanksAreInRange(), "the z-order ranks are 0..count-1");

int SlotOf(const MonitorKind& kind)
{
    return int(&kind - kMonitors);
}

constexpr int kPriorityRows = 10;
constexpr int kMaxLamps = 12;

// Layout in dialog units.
constexpr int kRowHeight = 12;
constexpr int kLabelWidth = 60;
constexpr int kLampPitch = 10;
constexpr int kLampSize = 8;
constexpr int kPriorityNameWidth = 70;
constexpr int kPriorityTop = 14;

// One lamp window (lamp monitor or priority map) and which lamps are lit.
struct LampWindow {
    const MonitorKind* kind;  // its lamp rows are null for the priority map
    bool lit[kPriorityRows][kMaxLamps];
};

LampWindow gLampWindows[kMonitorCount];  // by slot; the usage monitor's stays unused

bool gUsagePaused;

int RowCount(const LampWindow& w)
{
    return w.kind->lamps ? w.kind->lamps->rowCount : kPriorityRows;
}

int CellCount(const LampWindow& w)
{
    return w.kind->lamps ? kLampsPerRow : kPriorityLamps;
}

// Control id of a lamp: the lamp tables' base + cell (1..10); the priority map's name
// field + 1 + column.
int LampId(const LampWindow& w, int row, int cell)
{
    return w.kind->lamps ? w.kind->lamps->rows[row].lampBase + cell + 1
                   : IDC_PRIORITY_FIRST_ROW + row * IDC_PRIORITY_ROW_STEP + 1 + cell;
}

HWND CreateChild(HWND dialog, const char* className, const char* text, DWORD style, RECT units, int id)
{
    MapDialogRect(dialog, &units);
    HWND child = CreateWindowA(className, text, WS_CHILD | WS_VISIBLE | style, units.left, units.top,
                               units.right - units.left, units.bottom - units.top, dialog, HMENU(INT_PTR(id)),
                               GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, WPARAM(SendMessageA(dialog, WM_GETFONT, 0, 0)), FALSE);
    return child;
}

// Makes the labels and owner-drawn lamps of every row from the window's table.
void CreateLampRows(HWND dialog, const LampWindow& w)
{
    const int top = w.kind->lamps ? 4 : kPriorityTop;
    const int labelWidth = w.kind->lamps ? kLabelWidth : kPriorityNameWidth;
    for (int row = 0; row < RowCount(w); ++row) {
        const int y = top + row * kRowHeight;
        const char* label = w.kind->lamps ? w.kind->lamps->rows[row].label : "";
        const int labelId = w.kind->lamps ? -1 : IDC_PRIORITY_FIRST_ROW + row * IDC_PRIORITY_ROW_STEP;
        CreateChild(dialog, "STATIC", label, SS_LEFT | SS_NOPREFIX, RECT{4, y + 1, 4 + labelWidth, y + 10}, labelId);
        for (int cell = 0; cell < CellCount(w); ++cell) {
            const int x = 8 + labelWidth + cell * kLampPitch + (w.kind->lamps ? 0 : cell / 3 * 6);
            CreateChild(dialog, "BUTTON", "", BS_OWNERDRAW, RECT{x, y, x + kLampSize, y + kLampSize}, LampId(w, row, cell));
        }
    }
}

HBRUSH LitBrush(const LampWindow& w, int cell)
{
    if (!w.kind->lamps) {
        static const HBRUSH* const kByGroup[] = {&SharedGdi.cyanBrush, &SharedGdi.greenBrush, &SharedGdi.yellowBrush,
                                                 &SharedGdi.redBrush};
        return *kByGroup[cell / 3];
    }
    switch (w.kind->lamps->colours) {
    case LampColours::kTrafficLight:
        return cell < 3 ? SharedGdi.greenBrush : cell < 7 ? SharedGdi.yellowBrush : SharedGdi.redBrush;
    case LampColours::kBlue: return SharedGdi.blueBrush;
    case LampColours::kCyan: return SharedGdi.cyanBrush;
    case LampColours::kDarkRed: return SharedGdi.darkRedBrush;
    }
    return SharedGdi.faceBrush;
}

void PaintLamp(const LampWindow& w, int row, int cell, HDC dc, RECT rect)
{
    HBRUSH brush = w.lit[row][cell] ? LitBrush(w, cell) : SharedGdi.faceBrush;
    if (!brush) brush = GetSysColorBrush(COLOR_BTNFACE);
    DrawBevel(dc, brush, rect, false);
}

void SetLamp(HWND dialog, LampWindow& w, int row, int cell, bool lit)
{
    if (w.lit[row][cell] == lit) return;
    w.lit[row][cell] = lit;
    HWND lamp = GetDlgItem(dialog, LampId(w, row, cell));
    // The lamp's user data carries its state for anyone who reads the window.
    SetWindowLongPtrA(lamp, GWLP_USERDATA, lit);
    // Drawn at once through the lamp's own DC, clipped to what of it shows: a repaint
    // through invalidation costs each lamp a paint cycle of its own, three times the work.
    // A lamp uncovered later paints from the state table as usual.
    if (!IsWindowVisible(lamp)) return;
    if (HDC dc = GetDC(lamp)) {
        RECT rect;
        GetClientRect(lamp, &rect);
        PaintLamp(w, row, cell, dc, rect);
        ReleaseDC(lamp, dc);
    }
}

void DrawLamp(const LampWindow& w, const DRAWITEMSTRUCT* item)
{
    for (int row = 0; row < RowCount(w); ++row)
        for (int cell = 0; cell < CellCount(w); ++cell)
            if (LampId(w, row, cell) == int(item->CtlID)) {
                PaintLamp(w, row, cell, item->hDC, item->rcItem);
                return;
            }
}

void UpdateLampMonitor(HWND dialog, LampWindow& w)
{
    if (!gLiveSample) return;
    const uint32_t* words = reinterpret_cast<const uint32_t*>(gLiveSample);
    for (int row = 0; row < w.kind->lamps->rowCount; ++row) {
        const int level = LampLevel(w.kind->lamps->rows[row], words);
        for (int cell = 0; cell < kLampsPerRow; ++cell) SetLamp(dialog, w, row, cell, cell < level);
    }
}

// One program of the priority map.
struct MappedProgram {
    DWORD processId;
    char name[64];
    int basePriority;
    int column;
};

struct ProgramCollector {
    MappedProgram programs[64];
    int count;
};

int ClassBaseOf(DWORD priorityClass)
{
    switch (priorityClass) {
    case IDLE_PRIORITY_CLASS: return kIdleClassBase;
    case BELOW_NORMAL_PRIORITY_CLASS: return kBelowNormalClassBase;
    case ABOVE_NORMAL_PRIORITY_CLASS: return kAboveNormalClassBase;
    case HIGH_PRIORITY_CLASS: return kHighClassBase;
    case REALTIME_PRIORITY_CLASS: return kRealTimeClassBase;
    default: return kNormalClassBase;
    }
}

BOOL CALLBACK CollectProgram(HWND window, LPARAM parameter)
{
    ProgramCollector* collector = reinterpret_cast<ProgramCollector*>(parameter);
    if (!IsWindowVisible(window) || GetWindowTextLengthA(window) == 0) return TRUE;
    // Programs show by their own main windows: owned windows and tool windows (the
    // monitors among them) would name a program after a dialog of it.
    if (GetWindow(window, GW_OWNER) || (GetWindowLongPtrA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW)) return TRUE;
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    for (int i = 0; i < collector->count; ++i)
        if (collector->programs[i].processId == processId) return TRUE;
    if (collector->count >= int(sizeof collector->programs / sizeof collector->programs[0])) return FALSE;
    MappedProgram& p = collector->programs[collector->count];
    AppNameFromTitle(window, p.name, sizeof p.name);
    if (!p.name[0]) return TRUE;
    int classBase = kNormalClassBase;
    if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId)) {
        classBase = ClassBaseOf(GetPriorityClass(process));
        CloseHandle(process);
    }
    int relative = 0;
    if (HANDLE thread = OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, threadId)) {
        const int priority = GetThreadPriority(thread);
        if (priority != THREAD_PRIORITY_ERROR_RETURN) relative = priority;
        CloseHandle(thread);
    }
    p.processId = processId;
    p.basePriority = ProgramBasePriority(classBase, relative);
    p.column = PriorityLampColumn(classBase, relative);
    ++collector->count;
    return TRUE;
}

void UpdatePriorityMap(HWND dialog, LampWindow& w)
{
    static ProgramCollector collector;
    collector.count = 0;
    EnumWindows(CollectProgram, LPARAM(&collector));
    std::stable_sort(collector.programs, collector.programs + collector.count,
                     [](const MappedProgram& a, const MappedProgram& b) { return a.basePriority > b.basePriority; });
    for (int row = 0; row < kPriorityRows; ++row) {
        const bool used = row < collector.count;
        char current[64] = {};
        const int nameId = IDC_PRIORITY_FIRST_ROW + row * IDC_PRIORITY_ROW_STEP;
        GetDlgItemTextA(dialog, nameId, current, sizeof current);
        const char* name = used ? collector.programs[row].name : "";
        if (strcmp(current, name) != 0) SetDlgItemTextA(dialog, nameId, name);
        for (int cell = 0; cell < kPriorityLamps; ++cell)
            SetLamp(dialog, w, row, cell, used && collector.programs[row].column == cell);
    }
}

void ApplyKeepOnTop();

void AddOnTopMenuItem(HWND dialog)
{
    HMENU menu = GetSystemMenu(dialog, FALSE);
    if (!menu) return;
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, kMonitorOnTopCommand, "Keep on &Top");
}

// The messages every monitor answers alike: OK and Cancel close it, its destruction
// unregisters its view, and the system menu carries the keep-on-top command. True when
// message was one of them, with what the dialog procedure returns in *result.
bool OnSharedMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result)
{
    *result = TRUE;
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) DestroyWindow(dialog);
        return true;
    case WM_DESTROY:
        UnregisterView(dialog);
        *result = FALSE;
        return true;
    case WM_INITMENUPOPUP:
        if (!HIWORD(lParam)) return false;
        // The flag may have changed in the chooser since the menu was last shown.
        CheckMenuItem(HMENU(wParam), kMonitorOnTopCommand, MF_BYCOMMAND | (KeepMonitorsOnTop ? MF_CHECKED : MF_UNCHECKED));
        return true;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != kMonitorOnTopCommand) return false;
        KeepMonitorsOnTop = !KeepMonitorsOnTop;
        ApplyKeepOnTop();
        return true;
    }
    return false;
}

INT_PTR CALLBACK LampMonitorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    LampWindow* w = reinterpret_cast<LampWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        w = reinterpret_cast<LampWindow*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        memset(w->lit, 0, sizeof w->lit);
        RegisterView(w->kind->dialogId, dialog);
        CreateLampRows(dialog, *w);
        AddOnTopMenuItem(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_DRAWITEM:
        if (w) DrawLamp(*w, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    INT_PTR result;
    if (OnSharedMessage(dialog, message, wParam, lParam, &result)) return result;
    if (w && NewDataReadyMessage != 0 && message == NewDataReadyMessage) {
        if (w->kind->lamps)
            UpdateLampMonitor(dialog, *w);
        else
            UpdatePriorityMap(dialog, *w);
        return TRUE;
    }
    return FALSE;
}

// The usage monitor's icons, top to bottom, with the label each shows while paused.
struct UsageIcon {
    int controlId;
    int labelIcon;
};
const UsageIcon kUsageIcons[] = {
    {IDC_USAGE_CPU, IDI_USAGE_LABEL_CPU},       {IDC_USAGE_VIDEO, IDI_USAGE_LABEL_VIDEO},
    {IDC_USAGE_DISK, IDI_USAGE_LABEL_DISK},     {IDC_USAGE_MEMORY, IDI_USAGE_LABEL_MEMORY},
    {IDC_USAGE_TYPING, IDI_USAGE_LABEL_TYPING},
};

void ShowUsageIcon(HWND dialog, int controlId, int iconId)
{
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId));
    HWND control = GetDlgItem(dialog, controlId);
    if (HICON(SendMessageA(control, STM_GETICON, 0, 0)) != icon) SendMessageA(control, STM_SETICON, WPARAM(icon), 0);
}

// Loads every number icon the monitor can show. Shared icons stay loaded once loaded (under
// Wine each one's picture takes a page of the program's own memory), so loading all hundred
// when the monitor opens takes that memory at once, and the program's memory stays flat all
// day instead of creeping up whenever a value is seen for the first time.
void LoadUsageNumberIcons()
{
    static bool isLoaded = false;
    if (isLoaded) return;
    isLoaded = true;
    for (uint32_t value = 0; value <= 99; ++value) LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(UsageNumberIcon(value)));
}

void ShowUsageLabels(HWND dialog)
{
    for (const UsageIcon& u : kUsageIcons) ShowUsageIcon(dialog, u.controlId, u.labelIcon);
}

void UpdateUsageMonitor(HWND dialog)
{
    if (gUsagePaused || !gLiveSample) return;
    ShowUsageIcon(dialog, IDC_USAGE_CPU, UsageNumberIcon(gLiveSample->cpuUsage));
    ShowUsageIcon(dialog, IDC_USAGE_VIDEO, UsageNumberIcon(gLiveSample->videoLoad));
    ShowUsageIcon(dialog, IDC_USAGE_DISK, UsageNumberIcon(gLiveSample->diskActivity));
    // Paging activity, the figure the System and Memory monitors show as memory use.
    ShowUsageIcon(dialog, IDC_USAGE_MEMORY, UsageNumberIcon(gLiveSample->pagingActivity));
    if (gSystemStats && gSystemStats->secondsWithKeystrokes != 0)
        ShowUsageIcon(dialog, IDC_USAGE_TYPING,
                      UsageNumberIcon(TypingWordsPerMinute(gSystemStats->keystrokes, gSystemStats->secondsWithKeystrokes)));
}

// Stacks the icons from the top and fits the window round them.
void LayOutUsageMonitor(HWND dialog)
{
    const int width = GetSystemMetrics(SM_CXICON), height = GetSystemMetrics(SM_CYICON);
    for (int k = 0; k < 5; ++k)
        SetWindowPos(GetDlgItem(dialog, kUsageIcons[k].controlId), nullptr, 0, k * height, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    RECT frame{0, 0, width, 5 * height};
    AdjustWindowRectEx(&frame, DWORD(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       DWORD(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

INT_PTR CALLBACK UsageMonitorDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        RegisterView(reinterpret_cast<const MonitorKind*>(lParam)->dialogId, dialog);
        gUsagePaused = false;
        LoadUsageNumberIcons();
        LayOutUsageMonitor(dialog);
        ShowUsageLabels(dialog);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
        return INT_PTR(GetStockObject(BLACK_BRUSH));
    case WM_LBUTTONDOWN:
        // No caption to drag by: the body moves the window.
        ReleaseCapture();
        SendMessageA(dialog, WM_SYSCOMMAND, 0xF012, 0);
        return TRUE;
    case WM_RBUTTONDOWN:
        gUsagePaused = !gUsagePaused;
        ShowUsageLabels(dialog);
        return TRUE;
    }
    INT_PTR result;
    if (OnSharedMessage(dialog, message, wParam, lParam, &result)) return result;
    if (NewDataReadyMessage != 0 && message == NewDataReadyMessage) {
        UpdateUsageMonitor(dialog);
        return TRUE;
    }
    return FALSE;
}

void ApplyKeepOnTop()
{
    for (int rank = 0; rank < kMonitorCount; ++rank)
        for (const MonitorKind& kind : kMonitors)
            if (kind.zOrderRank == rank)
                if (HWND open = RegisteredView(kind.dialogId))
                    SetWindowPos(open, KeepMonitorsOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void ShowNewMonitor(HWND dialog)
{
    if (!dialog) return;
    ShowWindow(dialog, SW_SHOWNOACTIVATE);
    ApplyKeepOnTop();
}

void OpenLampWindow(const MonitorKind& kind)
{
    if (HWND open = RegisteredView(kind.dialogId)) {
        SetWindowPos(open, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        return;
    }
    LampWindow& w = gLampWindows[SlotOf(kind)];
    w.kind = &kind;
    ShowNewMonitor(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kind.dialogId), nullptr,
                                      LampMonitorDlgProc, LPARAM(&w)));
}

void OpenUsageMonitor(const MonitorKind& kind)
{
    if (HWND open = RegisteredView(kind.dialogId)) {
        PostMessageA(open, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    ShowNewMonitor(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kind.dialogId), nullptr,
                                      UsageMonitorDlgProc, LPARAM(&kind)));
}

}  // namespace

void OpenMonitor(WPARAM which)
{
    for (const MonitorKind& kind : kMonitors)
        if (kind.message == which) kind.open(kind);
}

WPARAM MonitorOfChooserControl(int controlId)
{
    for (const MonitorKind& kind : kMonitors)
        if (kind.chooserControl == controlId) return kind.message;
    return 0;
}
