// Window and process naming against real windows, threads and processes: this process,
// threads it starts, and helper processes that run this executable with one DISABLED_ test.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/window_names.h"
#include "test_windows.h"

namespace {
const char* const kOwnerTitle = "Helper App - main";
const char* const kPopupTitle = "Tool Box - palette";

HWND Popup(const char* title, HWND owner = nullptr, DWORD style = WS_POPUP)
{
    return CreateWindowA("STATIC", title, style, 0, 0, 100, 50, owner, nullptr, nullptr, nullptr);
}

// This executable's file title ("win_tests"), which names a process without windows.
std::string ExeTitle()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    const std::string name = strrchr(self, '\\') + 1;
    return name.substr(0, name.find('.'));
}

std::set<DWORD> RunningProcessIds()
{
    std::set<DWORD> ids;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {sizeof entry};
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry))
        ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}
}  // namespace

// Helper process: an owner window, a popup it owns, both titled, and a newer untitled
// popup, until the owner closes.
TEST(ProcessHelper, DISABLED_ShowsTitledWindows)
{
    HWND owner = Popup(kOwnerTitle);
    Popup(kPopupTitle, owner);
    Popup("");
    PumpMessagesFor(60000, owner);
}

// Helper process: no windows at all, until it is ended.
TEST(ProcessHelper, DISABLED_RunsWithoutWindows)
{
    Sleep(60000);
}

TEST(WindowsProcesses, TopLevelOwnerClimbsParentsThenOwners)
{
    // top <- owned (overlapped: GetParent does not report its owner) <- popup <- child
    HWND top = Popup("top", nullptr, WS_OVERLAPPED);
    HWND owned = Popup("owned", top, WS_OVERLAPPED);
    HWND popup = Popup("popup", owned);
    HWND child = CreateWindowA("STATIC", "child", WS_CHILD, 0, 0, 10, 10, popup, nullptr, nullptr, nullptr);
    ASSERT_TRUE(child && !GetParent(owned));
    for (HWND w : {child, popup, owned, top}) EXPECT_EQ(TopLevelOwner(w), top);
    EXPECT_EQ(TopLevelOwner(nullptr), nullptr);
    // Titles are read with at most 255 characters.
    SetWindowTextA(top, (std::string(300, 'w') + " - x").c_str());
    char name[300];
    AppNameFromTitle(top, name, sizeof name);
    EXPECT_EQ(std::string(name), std::string(255, 'w'));
    DestroyWindow(top);
}

TEST(WindowsProcesses, ProcessesAndThreadsAreNamedByTheirWindowsOrTheirMainModule)
{
    LoadToolhelp();
    PROCESS_INFORMATION titled = StartHelperTest("ProcessHelper.DISABLED_ShowsTitledWindows");
    PROCESS_INFORMATION bare = StartHelperTest("ProcessHelper.DISABLED_RunsWithoutWindows");
    HWND owner = WaitForProcessWindow(titled.dwProcessId, kOwnerTitle, 15000);
    ASSERT_TRUE(owner && WaitForProcessWindow(titled.dwProcessId, kPopupTitle, 15000) && bare.hProcess);
    WaitForInputIdle(bare.hProcess, 2000);
    ProgramNameQuery query;
    memset(&query, 0x55, sizeof query);
    ProgramNameOf(titled.dwProcessId, &query);
    EXPECT_EQ(query.processId, titled.dwProcessId);
    EXPECT_STREQ(query.programName, "Helper App");
    EXPECT_EQ(query.window, owner);  // the newer popup is met first; its titled owner names it
    ProgramNameOf(bare.dwProcessId, &query);
    EXPECT_EQ(std::string(query.programName), ExeTitle());
    EXPECT_EQ(query.window, nullptr);

    // Threads are named by their newest titled window (else by the special name of their
    // process, empty here), within the given size, and owned by their process.
    char title[64];
    ThreadWindowTitle(titled.dwThreadId, title, sizeof title);
    EXPECT_STREQ(title, kPopupTitle);
    ThreadWindowTitle(titled.dwThreadId, title, 5);
    EXPECT_STREQ(title, "Tool");
    ThreadWindowTitle(bare.dwThreadId, title, sizeof title);
    EXPECT_STREQ(title, "");
    EXPECT_EQ(ThreadOwnerOf(bare.dwThreadId), bare.dwProcessId);
    EXPECT_EQ(ThreadOwnerOf(3), 0u);  // thread ids are multiples of 4
    const LONG normal = ThreadPriorityOf(bare.dwThreadId);
    ASSERT_TRUE(SetThreadPriority(bare.hThread, THREAD_PRIORITY_HIGHEST));
    EXPECT_GT(ThreadPriorityOf(bare.dwThreadId), normal);

    // The list names every process once and hides its id behind a tab.
    HWND dialog = Popup("Process List - test");
    CreateWindowA("LISTBOX", "", WS_CHILD | LBS_USETABSTOPS, 0, 0, 100, 50, dialog, HMENU(100), nullptr, nullptr);
    const std::set<DWORD> before = RunningProcessIds();
    FillProcessList(dialog, 100);
    const std::set<DWORD> after = RunningProcessIds();
    std::set<DWORD> listed;
    std::set<std::string> lines;
    for (const std::string& line : ListBoxLines(GetDlgItem(dialog, 100))) {
        const size_t tab = line.find('\t');
        ASSERT_TRUE(tab > 0 && tab != std::string::npos && line.find('\t', tab + 1) == std::string::npos) << line;
        EXPECT_TRUE(listed.insert(DWORD(std::stoul(line.substr(tab + 1)))).second) << line;
        lines.insert(line);
    }
    // Other programs of the session may start or end meanwhile.
    for (DWORD id : before) EXPECT_TRUE(listed.count(id) || !after.count(id)) << id << " is missing";
    for (DWORD id : listed) EXPECT_TRUE(before.count(id) || after.count(id)) << id << " is made up";
    EXPECT_TRUE(lines.count("Helper App\t" + std::to_string(titled.dwProcessId)));
    EXPECT_TRUE(lines.count(ExeTitle() + "\t" + std::to_string(bare.dwProcessId)));
    EXPECT_TRUE(lines.count("Process List\t" + std::to_string(GetCurrentProcessId())));
    DestroyWindow(dialog);

    // A process that no longer runs has no name.
    PostMessageA(owner, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(titled.hProcess, 10000), WAIT_OBJECT_0);
    EndHelperProcess(&titled);
    const DWORD gone = bare.dwProcessId;
    EndHelperProcess(&bare);
    ProgramNameOf(gone, &query);
    EXPECT_STREQ(query.programName, "");
}
