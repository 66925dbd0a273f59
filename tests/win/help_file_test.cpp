#include <gtest/gtest.h>

#include <string>

#include "box_watcher.h"
#include "services/help_file.h"
#include "services/program_directory.h"
#include "services/toolhelp.h"
#include "wine_env.h"

namespace {
// A window titled "ERROR" that belongs to another process: what Windows help shows for
// a file it cannot open.
BOOL CALLBACK FindForeignError(HWND window, LPARAM found)
{
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != GetCurrentProcessId() && WindowText(window) == "ERROR") *reinterpret_cast<bool*>(found) = true;
    return TRUE;
}

bool HelpProcessRuns()
{
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry))
        found |= lstrcmpiA(entry.szExeFile, "winhlp32.exe") == 0;
    CloseHandle(snapshot);
    return found;
}
}  // namespace

TEST(ShowHelpFile, AMissingHelpFileIsReportedWithoutStartingHelp)
{
    LoadToolhelp();
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    ASSERT_FALSE(PathExists(std::string(folder) + "\\pd32.hlp"));

    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (HWND window : {HWND(nullptr), owner}) {
        SCOPED_TRACE(window ? "owned" : "no owner");
        BoxWatcher boxes;
        EXPECT_FALSE(ShowHelpFile(window, HELP_CONTEXT, 29021));
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Help", 5000, &box));
        EXPECT_EQ(box.text, "The help file pd32.hlp is not in the program's folder.");
        EXPECT_EQ(boxes.Boxes().size(), 1u);
    }
    DestroyWindow(owner);

    // Give a wrongly started help program time to show its error.
    Sleep(1000);
    bool foreignError = false;
    EnumWindows(FindForeignError, reinterpret_cast<LPARAM>(&foreignError));
    EXPECT_FALSE(foreignError);
    EXPECT_FALSE(HelpProcessRuns());
}
