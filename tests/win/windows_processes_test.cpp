// Window and process naming against real windows, threads and processes: this process,
// threads it starts, and helper processes that run this executable with one DISABLED_ test.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "services/processes.h"
#include "services/toolhelp.h"
#include "services/vwin32.h"
#include "services/window_names.h"
#include "test_windows.h"

namespace {
const char* const kHelperOwnerTitle = "Helper App - main";
const char* const kHelperPopupTitle = "Tool Box - palette";

HWND Popup(const char* title, HWND owner = nullptr, DWORD style = WS_POPUP)
{
    return CreateWindowA("STATIC", title, style, 0, 0, 100, 50, owner, nullptr, nullptr, nullptr);
}

std::string ExeFileName()
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self);
    return path.substr(path.rfind('\\') + 1);
}

// A thread of this process that owns top-level windows with the given titles (created in
// order) and serves their messages until it is stopped.
class WindowThread {
public:
    explicit WindowThread(std::vector<std::string> titles) : titles_(std::move(titles))
    {
        ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
        WaitForSingleObject(ready_, 10000);
    }
    ~WindowThread()
    {
        SetEvent(stop_);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        CloseHandle(stop_);
        CloseHandle(ready_);
    }
    DWORD Id() const { return threadId_; }
    HANDLE Handle() const { return thread_; }

private:
    static DWORD WINAPI Run(LPVOID self)
    {
        WindowThread* me = static_cast<WindowThread*>(self);
        std::vector<HWND> windows;
        for (const std::string& title : me->titles_) windows.push_back(Popup(title.c_str()));
        SetEvent(me->ready_);
        while (MsgWaitForMultipleObjects(1, &me->stop_, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
        }
        for (HWND w : windows) DestroyWindow(w);
        return 0;
    }
    std::vector<std::string> titles_;
    HANDLE ready_, stop_, thread_;
    DWORD threadId_ = 0;
};

class WindowsProcesses : public testing::Test {
protected:
    void SetUp() override { LoadToolhelp(); }
};

std::set<DWORD> RunningProcessIds()
{
    std::set<DWORD> ids;
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry))
        ids.insert(entry.th32ProcessID);
    CloseHandle(snapshot);
    return ids;
}
}  // namespace

// Helper process: an owner window and a popup it owns, both titled, until the owner is
// closed.
TEST(ProcessHelper, DISABLED_ShowsTitledWindows)
{
    HWND owner = Popup(kHelperOwnerTitle);
    Popup(kHelperPopupTitle, owner);
    PumpUntilClosed(owner, 60000);
}

// Helper process: no windows at all, until it is ended.
TEST(ProcessHelper, DISABLED_RunsWithoutWindows)
{
    Sleep(60000);
}

TEST_F(WindowsProcesses, TopLevelOwnerClimbsParentsThenOwners)
{
    // top <- owned (an overlapped window: GetParent does not report its owner) <- popup <- child
    HWND top = Popup("top", nullptr, WS_OVERLAPPED);
    HWND owned = Popup("owned", top, WS_OVERLAPPED);
    HWND popup = Popup("popup", owned);
    HWND child = CreateWindowA("STATIC", "child", WS_CHILD, 0, 0, 10, 10, popup, nullptr, nullptr, nullptr);
    ASSERT_TRUE(top && owned && popup && child);
    ASSERT_EQ(GetParent(owned), nullptr);
    EXPECT_EQ(TopLevelOwner(child), top);
    EXPECT_EQ(TopLevelOwner(popup), top);
    EXPECT_EQ(TopLevelOwner(owned), top);
    EXPECT_EQ(TopLevelOwner(top), top);
    EXPECT_EQ(TopLevelOwner(nullptr), nullptr);
    DestroyWindow(top);
}

