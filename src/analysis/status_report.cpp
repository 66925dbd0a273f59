#include <windows.h>

#include "analysis/status_report.h"

#include <cstdio>
#include <cstring>

#include "analysis/equipment_page_list.h"
#include "analysis/monitor_chooser.h"
#include "analysis/status_rules.h"
#include "app/app_globals.h"
#include "info/file_inventory.h"
#include "resources/ids_inventory.h"
#include "resources/ids_status.h"
#include "sampling/file_changes.h"
#include "sampling/file_watch.h"
#include "sampling/system_stats.h"
#include "sampling/tick_feeds.h"
#include "services/drives.h"
#include "services/help_file.h"
#include "services/view_registry.h"
#include "services/window_position.h"
#include "ui/dialog_size.h"
#include "ui/drawing.h"
#include "ui/report_line.h"
#include "ui/report_list.h"
#include "ui/shared_gdi.h"

// The status report's own refresh state, attached to its window.
struct StatusState {
    unsigned long refreshCount;
    HWND lastForeground;
};

constexpr int kStatusLines = 7;

static const int kReportLists[] = {
    IDC_STATUS_USAGE_LIST, IDC_STATUS_SHARES_LIST, IDC_STATUS_RESOURCES_LIST,
    IDC_STATUS_PROGRAMS_LIST, IDC_STATUS_INVENTORY_LIST, IDC_STATUS_DISKS_LIST,
};

// Labels stand in the 80 pixels from 5 to 85; a bar's column is the 100 pixels from 85, so
// its length in pixels is its percentage and the painter's colour steps at 33 and 66
// pixels fall at a third and two thirds. Where a list is narrower than 185 pixels its
// edge clips the longest bars; their colour still tells high from low.
const int kStatusTabStops[kStatusTabStopCount] = {5, 85, 185, 250, 250, 300, 350, 400, 450};
// Disk Status holds short labels and a row of five file-change lamps 20 pixels apart: its
// second column starts at 72 so that the fifth lamp still ends inside the list, and stays
// 100 pixels wide for the disk space bar.
const int kStatusDiskTabStops[kStatusTabStopCount] = {5, 72, 172, 250, 250, 300, 350, 400, 450};
// The hardware pages show no bars, but captions such as "Mouse buttons" and "Modem speed"
// are wider than 80 pixels in the list font at 96 DPI: in the wide hardware inventory list
// their values start at 110 instead.
const int kStatusInventoryTabStops[kStatusTabStopCount] = {5, 110, 300, 400, 500, 600, 700, 800, 900};

const int* StatusTabStops(int listId)
{
    if (listId == IDC_STATUS_INVENTORY_LIST) return kStatusInventoryTabStops;
    if (listId == IDC_STATUS_DISKS_LIST) return kStatusDiskTabStops;
    return kStatusTabStops;
}

static const PictureButton kPictureControls[] = {
    {IDC_STATUS_CAP_USAGE, IDB_STATUS_USAGE},         {IDC_STATUS_CAP_SHARES, IDB_STATUS_SHARES},
    {IDC_STATUS_CAP_RESOURCES, IDB_STATUS_RESOURCES}, {IDC_STATUS_CAP_WINDOWS, IDB_STATUS_WINDOWS},
    {IDC_STATUS_CAP_INVENTORY, IDB_STATUS_INVENTORY}, {IDC_STATUS_CAP_DISKS, IDB_STATUS_DISKS},
    {IDC_STATUS_CAP_COACH, IDB_STATUS_COACH},         {IDC_STATUS_CAP_PROGRAMS, IDB_STATUS_PROGRAMS},
    {IDC_STATUS_FILE_CHANGES, IDB_STATUS_FILE_CHANGES}, {IDC_STATUS_FILE_INVENTORY, IDB_STATUS_FILE_INVENTORY},
    {IDC_STATUS_APPLICATIONS, IDB_STATUS_APPLICATIONS}, {IDC_STATUS_MONITORS, IDB_STATUS_MONITORS},
};

// A list's lines as format and value, in line order.
struct StatusLine {
    const char* format;
    unsigned long value;
};

