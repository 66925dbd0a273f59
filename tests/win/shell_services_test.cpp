#include <gtest/gtest.h>

#include "box_watcher.h"
#include "child_modes.h"
#include "services/debug_trace.h"
#include "services/program_directory.h"
#include "services/toolhelp.h"
#include "services/window_position.h"

TEST(DebugTrace, ShowsNumberedBoxesOnlyInDebugMode)
{
    BoxWatcher boxes;
    DebugMode = 0;
    const int before = DebugTraceCounter;
    DebugTrace(kTraceString, "Main...", "Initialize");
    EXPECT_EQ(DebugTraceCounter, before);
    EXPECT_TRUE(boxes.Boxes().empty());

    DebugMode = 1;
    int value = 42;
    DebugTrace(kTraceInt, "Count", &value);
    DebugTrace(kTraceString, "Main...", "Initialize");
    DebugMode = 0;
    auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].caption, "Message #" + std::to_string(before));
    EXPECT_EQ(seen[0].text, "Count = 42");
    EXPECT_EQ(seen[1].caption, "Message #" + std::to_string(before + 1));
    EXPECT_EQ(seen[1].text, "Main... = Initialize");
    EXPECT_EQ(DebugTraceCounter, before + 2);
}

TEST(AllocChecked, ExhaustionShowsTheBoxAndEndsWithCodeZero)
{
    PROCESS_INFORMATION child = StartChild("alloc-huge", "");
    ASSERT_NE(child.hProcess, nullptr);
    BoxWatcher boxes(child.dwProcessId);
    SeenBox box;
    EXPECT_TRUE(boxes.WaitForBox("Out of Memory", 10000, &box));
    EXPECT_EQ(box.text,
              "Unable to allocate enough memory to continue the program. Close program and restart or contact "
              "Technical Support.");
    ASSERT_EQ(WaitForSingleObject(child.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(child.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
}

TEST(LoadToolhelp, FindsTheSnapshotFunctions)
{
    LoadToolhelp();
    ASSERT_NE(th::CreateToolhelp32Snapshot, nullptr);
    ASSERT_NE(th::Process32First, nullptr);
    ASSERT_NE(th::Process32Next, nullptr);
    EXPECT_NE(th::Thread32First, nullptr);
    EXPECT_NE(th::Module32First, nullptr);
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    ASSERT_NE(snapshot, INVALID_HANDLE_VALUE);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    bool foundSelf = false;
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry))
        foundSelf |= entry.th32ProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    EXPECT_TRUE(foundSelf);
}

TEST(ProgramDirectory, IsTheExecutablesFolder)
{
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string expected(self);
    expected.resize(expected.rfind('\\'));
    EXPECT_EQ(std::string(folder), expected);
    char tiny[4] = "xyz";
    ProgramDirectory(nullptr, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "");
}

TEST(CenterWindow, CentresOverAWindowAndStaysOnTheDesktop)
{
    HWND over = CreateWindowA("STATIC", "over", WS_POPUP, 100, 100, 400, 200, nullptr, nullptr, nullptr, nullptr);
    HWND window = CreateWindowA("STATIC", "window", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(over && window);
    CenterWindow(window, over);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 200);
    EXPECT_EQ(r.top, 150);
    EXPECT_EQ(r.right - r.left, 200);  // moved, never sized

    RECT desktop;
    GetWindowRect(GetDesktopWindow(), &desktop);
    SetWindowPos(over, nullptr, desktop.right - 50, desktop.bottom - 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CenterWindow(window, over);
    GetWindowRect(window, &r);
    EXPECT_EQ(r.right, desktop.right);
    EXPECT_EQ(r.bottom, desktop.bottom);
    DestroyWindow(window);
    DestroyWindow(over);
}