TEST_F(WindowsProcesses, AppNameFromTitleReadsTheWindowsTitle)
{
    HWND window = Popup("Notepad - README.TXT");
    char name[64];
    AppNameFromTitle(window, name, sizeof name);
    EXPECT_STREQ(name, "Notepad");
    AppNameFromTitle(window, name, 4);
    EXPECT_STREQ(name, "Not");
    SetWindowTextA(window, std::string(300, 'w').c_str());
    char longName[300];
    AppNameFromTitle(window, longName, sizeof longName);
    EXPECT_EQ(std::string(longName), std::string(255, 'w'));  // titles are read up to 255 characters
    AppNameFromTitle(nullptr, name, sizeof name);
    EXPECT_STREQ(name, "");
    DestroyWindow(window);
}

TEST_F(WindowsProcesses, ProgramNameOfComesFromTheHighestTitledWindow)
{
    PROCESS_INFORMATION helper = StartHelperTest("ProcessHelper.DISABLED_ShowsTitledWindows");
    ASSERT_NE(helper.hProcess, nullptr);
    HWND owner = WaitForProcessWindow(helper.dwProcessId, kHelperOwnerTitle, 15000);
    HWND popup = WaitForProcessWindow(helper.dwProcessId, kHelperPopupTitle, 15000);
    ASSERT_TRUE(owner && popup);

    ProgramNameQuery query;
    memset(&query, 0x55, sizeof query);
    ProgramNameOf(helper.dwProcessId, &query);
    EXPECT_EQ(query.processId, helper.dwProcessId);
    EXPECT_STREQ(query.programName, "Helper App");
    // Whichever window is visited first, the name comes from the owner above the popup.
    EXPECT_EQ(query.window, owner);

    PostMessageA(owner, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(helper.hProcess, 10000), WAIT_OBJECT_0);
    EndHelperProcess(&helper);
}

TEST_F(WindowsProcesses, ProgramNameOfAWindowlessProcessIsItsExecutablesTitle)
{
    PROCESS_INFORMATION helper = StartHelperTest("ProcessHelper.DISABLED_RunsWithoutWindows");
    ASSERT_NE(helper.hProcess, nullptr);
    WaitForInputIdle(helper.hProcess, 2000);
    ProgramNameQuery query;
    ProgramNameOf(helper.dwProcessId, &query);
    const std::string exe = ExeFileName();
    EXPECT_EQ(std::string(query.programName), exe.substr(0, exe.find('.')));
    EXPECT_EQ(query.window, nullptr);

    // A process that no longer runs has no name at all.
    const DWORD gone = helper.dwProcessId;
    EndHelperProcess(&helper);
    ProgramNameOf(gone, &query);
    EXPECT_STREQ(query.programName, "");
    EXPECT_EQ(query.processId, gone);
}

TEST_F(WindowsProcesses, ThreadWindowTitleTakesTheFirstTitledWindow)
{
    {
        // The untitled window is the newest, so it is met first and passed over.
        WindowThread worker({"Worker Title", ""});
        char title[64];
        memset(title, 'x', sizeof title);
        ThreadWindowTitle(worker.Id(), title, sizeof title);
        EXPECT_STREQ(title, "Worker Title");
        ThreadWindowTitle(worker.Id(), title, 7);
        EXPECT_STREQ(title, "Worker");
    }
    WindowThread bare({});
    char title[64];
    memset(title, 'x', sizeof title);
    // No window: the special name of an ordinary process, which is empty.
    ThreadWindowTitle(bare.Id(), title, sizeof title);
    EXPECT_STREQ(title, "");
}