// Replaces the lines of a list whose text changed, with redrawing off meanwhile, and
// repaints only those lines.
static void ReplaceLines(HWND dialog, int listId, const StatusLine* lines, int count)
{
    HWND list = GetDlgItem(dialog, listId);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    bool changed[kStatusLines] = {};
    char line[kReportLineSlot];
    char shown[kReportLineSlot];
    for (int i = 0; i < count && i < kStatusLines; ++i) {
        if (!lines[i].format) continue;
        FormatReportLine(line, sizeof line, lines[i].format, lines[i].value);
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, WPARAM(i), 0);
        if (length >= 0 && length < LRESULT(sizeof shown)) {
            SendMessageA(list, LB_GETTEXT, WPARAM(i), LPARAM(shown));
            if (strcmp(shown, line) == 0) continue;
        }
        ReportReplaceLine(dialog, listId, i, line);
        changed[i] = true;
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    for (int i = 0; i < kStatusLines; ++i) {
        RECT item;
        if (changed[i] && SendMessageA(list, LB_GETITEMRECT, WPARAM(i), LPARAM(&item)) != LB_ERR)
            InvalidateRect(list, &item, FALSE);
    }
}

static void ShowCurrentUsage(HWND dialog, const LiveSample& s)
{
    const StatusLine lines[kStatusLines] = {
        {REPORT_CAPTION "CPU\t" REPORT_STRIPED_BAR_NUMBER, s.cpuUsage},
        {REPORT_CAPTION "Disk\t" REPORT_STRIPED_BAR_NUMBER, s.diskActivity},
        {REPORT_CAPTION "Display\t" REPORT_STRIPED_BAR_NUMBER, s.displayLoad},
        {REPORT_CAPTION "Memory\t" REPORT_STRIPED_BAR_NUMBER, s.pagingActivity},
        {REPORT_CAPTION "Modem\t" REPORT_STRIPED_BAR_NUMBER, s.modemActivity},
        {REPORT_CAPTION "Printer\t" REPORT_STRIPED_BAR_NUMBER, s.printerActivity},
        {REPORT_CAPTION "Video\t" REPORT_STRIPED_BAR_NUMBER, s.videoLoad},
    };
    ReplaceLines(dialog, IDC_STATUS_USAGE_LIST, lines, kStatusLines);
}

static void ShowProgramUsage(HWND dialog, const LiveSample& s)
{
    const StatusLine lines[kStatusLines] = {
        {REPORT_CAPTION "32-Bit Apps\t" REPORT_LEVEL_CELLS_NUMBER, s.apps32},
        {REPORT_CAPTION "16-Bit Apps\t" REPORT_LEVEL_CELLS_NUMBER, s.apps16},
        {REPORT_CAPTION "DOS Apps\t" REPORT_LEVEL_CELLS_NUMBER, s.appsDos},
        {REPORT_CAPTION "Processes\t" REPORT_VALUE "%lu", s.processes},
        {REPORT_CAPTION "Modules\t" REPORT_VALUE "%lu", s.modules},
        {REPORT_CAPTION "Threads\t" REPORT_VALUE "%lu", s.threads},
        {REPORT_CAPTION "Windows\t" REPORT_VALUE "%lu", s.windows},
    };
    ReplaceLines(dialog, IDC_STATUS_PROGRAMS_LIST, lines, kStatusLines);
}

static void ShowResources(HWND dialog, const LiveSample& s)
{
    const StatusLine lines[kStatusLines] = {
        {REPORT_CAPTION "Memory\t" REPORT_WEDGE_BAR_NUMBER, 100ul - s.memoryHeadroom},
        {REPORT_CAPTION "Page File\t" REPORT_WEDGE_BAR_NUMBER, 100ul - s.pageFileFree},
        {REPORT_CAPTION "GDI16\t" REPORT_WEDGE_BAR_NUMBER, 100ul - FreeGdiPercent.load()},
        {REPORT_CAPTION "GDI32\t" REPORT_WEDGE_BAR_NUMBER, 1},
        {REPORT_CAPTION "User16\t" REPORT_WEDGE_BAR_NUMBER, 100ul - FreeUserPercent.load()},
        {REPORT_CAPTION "User32 Menu\t" REPORT_WEDGE_BAR_NUMBER, 1},
        {REPORT_CAPTION "User32 Win\t" REPORT_WEDGE_BAR_NUMBER, 1},
    };
    ReplaceLines(dialog, IDC_STATUS_RESOURCES_LIST, lines, kStatusLines);
}

// Disk space, then one row of file-change lamps per removable or fixed drive C..H at the
// line after the letter's index; the lamps' format carries the index as its value.
static void ShowDiskStatus(HWND dialog, const LiveSample& s)
{
    StatusLine lines[kStatusLines] = {{REPORT_CAPTION "Disk Space\t" REPORT_WEDGE_BAR_NUMBER, 100ul - s.diskFree}};
    static char formats[kWatchedLetters][32];
    for (int index = 0; index < kWatchedLetters; ++index) {
        if (!IsWatchedDrive(index)) continue;
        const char letter = char(kFirstWatchedLetter + index);
        snprintf(formats[index], sizeof formats[index], "%s%c: changes\t%s", REPORT_CAPTION, letter,
                 REPORT_LAMPS_NUMBER);
        lines[1 + index] = StatusLine{formats[index], static_cast<unsigned long>(index)};
    }
    ReplaceLines(dialog, IDC_STATUS_DISKS_LIST, lines, kStatusLines);
}

