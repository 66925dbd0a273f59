#include <windows.h>

#include "analysis/monitor_chooser.h"

#include "analysis/monitors.h"
#include "app/app_globals.h"
#include "resources/ids_monitors.h"
#include "services/help_file.h"
#include "services/view_registry.h"
#include "services/window_position.h"

namespace {

void SendToSamplingWindow(WPARAM monitor)
{
    HWND sampling = SamplingWindow();
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
        } else if (const WPARAM monitor = MonitorOfChooserControl(id)) {
            SendToSamplingWindow(monitor);
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