TEST_F(WindowsProcesses, ThreadOwnerAndPriorityComeFromTheThreadSnapshot)
{
    WindowThread worker({});
    EXPECT_EQ(ThreadOwnerOf(worker.Id()), GetCurrentProcessId());
    EXPECT_EQ(ThreadOwnerOf(GetCurrentThreadId()), GetCurrentProcessId());
    EXPECT_EQ(ThreadOwnerOf(3), 0u);  // thread ids are multiples of 4
    EXPECT_EQ(ThreadPriorityOf(3), 0);

    const LONG normal = ThreadPriorityOf(worker.Id());
    ASSERT_TRUE(SetThreadPriority(worker.Handle(), THREAD_PRIORITY_HIGHEST));
    const LONG raised = ThreadPriorityOf(worker.Id());
    EXPECT_GT(raised, normal);

    // The figure is base priority plus delta, as the snapshot reports them.
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    LONG expected = -100;
    for (BOOL more = th::Thread32First(snapshot, &entry); more; more = th::Thread32Next(snapshot, &entry))
        if (entry.th32ThreadID == worker.Id()) expected = entry.tpBasePri + entry.tpDeltaPri;
    CloseHandle(snapshot);
    EXPECT_EQ(raised, expected);
}

TEST_F(WindowsProcesses, OrdinaryProcessesHaveNoSpecialName)
{
    // The kernel pattern itself is covered by the priority rule's own tests: no process
    // here has it.
    for (DWORD id : RunningProcessIds()) {
        SCOPED_TRACE(id);
        EXPECT_STREQ(SpecialProcessName(id, 0), "");
    }
    EXPECT_STREQ(SpecialProcessName(0, GetCurrentThreadId()), "");
}

TEST_F(WindowsProcesses, MainModuleOfIsTheProcessesExecutable)
{
    MODULEENTRY32 module;
    memset(&module, 0, sizeof module);
    ASSERT_EQ(MainModuleOf(GetCurrentProcessId(), &module), 1);
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    EXPECT_EQ(lstrcmpiA(module.szExePath, self), 0) << module.szExePath;
    EXPECT_EQ(lstrcmpiA(module.szModule, ExeFileName().c_str()), 0) << module.szModule;
    EXPECT_EQ(module.th32ProcessID, GetCurrentProcessId());
    EXPECT_EQ(MainModuleOf(3, &module), 0);
}

TEST_F(WindowsProcesses, FindProcessEntryGivesTheEntryOfThatProcess)
{
    HANDLE snapshot = th::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = th::Process32First(snapshot, &entry); more; more = th::Process32Next(snapshot, &entry)) {
        SCOPED_TRACE(entry.szExeFile);
        PROCESSENTRY32 found;
        ASSERT_EQ(FindProcessEntry(entry.th32ProcessID, &found), 1);
        EXPECT_EQ(found.th32ProcessID, entry.th32ProcessID);
        EXPECT_STREQ(found.szExeFile, entry.szExeFile);
    }
    CloseHandle(snapshot);
    PROCESSENTRY32 found;
    EXPECT_EQ(FindProcessEntry(3, &found), 0);
}

TEST_F(WindowsProcesses, MainModuleOfAnotherProcess)
{
    PROCESS_INFORMATION helper = StartHelperTest("ProcessHelper.DISABLED_RunsWithoutWindows");
    ASSERT_NE(helper.hProcess, nullptr);
    WaitForInputIdle(helper.hProcess, 2000);
    MODULEENTRY32 module;
    EXPECT_EQ(MainModuleOf(helper.dwProcessId, &module), 1);
    EXPECT_EQ(module.th32ProcessID, helper.dwProcessId);
    EXPECT_EQ(lstrcmpiA(module.szModule, ExeFileName().c_str()), 0) << module.szModule;
    EXPECT_EQ(ModuleKindOf(helper.dwProcessId, ExeFileName().c_str()), 3);
    EndHelperProcess(&helper);
}