static void ShowShares(HWND dialog)
{
    uint32_t shares[kActivityCount] = {};
    if (gSystemStats) LongTermShares(*gSystemStats, shares);
    const StatusLine lines[kStatusLines] = {
        {REPORT_CAPTION "CPU\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityCpu]},
        {REPORT_CAPTION "Disk\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityDisk]},
        {REPORT_CAPTION "Display\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityDisplay]},
        {REPORT_CAPTION "Memory\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityMemory]},
        {REPORT_CAPTION "Modem\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityModem]},
        {REPORT_CAPTION "Printer\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityPrinter]},
        {REPORT_CAPTION "Video\t" REPORT_WEDGE_BAR_NUMBER, shares[kActivityVideo]},
    };
    ReplaceLines(dialog, IDC_STATUS_SHARES_LIST, lines, kStatusLines);
}

static void ShowCoach(HWND dialog, const LiveSample& s)
{
    CoachFacts facts = {};
    for (char letter = 'A'; letter <= 'F'; ++letter) {
        if (DriveTypeOf(letter) != DRIVE_FIXED) continue;
        const DriveSpace space = DriveSpaceOf(letter);
        facts.drives[facts.driveCount++] = CoachDrive{letter, space.freeBytes, space.totalBytes};
    }
    facts.freeGdiPercent = FreeGdiPercent.load();
    facts.freeUserPercent = FreeUserPercent.load();
    facts.sample = s;
    char hints[kCoachMaxLines][kCoachLineLength];
    const int count = CoachHints(facts, hints);

    HWND list = GetDlgItem(dialog, IDC_STATUS_COACH_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int i = 0; i < count; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(hints[i]));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void RefreshStatusReport(HWND dialog)
{
    StatusState* state = reinterpret_cast<StatusState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!state || !gLiveSample) return;
    ++state->refreshCount;
    const LiveSample sample = *gLiveSample;  // one consistent copy while the tick writes
    ShowCurrentUsage(dialog, sample);
    const bool slowLists = state->refreshCount % 10 == 1;
    if (slowLists) {
        ShowProgramUsage(dialog, sample);
        ShowResources(dialog, sample);
        ShowDiskStatus(dialog, sample);
        ShowShares(dialog);
        ShowEquipmentPage(dialog);
        ShowCoach(dialog, sample);
    }
    HWND foreground = GetForegroundWindow();
    if (foreground != state->lastForeground || slowLists) {
        InvalidateRect(GetDlgItem(dialog, IDC_STATUS_WINDOW_MAP), nullptr, FALSE);
        state->lastForeground = foreground;
    }
}

// The map of the top-level windows, bottom of the z-order first so that upper windows
// cover lower ones.
static void DrawWindowMap(HWND dialog, const DRAWITEMSTRUCT* item)
{
    HDC dc = item->hDC;
    const RECT panel = item->rcItem;
    FillRect(dc, &panel, HBRUSH(GetStockObject(BLACK_BRUSH)));
    const long width = panel.right - panel.left;
    const long height = panel.bottom - panel.top;
    const long screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const long screenHeight = GetSystemMetrics(SM_CYSCREEN);
    HWND foreground = GetForegroundWindow();
    int squares = 0;
    for (HWND window = GetWindow(dialog, GW_HWNDLAST); window; window = GetWindow(window, GW_HWNDPREV)) {
        if (!IsWindowVisible(window)) continue;
        if (IsIconic(window)) {
            if (squares >= kMapMaxSquares) continue;
            const PlainRect s = MinimizedSquare(squares++, height);
            const RECT r{panel.left + s.left, panel.top + s.top, panel.left + s.right, panel.top + s.bottom};
            FillRect(dc, &r, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
            continue;
        }
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_CAPTION)) continue;
        RECT w;
        GetWindowRect(window, &w);
        PlainRect scaled;
        if (!ScaleWindowToPanel(PlainRect{w.left, w.top, w.right, w.bottom}, screenWidth, screenHeight, width, height,
                                &scaled))
            continue;
        const RECT body{panel.left + scaled.left, panel.top + scaled.top, panel.left + scaled.right,
                        panel.top + scaled.bottom};
        FillRect(dc, &body, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
        FrameRect(dc, &body, HBRUSH(GetStockObject(BLACK_BRUSH)));
        RECT strip = body;
        if (strip.bottom > strip.top + 7) strip.bottom = strip.top + 7;
        FillRect(dc, &strip, window == foreground ? SharedGdi.cyanBrush : HBRUSH(GetStockObject(DKGRAY_BRUSH)));
    }
}

static void OnDrawItem(HWND dialog, const DRAWITEMSTRUCT* item)
{
    const int id = int(item->CtlID);
    if (id == IDC_STATUS_WINDOW_MAP) {
        DrawWindowMap(dialog, item);
        return;
    }
    for (int list : kReportLists)
        if (id == list) {
            ReportDrawItem(item->hwndItem, item, kStatusTabStopCount, StatusTabStops(id), FileChangeLampBits());
            return;
        }
    DrawTablePictureButton(kPictureControls, item, HBRUSH(GetStockObject(LTGRAY_BRUSH)));
}

static void OnInitDialog(HWND dialog)
{
    SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(new StatusState{}));
    HWND lists[] = {
        GetDlgItem(dialog, IDC_STATUS_USAGE_LIST),    GetDlgItem(dialog, IDC_STATUS_SHARES_LIST),
        GetDlgItem(dialog, IDC_STATUS_RESOURCES_LIST), GetDlgItem(dialog, IDC_STATUS_PROGRAMS_LIST),
        GetDlgItem(dialog, IDC_STATUS_INVENTORY_LIST), GetDlgItem(dialog, IDC_STATUS_DISKS_LIST),
        GetDlgItem(dialog, IDC_STATUS_COACH_LIST),
    };
    for (HWND list : lists) {
        if (SharedGdi.normalFont) SendMessageA(list, WM_SETFONT, WPARAM(SharedGdi.normalFont), TRUE);
        for (int i = 0; i < kStatusLines; ++i) SendMessageA(list, LB_ADDSTRING, 0, LPARAM(" "));
    }
    for (int i = 0; i < 8; ++i) EnableWindow(GetDlgItem(dialog, kPictureControls[i].id), FALSE);
    CenterWindow(dialog, nullptr);
    RegisterView(IDD_STATUS_REPORT, dialog);
}

static void OnCommand(HWND dialog, int command)
{
    switch (command) {
    case IDC_STATUS_FILE_CHANGES:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_FILE_CHANGES), dialog, FileChangesDlgProc, 0);
        break;
    case IDC_STATUS_FILE_INVENTORY:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_FILE_INVENTORY), dialog, FileInventoryDlgProc, 0);
        break;
    case IDC_STATUS_APPLICATIONS:
        DialogBoxParamA(gInstance, MAKEINTRESOURCEA(IDD_APPLICATIONS), dialog, ApplicationsDlgProc, 0);
        break;
    case IDC_STATUS_MONITORS:
        ShowMonitorChooser(dialog);
        break;
    case IDCANCEL:
        DestroyWindow(dialog);
        return;
    default:
        return;
    }
    if (IsWindow(dialog)) SetFocus(GetDlgItem(dialog, IDC_STATUS_FILE_CHANGES));
}

INT_PTR CALLBACK StatusReportDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (NewDataReadyMessage != 0 && message == NewDataReadyMessage) {
        RefreshStatusReport(dialog);
        return TRUE;
    }
    if (LimitDialogSize(message, lParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_DESTROY:
        delete reinterpret_cast<StatusState*>(GetWindowLongPtrA(dialog, DWLP_USER));
        SetWindowLongPtrA(dialog, DWLP_USER, 0);
        // The tick stops posting here; the next Status Report command opens a new one.
        UnregisterView(dialog);
        return FALSE;
    case WM_DRAWITEM:
        OnDrawItem(dialog, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM: {
        MEASUREITEMSTRUCT* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        ReportMeasureItem(GetDlgItem(dialog, int(item->CtlID)), item);
        return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextRed));
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_STATUS_REPORT);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

HWND OpenStatusReport(HWND owner)
{
    HWND open = RegisteredView(IDD_STATUS_REPORT);
    if (open && IsWindow(open)) {
        if (IsIconic(open)) ShowWindow(open, SW_RESTORE);
        SetWindowPos(open, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(open);
        return open;
    }
    HWND dialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_STATUS_REPORT), owner, StatusReportDlgProc, 0);
    if (!dialog) return nullptr;
    ShowWindow(dialog, SW_SHOWNORMAL);
    return dialog;
}
