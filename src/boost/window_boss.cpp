#include <windows.h>

#include "boost/window_boss.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "app/app_globals.h"
#include "boost/window_boss_rules.h"
#include "resources/ids_boost.h"
#include "services/help_file.h"
#include "services/processes.h"
#include "services/window_position.h"
#include "ui/report_list.h"

// The dialog runs on the user-interface thread only; its state is touched nowhere else.

static const char kCaption[] = "Customize Program Appearance";
static const UINT_PTR kFlashTimer = 1;
static const UINT kFlashMs = 100;

// A window as it was listed: the thread and process that owned it then. A handle value
// the system has given to a newer window no longer matches them.
struct ListedWindow {
    HWND window = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
};

struct WindowBossState {
    HWND dialog = nullptr;
    std::vector<ListedWindow> listed;  // indexed by each list item's data
    ListedWindow selected;             // null window: nothing selected
    ListedWindow flashed;              // null window: no flash waiting to be undone
};

static WindowBossState gBoss;

static bool IsStillListed(const ListedWindow& listed)
{
    if (!listed.window || !IsWindow(listed.window)) return false;
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(listed.window, &processId);
    return threadId == listed.threadId && processId == listed.processId;
}

// One pair of radio buttons: which of the two the window's state checks, and what each
// does to the window.
struct AppearancePair {
    int firstId, secondId;
    bool (*isFirst)(HWND window);
    void (*applyFirst)(HWND window, HWND dialog);
    void (*applySecond)(HWND window, HWND dialog);
};

