// The priority tools against real processes: helper runs of this test program at chosen
// priority classes, the optimizers and boosts with their confirmation answered by a
// recorder, and Execution Priorities driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "boost/change_priorities.h"
#include "boost/priority_boss.h"
#include "boost/priority_rules.h"
#include "boost/tune_windows.h"
#include "box_watcher.h"
#include "machine_state.h"
#include "resources/ids_boost.h"
#include "sampling/stats_file.h"
#include "services/program_directory.h"
#include "services/toolhelp.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_differences.h"

namespace {

// Helper processes of windows_processes_test.cpp: one without windows, one with titled ones.
const char kBareHelper[] = "ProcessHelper.DISABLED_RunsWithoutWindows";
const char kTitledHelper[] = "ProcessHelper.DISABLED_ShowsTitledWindows";

// What the dialogs asked, and the answer each question gets (1: Boost, 0: Cancel).
std::vector<std::string> gProposals;
int gAnswer = 0;

int RecordConfirm(HWND, const char* text)
{
    gProposals.push_back(text);
    return gAnswer;
}

// The batch limit the dialogs set last, passed on to the system too.
DWORD gBatchLimit = 0;

DWORD WINAPI RecordBatchLimit(DWORD limit)
{
    const DWORD old = gBatchLimit;
    gBatchLimit = limit;
    GdiSetBatchLimit(limit);
    return old;
}

// The priority class of every process that can be read, by process id.
std::map<DWORD, DWORD> ClassesOfAll()
{
    std::map<DWORD, DWORD> classes;
    ForEachProcess([&](const PROCESSENTRY32& entry) {
        if (HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID)) {
            if (DWORD priorityClass = GetPriorityClass(process)) classes[entry.th32ProcessID] = priorityClass;
            CloseHandle(process);
        }
        return true;
    });
    return classes;
}

// The index of the line of a list that ends with "\t" and id; -1 when there is none.
int LineOf(HWND list, DWORD id)
{
    const std::string tail = "\t" + std::to_string(id);
    const std::vector<std::string> lines = ListBoxLines(list);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > tail.size() && lines[i].compare(lines[i].size() - tail.size(), tail.size(), tail) == 0)
            return int(i);
    return -1;
}

testing::AssertionResult Choose(HWND dialog, int listId, DWORD id)
{
    const int line = LineOf(GetDlgItem(dialog, listId), id);
    if (line < 0) return testing::AssertionFailure() << "no line for " << id << " in list " << listId;
    ChooseListItem(dialog, listId, line);
    return testing::AssertionSuccess();
}

// The radio of Execution Priorities that is checked; 0 for none, -1 for more than one.
int CheckedRadio(HWND dialog)
{
    int checked = 0;
    for (int id = IDC_PRIORITY_IDLE; id <= IDC_PRIORITY_MAXIMUM; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) checked = checked ? -1 : id;
    return checked;
}

void Click(HWND dialog, int id)
{
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog, id)));
}

// Saves an empty record to the statistics file at path over and over.
DWORD WINAPI SaveRepeatedly(LPVOID path)
{
    static SystemStats stats;
    for (int i = 0; i < 150; ++i) SaveSystemStatsTo(static_cast<const char*>(path), &stats);
    return 0;
}

// Helpers started at chosen classes, ended when the test ends.
class PriorityBoostTest : public testing::Test {
protected:
    void SetUp() override
    {
        LoadToolhelp();
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        gProposals.clear();
        gAnswer = 0;
        savedSetBatchLimit_ = ProgramSetBatchLimit;
        ProgramSetBatchLimit = RecordBatchLimit;
        gBatchLimit = 7;
    }
    void TearDown() override
    {
        if (dialog_) DestroyWindow(dialog_);
        for (PROCESS_INFORMATION& helper : helpers_) EndHelperProcess(&helper);
        gInstance = savedInstance_;
        ProgramSetBatchLimit = savedSetBatchLimit_;
        GdiSetBatchLimit(0);
    }
    PROCESS_INFORMATION& Start(const char* helperTest, DWORD priorityClass)
    {
        helpers_.push_back(StartHelperTest(helperTest));
        PROCESS_INFORMATION& helper = helpers_.back();
        EXPECT_TRUE(helper.hProcess && SetPriorityClass(helper.hProcess, priorityClass));
        WaitForInputIdle(helper.hProcess, 5000);
        return helper;
    }
    HWND Open(int dialogId, DLGPROC procedure)
    {
        dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(dialogId), nullptr, procedure, LPARAM(RecordConfirm));
        EXPECT_NE(dialog_, nullptr);
        PumpMessagesFor(0);
        return dialog_;
    }

    std::vector<PROCESS_INFORMATION> helpers_;  // reserved below, so references stay good
    HWND dialog_ = nullptr;

