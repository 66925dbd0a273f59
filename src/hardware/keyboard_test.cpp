// The keyboard test: a picture of the keyboard whose key buttons disappear as the user
// presses their keys. One test at a time; its state is the static record below, used on
// the primary thread only.
//
// Once started, the dialog keeps the keyboard focus on itself, so that every key-down
// message comes to it, and it treats every key as a key under test: Esc, Enter, Tab, F1,
// Alt and F10 neither close it, press a button, move the focus, open help nor enter the
// system menu. Only the mouse (Cancel, or the X of the title bar) ends it early.
#include <windows.h>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "hardware/key_table.h"
#include "resources/ids_hardware.h"
#include "services/window_position.h"

namespace {

constexpr UINT kPollMs = 50;
constexpr LPARAM kExtendedKeyFlag = LPARAM(1) << 24;

struct KeyboardTest {
    HWND dialog;
    bool running;  // keys are being watched (after OK)
};

KeyboardTest gTest;

void SetMessageResult(HWND dialog, LONG_PTR result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
}

bool IsKeyButtonShown(HWND dialog, int id)
{
    return (GetWindowLongPtrA(GetDlgItem(dialog, id), GWL_STYLE) & WS_VISIBLE) != 0;
}

// Ends the test when the last key button has gone.
void EndWhenAllKeysSeen(HWND dialog)
{
    for (const KeyCode& key : kKeyTable)
        if (IsKeyButtonShown(dialog, key.buttonId)) return;
    KillTimer(dialog, IDT_KEYBOARD_POLL);
    DestroyWindow(dialog);
}

BOOL CALLBACK DisableInstruction(HWND child, LPARAM)
{
    if (GetDlgCtrlID(child) == IDC_LABEL) EnableWindow(child, FALSE);
    return TRUE;
}

void OnInitDialog(HWND dialog)
{
    gTest = {dialog, false};
    SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CenterWindow(dialog, MainDialog);
    SetFocus(GetDlgItem(dialog, IDOK));  // not the first key button
}

void StartWatching(HWND dialog)
{
    // Reading each key once clears what the system remembers of presses before the test.
    for (const KeyCode& key : kKeyTable) GetAsyncKeyState(VirtualKeyOf(key.code));
    for (const KeyCode& key : kKeyTable) {
        HWND button = GetDlgItem(dialog, key.buttonId);
        EnableWindow(button, FALSE);
        ShowWindow(button, SW_SHOW);
    }
    EnumChildWindows(dialog, DisableInstruction, 0);
    EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
    gTest.running = true;
    SetTimer(dialog, IDT_KEYBOARD_POLL, kPollMs, nullptr);
    SetFocus(dialog);
}

// Hides the button of every polled key that is down now. Only the "down" bit is read: the
// "pressed since the last call" bit is shared with every other caller and is not reliable.
void OnPoll(HWND dialog)
{
    for (const KeyCode& key : kKeyTable)
        if (key.code < kKeyWithoutExtendedFlag && (GetAsyncKeyState(key.code) & 0x8000))
            ShowWindow(GetDlgItem(dialog, key.buttonId), SW_HIDE);
    EndWhenAllKeysSeen(dialog);
}

void OnKeyDown(HWND dialog, WPARAM vk, LPARAM lParam)
{
    const int button = KeyButtonForKeyDown(kKeyTable, kKeyButtonCount, unsigned(vk), (lParam & kExtendedKeyFlag) != 0);
    if (button) ShowWindow(GetDlgItem(dialog, button), SW_HIDE);
    EndWhenAllKeysSeen(dialog);
}

void OnCommand(HWND dialog, int id)
{
    if (id == IDOK && !gTest.running) StartWatching(dialog);
    else if (id == IDCANCEL) {
        KillTimer(dialog, IDT_KEYBOARD_POLL);
        DestroyWindow(dialog);
    }
}

// While keys are watched, messages that keys would turn into actions are answered here, so
// the dialog manager and the default handling never act on them.
bool OnKeyAction(HWND dialog, UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_GETDLGCODE:  // the dialog itself wants every key and character
        SetMessageResult(dialog, DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
        return true;
    case WM_SYSCOMMAND:  // Alt or F10 alone would open the system menu; the mouse still may
        return (wParam & 0xFFF0) == SC_KEYMENU;
    case WM_SYSCHAR:     // Alt with a letter: no mnemonic, no beep
    case WM_SYSKEYUP:
    case WM_CHAR:
        return true;
    case WM_APPCOMMAND:  // media keys are keys under test here
        SetMessageResult(dialog, TRUE);
        return true;
    case WM_SETFOCUS:    // the focus stays on the dialog, not on its first button
        return true;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE) SetFocus(dialog);
        return true;
    }
    return false;
}

INT_PTR CALLBACK KeyboardTestDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (gTest.running && gTest.dialog == dialog && OnKeyAction(dialog, message, wParam)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return FALSE;  // the focus is set
    case WM_TIMER:
        if (wParam == IDT_KEYBOARD_POLL && gTest.running) OnPoll(dialog);
        return TRUE;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!gTest.running) return FALSE;
        OnKeyDown(dialog, wParam, lParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_HELP:  // F1 is a key like the others; the test has no help of its own
        return TRUE;
    case WM_DESTROY:
        KillTimer(dialog, IDT_KEYBOARD_POLL);
        if (gTest.dialog == dialog) gTest = {};
        return TRUE;
    }
    return FALSE;
}

}  // namespace

HWND StartKeyboardTest(HWND owner)
{
    if (gTest.dialog && IsWindow(gTest.dialog)) {
        SetForegroundWindow(gTest.dialog);
        return gTest.dialog;
    }
    HINSTANCE instance = gInstance ? gInstance : GetModuleHandleA(nullptr);
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_KEYBOARD_TEST), owner, KeyboardTestDlgProc, 0);
    if (dialog) ShowWindow(dialog, SW_SHOW);
    return dialog;
}