// Topmost or not, with position and size as they are and without activating it.
static void SetTopmost(HWND window, bool topmost)
{
    SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

static const AppearancePair kPairs[] = {
    {IDC_WINDOW_SHOW, IDC_WINDOW_HIDE, [](HWND w) { return IsWindowVisible(w) != FALSE; },
     [](HWND w, HWND) { ShowWindow(w, SW_SHOW); }, [](HWND w, HWND) { ShowWindow(w, SW_HIDE); }},
    {IDC_WINDOW_MINIMIZE, IDC_WINDOW_RESTORE, [](HWND w) { return IsIconic(w) != FALSE; },
     [](HWND w, HWND) { ShowWindow(w, SW_MINIMIZE); }, [](HWND w, HWND) { ShowWindow(w, SW_RESTORE); }},
    {IDC_WINDOW_UNLOCKED, IDC_WINDOW_LOCKED, [](HWND w) { return IsWindowEnabled(w) != FALSE; },
     [](HWND w, HWND) { EnableWindow(w, TRUE); }, [](HWND w, HWND) { EnableWindow(w, FALSE); }},
    {IDC_WINDOW_TOPMOST, IDC_WINDOW_NOT_TOPMOST,
     [](HWND w) { return (GetWindowLongPtrA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; },
     [](HWND w, HWND) { SetTopmost(w, true); }, [](HWND w, HWND) { SetTopmost(w, false); }},
    {IDC_WINDOW_ACTIVE, IDC_WINDOW_INACTIVE, [](HWND w) { return GetForegroundWindow() == w; },
     [](HWND w, HWND) {
         BringWindowToTop(w);
         SetForegroundWindow(w);
     },
     [](HWND, HWND dialog) { SetForegroundWindow(dialog); }},
    // Whether a window's pop-ups are shown cannot be read back: the pair starts at "Show".
    {IDC_WINDOW_POPUPS_SHOW, IDC_WINDOW_POPUPS_HIDE, [](HWND) { return true; },
     [](HWND w, HWND) { ShowOwnedPopups(w, TRUE); }, [](HWND w, HWND) { ShowOwnedPopups(w, FALSE); }},
};

static void EnableWindowControls(HWND dialog, bool enable)
{
    for (const AppearancePair& pair : kPairs) {
        EnableWindow(GetDlgItem(dialog, pair.firstId), enable);
        EnableWindow(GetDlgItem(dialog, pair.secondId), enable);
    }
    EnableWindow(GetDlgItem(dialog, IDC_WINDOW_NAME), enable);
}

// The list's module names, looked up once per process while it is filled.
struct ModuleNames {
    std::vector<DWORD> processIds;
    std::vector<std::vector<char>> names;
    const char* Of(DWORD processId)
    {
        for (size_t i = 0; i < processIds.size(); ++i)
            if (processIds[i] == processId) return names[i].data();
        MODULEENTRY32 module;
        if (!MainModuleOf(processId, &module)) module.szModule[0] = '\0';
        processIds.push_back(processId);
        names.emplace_back(module.szModule, module.szModule + strlen(module.szModule) + 1);
        return names.back().data();
    }
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM parameter)
{
    reinterpret_cast<std::vector<HWND>*>(parameter)->push_back(window);
    return TRUE;
}

// Empties the list and adds every top-level window, visible or not; selects nothing.
static void FillWindowList(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    gBoss.listed.clear();
    gBoss.selected = ListedWindow{};
    EnableWindowControls(dialog, false);
    INT tabStop = 5000;
    SendMessageA(list, LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&tabStop));
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    ModuleNames modules;
    for (HWND window : windows) {
        ListedWindow listed;
        listed.window = window;
        listed.threadId = GetWindowThreadProcessId(window, &listed.processId);
        if (!listed.threadId) continue;  // gone since the enumeration
        char caption[kWindowItemLength] = "", name[kWindowItemLength], line[kWindowItemLength];
        GetWindowTextA(window, caption, sizeof caption);
        WindowItemName(caption, caption[0] ? nullptr : modules.Of(listed.processId), name, sizeof name);
        FormatWindowItem(name, ItemValueOfHandle(uintptr_t(window)), line, sizeof line);
        const LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        if (index < 0) continue;
        SendMessageA(list, LB_SETITEMDATA, WPARAM(index), LPARAM(gBoss.listed.size()));
        gBoss.listed.push_back(listed);
    }
}

// The second flash puts the caption back as it was.
static void EndFlash(HWND dialog)
{
    KillTimer(dialog, kFlashTimer);
    if (IsStillListed(gBoss.flashed)) FlashWindow(gBoss.flashed.window, FALSE);
    gBoss.flashed = ListedWindow{};
}

static void StartFlash(HWND dialog, const ListedWindow& window)
{
    EndFlash(dialog);
    FlashWindow(window.window, TRUE);
    gBoss.flashed = window;
    SetTimer(dialog, kFlashTimer, kFlashMs, nullptr);
}

// The selected item's window as it was listed (its thread and process then); a null window
// when nothing is selected or the line's handle is not the one kept with the item. The
// item's name goes into the name edit.
static ListedWindow SelectedItemWindow(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_WINDOW_LIST);
    const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (index < 0 || SendMessageA(list, LB_GETTEXTLEN, WPARAM(index), 0) >= LRESULT(kWindowItemLength))
        return ListedWindow{};
    char line[kWindowItemLength] = "", name[kWindowItemLength] = "";
    SendMessageA(list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(line));
    uint32_t value = 0;
    const size_t data = size_t(SendMessageA(list, LB_GETITEMDATA, WPARAM(index), 0));
    if (!ParseWindowItem(line, name, sizeof name, &value) || data >= gBoss.listed.size()) return ListedWindow{};
    SetDlgItemTextA(dialog, IDC_WINDOW_NAME, name);
    const ListedWindow& listed = gBoss.listed[data];
    if (listed.window != reinterpret_cast<HWND>(HandleOfItemValue(value))) return ListedWindow{};
    return listed;
}

static void OnWindowSelected(HWND dialog)
{
    const ListedWindow chosen = SelectedItemWindow(dialog);
    const bool valid = IsStillListed(chosen);
    gBoss.selected = valid ? chosen : ListedWindow{};
    EnableWindowControls(dialog, valid);
    if (!valid) return;
    HWND window = chosen.window;
    if (IsWindowVisible(window)) StartFlash(dialog, chosen);
    for (const AppearancePair& pair : kPairs)
        CheckRadioButton(dialog, pair.firstId, pair.secondId, pair.isFirst(window) ? pair.firstId : pair.secondId);
}