private:
    HINSTANCE savedInstance_ = nullptr;
    DWORD(WINAPI* savedSetBatchLimit_)(DWORD) = nullptr;
};

const char kPriorityProposal[] =
    "+ Determine optimal process priorities\r\n+ Reduce HIGH to NORMAL\r\n+ Reduce REALTIME to NORMAL\r\n"
    "+ Raise IDLE to NORMAL\r\n";

}  // namespace

// Memory, resources and queues change nothing anyone can see; the priority optimizer
// changes nothing on Cancel, and on Boost brings exactly HIGH, REALTIME and IDLE programs to
// NORMAL, below-normal ones left alone.
TEST_F(PriorityBoostTest, TuneWindowsOptimizersChangeOnlyWhatTheyProposeAndOnlyOnBoost)
{
    helpers_.reserve(3);
    HANDLE high = Start(kBareHelper, HIGH_PRIORITY_CLASS).hProcess;
    HANDLE idle = Start(kBareHelper, IDLE_PRIORITY_CLASS).hProcess;
    HANDLE below = Start(kBareHelper, BELOW_NORMAL_PRIORITY_CLASS).hProcess;
    const MachineParts memory{
        {{HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management"}}, {}};
    const MachinePicture registry = TakeMachinePicture(memory);
    HWND dialog = Open(IDD_TUNE_WINDOWS, TuneWindowsDlgProc);
    BoxWatcher boxes;

    gAnswer = 1;
    Click(dialog, IDC_TUNE_MEMORY);
    Click(dialog, IDC_TUNE_RESOURCES);
    Click(dialog, IDC_TUNE_QUEUES);
    ASSERT_EQ(gProposals.size(), 3u);
    EXPECT_EQ(gProposals[0],
              "+ Free unused memory blocks\r\n+ Discard discardable memory blocks\r\n+ Consolidate fragmented "
              "memory\r\n+ Tune virtual memory settings\r\n");
    EXPECT_EQ(gProposals[1], "+ No changes to resources proposed\r\n");
    EXPECT_EQ(gProposals[2], "+ Flush Windows 95 internal queues\r\n");
    EXPECT_EQ(DescribeDifferences(registry, TakeMachinePicture(memory)), "");

    const std::map<DWORD, DWORD> before = ClassesOfAll();
    gAnswer = 0;
    Click(dialog, IDC_TUNE_PRIORITIES);
    ASSERT_EQ(gProposals.size(), 4u);
    EXPECT_EQ(gProposals[3], kPriorityProposal);
    EXPECT_EQ(ClassesOfAll(), before);
    EXPECT_EQ(GetPriorityClass(high), DWORD(HIGH_PRIORITY_CLASS));

    gAnswer = 1;
    Click(dialog, IDC_TUNE_PRIORITIES);
    EXPECT_EQ(gProposals.back(), kPriorityProposal);
    EXPECT_EQ(GetPriorityClass(high), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(idle), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(below), DWORD(BELOW_NORMAL_PRIORITY_CLASS));
    // Every other process: an extreme class became NORMAL, any other class stayed.
    const std::map<DWORD, DWORD> after = ClassesOfAll();
    for (const auto& [id, priorityClass] : before) {
        if (!after.count(id)) continue;  // ended meanwhile
        const bool extreme = priorityClass == HIGH_PRIORITY_CLASS || priorityClass == REALTIME_PRIORITY_CLASS ||
                             priorityClass == IDLE_PRIORITY_CLASS;
        EXPECT_EQ(after.at(id), extreme ? DWORD(NORMAL_PRIORITY_CLASS) : priorityClass) << "process " << id;
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The radios show the chosen program's class (none for below normal, not a left-over
// check), set it at once and then show what the system granted; the threads and their
// priority icon follow the program.
TEST_F(PriorityBoostTest, ExecutionPrioritiesShowsAndSetsTheChosenProgramsClass)
{
    helpers_.reserve(3);
    PROCESS_INFORMATION& high = Start(kBareHelper, HIGH_PRIORITY_CLASS);
    PROCESS_INFORMATION& below = Start(kBareHelper, BELOW_NORMAL_PRIORITY_CLASS);
    PROCESS_INFORMATION& titled = Start(kTitledHelper, NORMAL_PRIORITY_CLASS);
    ASSERT_TRUE(WaitForProcessWindow(titled.dwProcessId, "Helper App - main", 15000));
    dialog_ = PriorityBoss(nullptr);
    ASSERT_NE(dialog_, nullptr);
    HWND threads = GetDlgItem(dialog_, IDC_PRIORITY_THREADS);
    EXPECT_EQ(SendMessageA(GetDlgItem(dialog_, IDC_PRIORITY_PROGRAMS), LB_GETCURSEL, 0, 0), 0);

    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, high.dwProcessId));
    EXPECT_EQ(CheckedRadio(dialog_), IDC_PRIORITY_HIGH);
    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_THREADS, high.dwThreadId));
    // A normal thread of a high-class program runs at 13.
    EXPECT_EQ(HICON(SendDlgItemMessageA(dialog_, IDC_PRIORITY_ICON, STM_GETICON, 0, 0)),
              LoadIconA(gInstance, MAKEINTRESOURCEA(1713)));
    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, below.dwProcessId));
    EXPECT_EQ(CheckedRadio(dialog_), 0);
    EXPECT_GE(LineOf(threads, below.dwThreadId), 0);
    EXPECT_LT(LineOf(threads, high.dwThreadId), 0);

    // A thread with a window is listed by its title.
    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, titled.dwProcessId));
    const int line = LineOf(threads, titled.dwThreadId);
    ASSERT_GE(line, 0);
    const std::string title = ListBoxLines(threads)[line];
    EXPECT_TRUE(title.rfind("Helper App - main\t", 0) == 0 || title.rfind("Tool Box - palette\t", 0) == 0) << title;
    EXPECT_EQ(CheckedRadio(dialog_), IDC_PRIORITY_NORMAL);

    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, below.dwProcessId));
    SendDlgItemMessageA(dialog_, IDC_PRIORITY_IDLE, BM_CLICK, 0, 0);
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(CheckedRadio(dialog_), IDC_PRIORITY_IDLE);
    SendDlgItemMessageA(dialog_, IDC_PRIORITY_MAXIMUM, BM_CLICK, 0, 0);
    const DWORD granted = GetPriorityClass(below.hProcess);
    EXPECT_TRUE(granted == REALTIME_PRIORITY_CLASS || granted == HIGH_PRIORITY_CLASS) << granted;
    EXPECT_EQ(CheckedRadio(dialog_), PriorityRadioOf(granted));
    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, high.dwProcessId));
    ASSERT_TRUE(Choose(dialog_, IDC_PRIORITY_PROGRAMS, below.dwProcessId));
    EXPECT_EQ(CheckedRadio(dialog_), PriorityRadioOf(granted));

    // One dialog at a time; one that died with its owner is opened anew.
    EXPECT_EQ(PriorityBoss(nullptr), dialog_);
    SendMessageA(dialog_, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog_));
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    dialog_ = PriorityBoss(owner);
    ASSERT_TRUE(IsWindow(dialog_));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(dialog_));
    dialog_ = PriorityBoss(nullptr);
    EXPECT_TRUE(IsWindow(dialog_));
}

