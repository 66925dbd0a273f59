#include "halvorn_process.h"

std::string gHalvornExe;

HalvornProcess::HalvornProcess(const std::string& testName, bool withCompanion)
{
    folder_ = FreshTestFolder("e2e_" + testName);
    CopyFileA(gHalvornExe.c_str(), (folder_ + "\\halvorn.exe").c_str(), FALSE);
    if (withCompanion) {
        std::string companion = gHalvornExe.substr(0, gHalvornExe.rfind('\\')) + "\\res16.exe";
        CopyFileA(companion.c_str(), (folder_ + "\\res16.exe").c_str(), FALSE);
    }
}

bool HalvornProcess::Start(const std::string& arguments)
{
    return StartProcess("\"" + folder_ + "\\halvorn.exe\" " + arguments, &process_, 0, folder_.c_str());
}

bool HalvornProcess::WaitUntilRunning(DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs && IsRunning(); Sleep(20)) {
        if (SamplingWindow() && MainWindow()) {
            Sleep(200);  // the companion start and the cursor follow the thread starts
            return true;
        }
    }
    return false;
}

bool HalvornProcess::WaitForExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!process_.hProcess || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) return false;
    if (exitCode) GetExitCodeProcess(process_.hProcess, exitCode);
    return true;
}

bool HalvornProcess::Close(DWORD timeoutMs)
{
    HWND window = MainWindow();
    DWORD code = 1;
    return window && PostMessageA(window, WM_CLOSE, 0, 0) && WaitForExit(timeoutMs, &code) && code == 0;
}
