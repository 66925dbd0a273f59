// Program entry: reads the command line, runs start-up and the primary message loop.
#include <windows.h>

#include "app/startup.h"
#include "services/debug_trace.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    if (CommandLineWantsDebug(commandLine)) DebugMode = 1;
    InitialiseProgram(instance);
    MSG msg = {};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return int(msg.wParam);
}
