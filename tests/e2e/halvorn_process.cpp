#include "halvorn_process.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    if (!StartProcess("\"" + folder_ + "\\halvorn.exe\" " + arguments, &process_, 0, folder_.c_str())) return false;
    unexpectedBoxes_.reset(new BoxWatcher(process_.dwProcessId, IDNO, 8000));
    return true;
}

HalvornProcess::~HalvornProcess()
{
    EndHelperProcess(&process_);
    if (!unexpectedBoxes_) return;
    for (const SeenBox& box : unexpectedBoxes_->Boxes())
        ADD_FAILURE() << "halvorn.exe showed a box no test answered: \"" << box.caption << "\": " << box.text;
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

HWND HalvornProcess::WaitForDialog(const char* title, const std::vector<HWND>& known, DWORD timeoutMs) const
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(50)) {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            // Visible once its initialisation is over and its controls exist.
            if (owner == Id() && IsWindowVisible(w) && std::find(known.begin(), known.end(), w) == known.end())
                return w;
        }
    }
    return nullptr;
}

void PumpWhileActive(DWORD ms)
{
    const DWORD start = GetTickCount();
    for (DWORD elapsed = 0; elapsed < ms; elapsed = GetTickCount() - start) {
        RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L");
        const DWORD left = ms - std::min(ms, GetTickCount() - start);
        PumpMessagesFor(std::min<DWORD>(1000, left));
    }
}
