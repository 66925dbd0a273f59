#include <windows.h>
#include <commctrl.h>

#include "app/app_globals.h"
#include "app/close_programs.h"
#include "app/main_dialog.h"
#include "app/main_window.h"
#include "app/sampling_thread.h"
#include "app/startup.h"
#include "equipment/equipment_info.h"
#include "equipment/inventory.h"
#include "resources/ids_app.h"
#include "sampling/file_watch.h"
#include "sampling/input_hook.h"
#include "sampling/perf_stats.h"
#include "sampling/stats_file.h"
#include "services/alloc.h"
#include "services/debug_trace.h"
#include "services/toolhelp.h"
#include "ui/shared_gdi.h"
#include "ui/splash.h"

static void Trace(const char* stage)
{
    DebugTrace(kTraceString, "Main...", stage);
}

static bool RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = instance;
    wc.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_APP));
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(1);
    wc.lpszClassName = "PANDREL";
    return RegisterClassA(&wc) != 0;
}

static void StartCompanion()
{
    // Found by name on the normal program search path; a missing companion is fine.
    char commandLine[] = "res16.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

void InitialiseProgram(HINSTANCE instance)
{
    gInstance = instance;
    // Drive probes (free space, volume names, walks) touch removable drives that may hold no
    // medium: they must fail quietly instead of stopping the program with a "no disk" box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    if (HWND running = FindWindowA("PANDREL", nullptr)) {
        MessageBoxA(nullptr, "To avoid hampering system performance only one copy should be running at a time.",
                    "Pandrel 32 is already running", MB_OK | MB_ICONEXCLAMATION);
        BringRunningCopyToFront(running);
        ExitProcess(0);
    }
    if (!RegisterMainWindowClass(instance)) ExitProcess(1);
    InitCommonControls();
    CreateSharedGdi();
    NewDataReadyMessage = RegisterWindowMessageA("NEWDATAREADY");
    MonitorActiveMessage = RegisterWindowMessageA("MONITORACTIVE");
    MainWindow = CreateWindowA("PANDREL", "Pandrel 32", WS_OVERLAPPEDWINDOW, 0, 0, 640, 480, nullptr, nullptr,
                               instance, nullptr);
    SplashShow(MainWindow);
    Trace("Initialize");
    LoadToolhelp();

    gSystemStats = static_cast<SystemStats*>(AllocChecked(GPTR, sizeof(SystemStats)));
    gLiveSample = static_cast<LiveSample*>(AllocChecked(GPTR, sizeof(LiveSample)));
    gEquipmentInfo = static_cast<EquipmentInfo*>(AllocChecked(GPTR, sizeof(EquipmentInfo)));

    Trace("Read Databases");
    LoadSystemStats();
    Trace("Start Performance Data");
    StartPerfStats();
    Trace("Get All Equipment");
    GetAllEquipment(MainWindow);
    Trace("Create Thread");
    SetInputHook(TRUE);
    InitializeCriticalSection(&PrintLock);
    SplashFinish();

    MainDialog = CreateMainDialog();
    if (MainDialog) RedrawWindow(MainDialog, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);

    DWORD threadId;
    SamplingThreadHandle = CreateThread(nullptr, 0, SamplingThread, nullptr, 0, &threadId);
    HANDLE watcher = CreateThread(nullptr, 0, FileWatchThread, nullptr, 0, &threadId);
    if (watcher) CloseHandle(watcher);

    PandkitMessage = RegisterWindowMessageA("PANDKIT");
    StartCompanion();
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));
}

void ExitProgram()
{
    if (MainDialog) DestroyWindow(MainDialog);
    MainDialog = nullptr;
    SaveSystemStats();
    SetInputHook(FALSE);
    DeleteSharedGdi();
    // Posted, not sent: a hung top-level window must not hold up the exit.
    PostMessageA(HWND_BROADCAST, PandkitMessage, WPARAM(0xFFFFFFFFu), 0);
    PostQuitMessage(0);
}