// The selected window when it still is the one that was listed; otherwise the selection
// is dropped and the controls that act on it disabled.
static HWND SelectedWindow(HWND dialog)
{
    if (!gBoss.selected.window) return nullptr;
    if (IsStillListed(gBoss.selected)) return gBoss.selected.window;
    gBoss.selected = ListedWindow{};
    EnableWindowControls(dialog, false);
    return nullptr;
}

static void OnRadioClicked(HWND dialog, const AppearancePair& pair, int id)
{
    HWND window = SelectedWindow(dialog);
    if (!window) return;
    (id == pair.firstId ? pair.applyFirst : pair.applySecond)(window, dialog);
    if (IsWindow(dialog)) CheckRadioButton(dialog, pair.firstId, pair.secondId, id);
}

static void OnChangeName(HWND dialog)
{
    HWND window = SelectedWindow(dialog);
    if (!window) return;
    char text[256] = "";  // a caption of up to 255 characters
    GetDlgItemTextA(dialog, IDC_WINDOW_NAME, text, sizeof text);
    // A program that does not answer keeps its caption; this dialog does not hang with it.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000, &result);
}

static void OnCommand(HWND dialog, int id, int code)
{
    for (const AppearancePair& pair : kPairs)
        if (id == pair.firstId || id == pair.secondId) {
            if (code == BN_CLICKED) OnRadioClicked(dialog, pair, id);
            return;
        }
    switch (id) {
    case IDC_WINDOW_LIST:
        if (code == LBN_SELCHANGE || code == LBN_DBLCLK) OnWindowSelected(dialog);
        break;
    case IDC_WINDOW_CHANGE:
        if (code == BN_CLICKED) OnChangeName(dialog);
        break;
    case IDOK:
    case IDCANCEL:
        DestroyWindow(dialog);
        break;
    }
}

static void OnInitDialog(HWND dialog)
{
    gBoss.dialog = dialog;
    FillWindowList(dialog);
    SendDlgItemMessageA(dialog, IDC_WINDOW_LIST, LB_SETCURSEL, 0, 0);
    OnWindowSelected(dialog);
    CenterWindow(dialog, MainDialog);
}

INT_PTR CALLBACK WindowBossDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TIMER:
        if (wParam == kFlashTimer) EndFlash(dialog);
        return TRUE;
    case WM_RBUTTONDOWN:
        FillWindowList(dialog);
        return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
        // The name edit is white on black, enabled or not.
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(dialog, IDC_WINDOW_NAME)) return FALSE;
        return INT_PTR(ReportListColours(HDC(wParam), RGB(255, 255, 255)));
    case WM_CONTEXTMENU:
        // A right click on the dialog itself refilled the list; on a control it asks for help.
        if (reinterpret_cast<HWND>(wParam) == dialog) return TRUE;
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_WINDOW_BOSS);
        return TRUE;
    case WM_HELP:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_WINDOW_BOSS);
        return TRUE;
    case WM_DESTROY:
        // Also reached when the owner is destroyed first: the next call opens a new dialog.
        EndFlash(dialog);
        if (gBoss.dialog == dialog) gBoss = WindowBossState{};
        return FALSE;
    }
    return FALSE;
}

HWND WindowBoss(HWND parent)
{
    if (gBoss.dialog && IsWindow(gBoss.dialog)) {
        HWND open = gBoss.dialog;
        ShowWindow(open, SW_RESTORE);
        EnableWindow(open, TRUE);
        SetWindowTextA(open, kCaption);
        SetWindowPos(open, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(open);
        return open;
    }
    gBoss = WindowBossState{};
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_WINDOW_BOSS), parent,
                                     WindowBossDlgProc, 0);
    if (dialog) ShowWindow(dialog, SW_SHOW);
    return dialog;
}
