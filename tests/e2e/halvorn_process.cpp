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

// Whether the thread of window takes messages: answered at once, it is in its message loop.
static bool Answers(HWND window)
{
    DWORD_PTR result = 0;
    return window && SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 200, &result);
}

bool HalvornProcess::WaitUntilRunning(DWORD timeoutMs)
{
    // Start-up ends on the main thread after the sampling thread starts (the companion, the
    // cursor): running means both threads answer.
    bool running = false;
    WaitUntil([&] { return !IsRunning() || (running = Answers(SamplingWindow()) && Answers(MainWindow())); }, timeoutMs);
    return running;
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
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            // Visible once its initialisation is over and its controls exist.
            if (owner == Id() && IsWindowVisible(w) && std::find(known.begin(), known.end(), w) == known.end())
                return (found = w) != nullptr;
        }
        return false;
    }, timeoutMs);
    return found;
}

HWND HalvornProcess::OpenFrom(HWND dialog, int button, const char* title) const
{
    SetWindowPos(dialog, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    PostMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
    return WaitForDialog(title);
}

bool WaitWhileActive(const std::function<bool()>& condition, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount();;) {
        RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync key Shift_L");
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs) return condition();
        if (WaitUntil(condition, std::min<DWORD>(1000, timeoutMs - elapsed), true)) return true;
    }
}
