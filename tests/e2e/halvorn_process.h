// Starts halvorn.exe from a fresh folder of its own (its sysstats.dat lives beside it),
// finds its windows and ends it.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "test_windows.h"
#include "wine_env.h"

extern std::string gHalvornExe;  // Windows path of the built program

class HalvornProcess {
public:
    // withCompanion: res16.exe is copied beside the program, so start-up finds it.
    explicit HalvornProcess(const std::string& testName, bool withCompanion = false);
    // Kills the process if it still runs, and fails the test for every box of the program
    // that no test answered.
    ~HalvornProcess();

    const std::string& Folder() const { return folder_; }
    std::string StatsPath() const { return folder_ + "\\sysstats.dat"; }

    bool Start(const std::string& arguments = "");
    // Waits until start-up is over: the sampling thread's window and the main window answer.
    bool WaitUntilRunning(DWORD timeoutMs = 20000);
    // Waits for the process to end; false after timeoutMs.
    bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
    // Ends the program the clean way (its Exit sequence) and waits for it to exit with 0.
    bool Close(DWORD timeoutMs = 20000);
    bool IsRunning() const { return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    // Ends the process at once, the way a crash or the task list would.
    void Kill() { EndHelperProcess(&process_); }

    DWORD Id() const { return process_.dwProcessId; }
    HWND MainWindow() const { return FindTopLevel("PANDREL"); }
    HWND SamplingWindow() const { return FindTopLevel("PDDynamic"); }
    HWND FindTopLevel(const char* className) const { return FindProcessWindow(process_.dwProcessId, className); }
    // Waits for a visible dialog of this process with this title that is not one of known.
    HWND WaitForDialog(const char* title, const std::vector<HWND>& known = {}, DWORD timeoutMs = 10000) const;
    // Brings dialog to the top, presses its button and waits for the dialog that opens.
    // (Under Wine a button of an inactive window loses a posted BM_CLICK.)
    HWND OpenFrom(HWND dialog, int button, const char* title) const;

private:
    std::string folder_;
    PROCESS_INFORMATION process_ = {};
    // Answers "No" to a box that stays unanswered for 8 s, so an unexpected box cannot hang
    // the test; the destructor reports it.
    std::unique_ptr<BoxWatcher> unexpectedBoxes_;
};

// Waits until condition holds, handling this thread's messages and pressing a key on the
// display every second so the program counts the user as active and samples every tick;
// false after timeoutMs.
bool WaitWhileActive(const std::function<bool()>& condition, DWORD timeoutMs);
