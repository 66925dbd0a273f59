#include <windows.h>

#include "analysis/monitor_chooser.h"

#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "resources/ids_monitors.h"
#include "services/help_file.h"
#include "services/window_position.h"

namespace {

struct ChooserButton {
    int controlId;
    WPARAM monitor;
};
const ChooserButton kButtons[] = {
    {IDC_CHOOSE_DISK, MONITOR_DISK},         {IDC_CHOOSE_MEMORY, MONITOR_MEMORY},
    {IDC_CHOOSE_PRIORITIES, MONITOR_PRIORITY}, {IDC_CHOOSE_SOFTWARE, MONITOR_SOFTWARE},
    {IDC_CHOOSE_SYSTEM, MONITOR_SYSTEM},     {IDC_CHOOSE_USAGE, MONITOR_USAGE},
};

BOOL CALLBACK FindOwnSamplingWindow(HWND window, LPARAM result)
{
    char className[16] = {};
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != GetCurrentProcessId() || !GetClassNameA(window, className, sizeof className) ||
        lstrcmpA(className, "PDDynamic") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(result) = window;
    return FALSE;
}

void SendToSamplingWindow(WPARAM monitor)
{
    HWND sampling = nullptr;
    EnumWindows(FindOwnSamplingWindow, LPARAM(&sampling));
    if (sampling && MonitorActiveMessage != 0) SendMessageA(sampling, MonitorActiveMessage, monitor, 0);
}

INT_PTR CALLBACK MonitorChooserDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        CheckDlgButton(dialog, IDC_CHOOSE_ON_TOP, KeepMonitorsOnTop ? BST_CHECKED : BST_UNCHECKED);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, HELP_CONTEXT_MONITOR_CHOOSER);
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(dialog, id);
        } else if (id == IDC_CHOOSE_ON_TOP) {
            KeepMonitorsOnTop = IsDlgButtonChecked(dialog, IDC_CHOOSE_ON_TOP) == BST_CHECKED;
        } else {
            for (const ChooserButton& b : kButtons)
                if (b.controlId == id) SendToSamplingWindow(b.monitor);
        }
        return TRUE;
    }
    }
    return FALSE;
}

}  // namespace

void ShowMonitorChooser(HWND owner)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MONITOR_CHOOSER), owner, MonitorChooserDlgProc, 0);
}
