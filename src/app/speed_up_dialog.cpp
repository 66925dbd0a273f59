#include <windows.h>

#include "app/speed_up_dialog.h"

#include "analysis/bottleneck_analyzer.h"
#include "analysis/wait_time.h"
#include "app/app_globals.h"
#include "app/confirm_boost.h"
#include "bench/benchmarks.h"
#include "hardware/hardware_optimizer.h"
#include "hardware/upgrade_advisor.h"
#include "resources/ids_main.h"
#include "services/window_position.h"
#include "ui/picture_dialog.h"

static const PictureButton kSpeedButtons[] = {
    {IDC_SPEED_BENCHMARK, IDB_SPEED_BENCHMARK}, {IDC_SPEED_WAIT, IDB_SPEED_WAIT},
    {IDC_SPEED_BOTTLENECK, IDB_SPEED_BOTTLENECK}, {IDC_SPEED_OPTIMIZE, IDB_SPEED_OPTIMIZE},
    {IDC_SPEED_UPGRADE, IDB_SPEED_UPGRADE},
};

INT_PTR CALLBACK SpeedUpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (OnPictureButtonDialog(dialog, message, wParam, lParam, kSpeedButtons, HELP_CONTEXT_SPEED_UP)) return TRUE;
    switch (message) {
    case WM_INITDIALOG:
        CenterWindow(dialog, MainDialog);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SPEED_BENCHMARK:  // modal, owned by this dialog
            OpenBenchmarks(dialog);
            break;
        case IDC_SPEED_WAIT:  // modeless, owned by this dialog: it closes with it
            OpenWaitTime(dialog);
            break;
        case IDC_SPEED_UPGRADE:
            OpenUpgradeAdvisor(dialog);
            break;
        case IDC_SPEED_OPTIMIZE:  // modal, owned by this dialog; its buttons confirm in "Boosting"
            OpenHardwareOptimizer(dialog, ConfirmBoost);
            break;
        case IDC_SPEED_BOTTLENECK:
            OpenBottleneckAnalyzer(dialog, BottleneckVariant::kHardware);
            break;
        }
        return TRUE;
    }
    return FALSE;
}