// Each boost acts only after Boost: the processor boost raises the chosen program to HIGH
// and sends drawing at once, also when the program has ended meanwhile (then without a
// word); video pools drawing; messages and files change nothing anyone can see, and files
// never makes a statistics file.
TEST_F(PriorityBoostTest, ChangeProgramPrioritiesBoostsOnlyAfterBoost)
{
    helpers_.reserve(3);
    PROCESS_INFORMATION& below = Start(kBareHelper, BELOW_NORMAL_PRIORITY_CLASS);
    PROCESS_INFORMATION& titled = Start(kTitledHelper, NORMAL_PRIORITY_CLASS);
    PROCESS_INFORMATION& ending = Start(kBareHelper, NORMAL_PRIORITY_CLASS);
    ASSERT_TRUE(WaitForProcessWindow(titled.dwProcessId, "Helper App - main", 15000));
    HWND dialog = Open(IDD_CHANGE_PRIORITIES, ChangePrioritiesDlgProc);
    EXPECT_NE(WindowText(GetDlgItem(dialog, IDC_CHANGE_NAME)), "App Name");  // the first line's name
    BoxWatcher boxes;
    ASSERT_TRUE(Choose(dialog, IDC_CHANGE_PROGRAMS, titled.dwProcessId));
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CHANGE_NAME)), "Helper App");

    ASSERT_TRUE(Choose(dialog, IDC_CHANGE_PROGRAMS, below.dwProcessId));
    for (int id : {IDC_CHANGE_CPU, IDC_CHANGE_FILES, IDC_CHANGE_MESSAGES, IDC_CHANGE_VIDEO}) Click(dialog, id);
    ASSERT_EQ(gProposals.size(), 4u);
    EXPECT_EQ(gProposals[0], "+ Flush video screen writes\r\n+ Flush instruction cache\r\n+ Raise priority to HIGH\r\n");
    EXPECT_EQ(gProposals[1], "+ Flush open file buffers\r\n");
    EXPECT_EQ(gProposals[2], "+ Flush USER message buffers\r\n");
    EXPECT_EQ(gProposals[3], "+ Pool video screen writes\r\n");
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(gBatchLimit, 7u);

    gAnswer = 1;
    Click(dialog, IDC_CHANGE_MESSAGES);
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(BELOW_NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(gBatchLimit, 7u);
    Click(dialog, IDC_CHANGE_CPU);
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(gBatchLimit, 1u);
    Click(dialog, IDC_CHANGE_VIDEO);
    EXPECT_EQ(gBatchLimit, 15u);
    EXPECT_UNLESS_WINE_DIFFERS(GdiGetBatchLimit() == 15u, "GdiSetBatchLimit keeps no limit: GdiGetBatchLimit answers 1");

    // A program that ended after the list was filled: no name, nothing to raise, no box.
    ASSERT_TRUE(Choose(dialog, IDC_CHANGE_PROGRAMS, ending.dwProcessId));
    const DWORD endedId = ending.dwProcessId;
    EndHelperProcess(&ending);
    Click(dialog, IDC_CHANGE_CPU);
    EXPECT_EQ(gBatchLimit, 1u);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_CHANGE_PROGRAMS, LBN_SELCHANGE), 0);
    EXPECT_EQ(WindowText(GetDlgItem(dialog, IDC_CHANGE_NAME)), "Process #" + std::to_string(endedId));
    EXPECT_TRUE(boxes.Boxes().empty());
}