TEST_F(WindowsProcesses, ModuleKindOfComparesFileNames)
{
    const std::string exe = ExeFileName();
    const DWORD self = GetCurrentProcessId();
    struct Case {
        DWORD processId;
        std::string path;
        int kind;
    } cases[] = {
        {self, "C:\\WINDOWS\\SYSTEM\\WINOA386.MOD", 1},
        {self, "winoa386.mod", 1},
        {3, "C:\\WINDOWS\\SYSTEM\\WinOA386.Mod", 1},
        {self, "C:\\Somewhere\\Else\\" + exe, 3},
        {self, "D:" + exe, 3},
        {self, "C:\\WINDOWS\\NOTEPAD.EXE", 2},
        {self, "C:\\WINDOWS\\WINOA386.MOD.BAK", 2},
        {3, "C:\\" + exe, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        std::string upper = c.path;
        CharUpperA(&upper[0]);
        EXPECT_EQ(ModuleKindOf(c.processId, c.path.c_str()), c.kind);
        EXPECT_EQ(ModuleKindOf(c.processId, upper.c_str()), c.kind);
    }
}

TEST_F(WindowsProcesses, FillProcessListNamesEveryProcessAndHidesItsId)
{
    PROCESS_INFORMATION titled = StartHelperTest("ProcessHelper.DISABLED_ShowsTitledWindows");
    PROCESS_INFORMATION bare = StartHelperTest("ProcessHelper.DISABLED_RunsWithoutWindows");
    ASSERT_TRUE(titled.hProcess && bare.hProcess);
    HWND owner = WaitForProcessWindow(titled.dwProcessId, kHelperOwnerTitle, 15000);
    ASSERT_NE(owner, nullptr);
    WaitForInputIdle(bare.hProcess, 2000);

    HWND dialog = Popup("Process List - test");
    HWND list = CreateWindowA("LISTBOX", "", WS_CHILD | LBS_USETABSTOPS, 0, 0, 100, 50, dialog, HMENU(100), nullptr,
                              nullptr);
    ASSERT_NE(list, nullptr);
    const std::set<DWORD> before = RunningProcessIds();
    FillProcessList(dialog, 100);
    const std::set<DWORD> after = RunningProcessIds();

    std::set<DWORD> listed;
    std::set<std::string> lines;
    for (const std::string& line : ListBoxLines(list)) {
        SCOPED_TRACE(line);
        const size_t tab = line.find('\t');
        ASSERT_NE(tab, std::string::npos);
        ASSERT_GT(tab, 0u);
        ASSERT_EQ(line.find('\t', tab + 1), std::string::npos);
        const std::string id = line.substr(tab + 1);
        ASSERT_EQ(id.find_first_not_of("0123456789"), std::string::npos);
        listed.insert(DWORD(std::stoul(id)));
        lines.insert(line);
    }
    for (DWORD id : before)
        if (after.count(id)) EXPECT_TRUE(listed.count(id)) << "process " << id << " is missing";
    for (DWORD id : listed) EXPECT_TRUE(before.count(id) || after.count(id)) << "process " << id << " is made up";

    const std::string exe = ExeFileName();
    EXPECT_TRUE(lines.count("Helper App\t" + std::to_string(titled.dwProcessId)));
    EXPECT_TRUE(lines.count(exe.substr(0, exe.find('.')) + "\t" + std::to_string(bare.dwProcessId)));
    EXPECT_TRUE(lines.count("Process List\t" + std::to_string(GetCurrentProcessId())));

    DestroyWindow(dialog);
    PostMessageA(owner, WM_CLOSE, 0, 0);
    EndHelperProcess(&titled, 10000);
    EndHelperProcess(&bare);
}

TEST(Vwin32Call, FailsWhenTheDeviceIsMissing)
{
    // This system has no vwin32 device: the call fails and leaves the packet alone.
    for (DWORD code : {kVwin32DosIoctl, kVwin32Int13}) {
        SCOPED_TRACE(code);
        Vwin32Registers packet = {1, 0x80, 0x0860, 0x440D, 5, 6, 0};
        EXPECT_EQ(Vwin32Call(code, &packet), 0);
        EXPECT_EQ(packet.eax, 0x440Du);
        EXPECT_EQ(packet.flags, 0u);
    }
    HANDLE device = CreateFileA("\\\\.\\vwin32", 0, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    EXPECT_EQ(device, INVALID_HANDLE_VALUE);
    if (device != INVALID_HANDLE_VALUE) CloseHandle(device);
}
