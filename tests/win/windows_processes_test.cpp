// Window and process naming against real windows, threads and processes: this process,
// threads it starts, and helper processes that run this executable with one DISABLED_ test.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/window_names.h"
#include "test_windows.h"
#include "wine_differences.h"

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

// Helper process: no windows of its own but an input-method window, as every thread with
// a window has on today's systems, until it is ended.
TEST(ProcessHelper, DISABLED_RunsWithoutWindows)
{
    WNDCLASSA ime = {};
    ime.lpfnWndProc = DefWindowProcA;
    ime.lpszClassName = "IME";
    RegisterClassA(&ime);
    CreateWindowA("IME", "Default IME", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    PumpMessagesFor(60000);
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

TEST(WindowsProcesses, ProcessesAreNamedByTheirWindowsOrTheirMainModule)
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
    ASSERT_TRUE(WaitForProcessWindow(bare.dwProcessId, "Default IME", 15000));
    ProgramNameOf(bare.dwProcessId, &query);
    EXPECT_EQ(std::string(query.programName), ExeTitle());
    EXPECT_EQ(query.window, nullptr);

    // The list names every process once and hides its id behind a tab.
    HWND dialog = Popup("Process List - test");
    CreateWindowA("LISTBOX", "", WS_CHILD | LBS_USETABSTOPS, 0, 0, 100, 50, dialog, HMENU(100), nullptr, nullptr);
    FillProcessList(dialog, 100);
    std::set<std::string> lines, ids;
    for (const std::string& line : ListBoxLines(GetDlgItem(dialog, 100))) {
        const size_t tab = line.find('\t');
        ASSERT_TRUE(tab > 0 && tab != std::string::npos && line.find('\t', tab + 1) == std::string::npos) << line;
        EXPECT_TRUE(ids.insert(line.substr(tab + 1)).second) << line;
        lines.insert(line);
    }
    EXPECT_TRUE(lines.count("Helper App\t" + std::to_string(titled.dwProcessId)));
    EXPECT_TRUE(lines.count(ExeTitle() + "\t" + std::to_string(bare.dwProcessId)));
    EXPECT_TRUE(lines.count("Process List\t" + std::to_string(GetCurrentProcessId())));
    DestroyWindow(dialog);
    EndHelperProcess(&titled);
    EndHelperProcess(&bare);
}

static DWORD WINAPI WaitForEvent(LPVOID event)
{
    WaitForSingleObject(HANDLE(event), 10000);
    return 0;
}

// tpBasePri of the thread as the system's own snapshot reports it, before any conversion.
static LONG RawSnapshotPriority(DWORD threadId)
{
    LONG priority = -99;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32ThreadID == threadId) priority = entry.tpBasePri;
    CloseHandle(snapshot);
    return priority;
}

TEST(WindowsProcesses, ThreadPrioritiesAreAbsoluteLevels)
{
    LoadToolhelp();
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    // Levels depend on the class of the thread's process, which Wine gives only in the
    // process snapshot.
    const struct {
        DWORD processClass;
        int relative;
        LONG level;
    } cases[] = {
        {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL, 8},  {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_HIGHEST, 10},
        {NORMAL_PRIORITY_CLASS, THREAD_PRIORITY_IDLE, 1},    {HIGH_PRIORITY_CLASS, THREAD_PRIORITY_NORMAL, 13},
        {HIGH_PRIORITY_CLASS, THREAD_PRIORITY_HIGHEST, 15},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.processClass << " " << c.relative);
        ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), c.processClass));
        DWORD id = 0;
        HANDLE thread = CreateThread(nullptr, 0, WaitForEvent, release, CREATE_SUSPENDED, &id);
        SetThreadPriority(thread, c.relative);
        ResumeThread(thread);
        EXPECT_EQ(ThreadPriorityOf(id), c.level);
        EXPECT_UNLESS_WINE_DIFFERS(RawSnapshotPriority(id) == c.level,
                                   "thread snapshots give priorities relative to the process class");
        CloseHandle(thread);
    }
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    SetEvent(release);
    CloseHandle(release);
}