// The file boost flushes only this program's statistics file: never made when missing,
// bytes and last-write time kept when there, and never in the way of a save.
TEST_F(PriorityBoostTest, FilesBoostLeavesTheStatisticsFileAsItWas)
{
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    const std::string path = std::string(folder) + "\\sysstats.dat";
    ASSERT_FALSE(PathExists(path)) << "a statistics file of another run is in the way";
    HWND dialog = Open(IDD_CHANGE_PRIORITIES, ChangePrioritiesDlgProc);
    gAnswer = 1;
    Click(dialog, IDC_CHANGE_FILES);
    EXPECT_FALSE(PathExists(path));

    const std::string bytes(4000, 'S');
    ASSERT_TRUE(WriteWholeFile(path, bytes.data(), bytes.size()));
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FILETIME old = {0x12345000, 0x01C00000};
    SetFileTime(file, nullptr, nullptr, &old);
    CloseHandle(file);
    Click(dialog, IDC_CHANGE_FILES);
    EXPECT_EQ(gProposals.size(), 2u);
    std::vector<unsigned char> after;
    ASSERT_TRUE(ReadWholeFileBytes(path, &after));
    EXPECT_EQ(std::string(after.begin(), after.end()), bytes);
    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data));
    EXPECT_EQ(CompareFileTime(&data.ftLastWriteTime, &old), 0);

    BoxWatcher boxes;
    HANDLE saver = CreateThread(nullptr, 0, SaveRepeatedly, const_cast<char*>(path.c_str()), 0, nullptr);
    while (WaitForSingleObject(saver, 0) == WAIT_TIMEOUT) Click(dialog, IDC_CHANGE_FILES);
    CloseHandle(saver);
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
    DeleteFileA(path.c_str());
}
