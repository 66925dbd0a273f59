// The priority tools against real processes: helper runs of this test program at chosen
// priority classes, the optimizers and boosts with their confirmation answered by a
// recorder, and Execution Priorities driven as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "boost/change_priorities.h"
#include "boost/priority_boss.h"
#include "boost/tune_windows.h"
#include "box_watcher.h"
#include "machine_state.h"
#include "resources/ids_boost.h"
#include "sampling/stats_file.h"
#include "services/program_directory.h"
#include "services/toolhelp.h"
#include "shared_test_steps.h"
#include "test_windows.h"

namespace {

// A helper process of windows_processes_test.cpp that runs without windows.
const char kBareHelper[] = "ProcessHelper.DISABLED_RunsWithoutWindows";

// How many questions the dialogs asked, and the answer each gets (1: Boost, 0: Cancel).
size_t gProposals = 0;
int gAnswer = 0;

int RecordConfirm(HWND, const char*)
{
    ++gProposals;
    return gAnswer;
}

// The batch limit the dialogs set last (this recorder stands in for the system's).
DWORD gBatchLimit = 0;

DWORD WINAPI RecordBatchLimit(DWORD limit)
{
    const DWORD old = gBatchLimit;
    gBatchLimit = limit;
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

std::set<HWND> VisibleTopLevelWindows()
{
    std::set<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM found) {
            if (IsWindowVisible(window)) reinterpret_cast<std::set<HWND>*>(found)->insert(window);
            return TRUE;
        },
        LPARAM(&windows));
    return windows;
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

// Helpers started at chosen classes and dialogs opened, all ended when the test ends.
class PriorityBoostTest : public testing::Test {
protected:
    void SetUp() override
    {
        LoadToolhelp();
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        gProposals = 0;
        gAnswer = 0;
        savedSetBatchLimit_ = ProgramSetBatchLimit;
        ProgramSetBatchLimit = RecordBatchLimit;
        gBatchLimit = 7;
        helpers_.reserve(4);  // references to helpers stay good
    }
    void TearDown() override
    {
        for (HWND dialog : dialogs_) DestroyWindow(dialog);
        for (PROCESS_INFORMATION& helper : helpers_) EndHelperProcess(&helper);
        gInstance = savedInstance_;
        ProgramSetBatchLimit = savedSetBatchLimit_;
    }
    PROCESS_INFORMATION& Start(DWORD priorityClass)
    {
        helpers_.push_back(StartHelperTest(kBareHelper));
        PROCESS_INFORMATION& helper = helpers_.back();
        EXPECT_TRUE(helper.hProcess && SetPriorityClass(helper.hProcess, priorityClass));
        WaitForInputIdle(helper.hProcess, 5000);
        return helper;
    }
    HWND Open(int dialogId, DLGPROC procedure)
    {
        dialogs_.push_back(CreateDialogParamA(gInstance, MAKEINTRESOURCEA(dialogId), nullptr, procedure, LPARAM(RecordConfirm)));
        EXPECT_NE(dialogs_.back(), nullptr);
        PumpMessagesFor(0);
        return dialogs_.back();
    }

    std::vector<PROCESS_INFORMATION> helpers_;
    std::vector<HWND> dialogs_;

private:
    HINSTANCE savedInstance_ = nullptr;
    DWORD(WINAPI* savedSetBatchLimit_)(DWORD) = nullptr;
};

}  // namespace

// Every optimizer of Tune Windows and every boost of Change Program Priorities: on Cancel no
// class, window or batch limit changes; on Boost exactly what each plans: HIGH, REALTIME and
// IDLE programs to NORMAL, the chosen program to HIGH with drawing sent at once, drawing
// pooled, and nothing anyone can see for the rest. A program that ended is skipped quietly.
TEST_F(PriorityBoostTest, CancelChangesNothingAndBoostOnlyWhatIsPlanned)
{
    HANDLE high = Start(HIGH_PRIORITY_CLASS).hProcess;
    HANDLE idle = Start(IDLE_PRIORITY_CLASS).hProcess;
    PROCESS_INFORMATION& below = Start(BELOW_NORMAL_PRIORITY_CLASS);
    PROCESS_INFORMATION& ending = Start(NORMAL_PRIORITY_CLASS);
    HWND tune = Open(IDD_TUNE_WINDOWS, TuneWindowsDlgProc);
    HWND change = Open(IDD_CHANGE_PRIORITIES, ChangePrioritiesDlgProc);
    ASSERT_TRUE(ChooseListLineOf(change, IDC_CHANGE_PROGRAMS, below.dwProcessId));
    BoxWatcher boxes;

    const std::map<DWORD, DWORD> before = ClassesOfAll();
    const std::set<HWND> windows = VisibleTopLevelWindows();
    const struct {
        HWND dialog;
        int id;
    } buttons[] = {{tune, IDC_TUNE_MEMORY},  {tune, IDC_TUNE_RESOURCES}, {tune, IDC_TUNE_QUEUES},     {tune, IDC_TUNE_PRIORITIES},
                   {change, IDC_CHANGE_CPU}, {change, IDC_CHANGE_FILES}, {change, IDC_CHANGE_MESSAGES}, {change, IDC_CHANGE_VIDEO}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.id);
        Click(button.dialog, button.id);
        EXPECT_EQ(ClassesOfAll(), before);
        EXPECT_EQ(VisibleTopLevelWindows(), windows);
        EXPECT_EQ(gBatchLimit, 7u);
    }
    EXPECT_EQ(gProposals, std::size(buttons));

    gAnswer = 1;
    const MachineParts memory{
        {{HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Memory Management"}}, {}};
    const MachinePicture registry = TakeMachinePicture(memory);
    for (const auto& button : {buttons[0], buttons[1], buttons[2], buttons[5], buttons[6]}) Click(button.dialog, button.id);
    EXPECT_EQ(DescribeDifferences(registry, TakeMachinePicture(memory)), "");
    EXPECT_EQ(ClassesOfAll(), before);
    EXPECT_EQ(gBatchLimit, 7u);

    Click(tune, IDC_TUNE_PRIORITIES);
    EXPECT_EQ(GetPriorityClass(high), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(idle), DWORD(NORMAL_PRIORITY_CLASS));
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(BELOW_NORMAL_PRIORITY_CLASS));
    const std::map<DWORD, DWORD> after = ClassesOfAll();
    for (const auto& [id, priorityClass] : before) {
        if (!after.count(id)) continue;  // ended meanwhile
        const bool extreme = priorityClass == HIGH_PRIORITY_CLASS || priorityClass == REALTIME_PRIORITY_CLASS ||
                             priorityClass == IDLE_PRIORITY_CLASS;
        EXPECT_EQ(after.at(id), extreme ? DWORD(NORMAL_PRIORITY_CLASS) : priorityClass) << "process " << id;
    }

    Click(change, IDC_CHANGE_CPU);
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(HIGH_PRIORITY_CLASS));
    EXPECT_EQ(gBatchLimit, 1u);
    Click(change, IDC_CHANGE_VIDEO);
    EXPECT_EQ(gBatchLimit, 15u);

    ASSERT_TRUE(ChooseListLineOf(change, IDC_CHANGE_PROGRAMS, ending.dwProcessId));
    const DWORD endedId = ending.dwProcessId;
    EndHelperProcess(&ending);
    ASSERT_TRUE(WaitUntil([&] {
        HANDLE gone = OpenProcess(PROCESS_SET_INFORMATION, FALSE, endedId);
        return !gone || CloseHandle(gone) == 0;
    }, 5000)) << "the ended helper can still be opened";
    Click(change, IDC_CHANGE_CPU);
    EXPECT_EQ(gBatchLimit, 1u);
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
}

// The radios show the chosen program's class (none for below normal, not a left-over
// check), set it at once and then show what the system granted. One dialog at a time; one
// that died with its owner is opened anew.
TEST_F(PriorityBoostTest, ExecutionPrioritiesShowsAndSetsTheChosenProgramsClass)
{
    PROCESS_INFORMATION& high = Start(HIGH_PRIORITY_CLASS);
    PROCESS_INFORMATION& idle = Start(IDLE_PRIORITY_CLASS);
    PROCESS_INFORMATION& below = Start(BELOW_NORMAL_PRIORITY_CLASS);
    HWND dialog = PriorityBoss(nullptr);
    ASSERT_NE(dialog, nullptr);
    dialogs_.push_back(dialog);
    const struct {
        PROCESS_INFORMATION& helper;
        int radio;
    } shown[] = {{high, IDC_PRIORITY_HIGH}, {below, 0}, {idle, IDC_PRIORITY_IDLE}, {below, 0}};
    for (const auto& c : shown) {
        ASSERT_TRUE(ChooseListLineOf(dialog, IDC_PRIORITY_PROGRAMS, c.helper.dwProcessId));
        EXPECT_EQ(CheckedRadio(dialog), c.radio) << c.helper.dwProcessId;
        EXPECT_GE(ListLineOf(GetDlgItem(dialog, IDC_PRIORITY_THREADS), c.helper.dwThreadId), 0);
    }

    SendDlgItemMessageA(dialog, IDC_PRIORITY_IDLE, BM_CLICK, 0, 0);
    EXPECT_EQ(GetPriorityClass(below.hProcess), DWORD(IDLE_PRIORITY_CLASS));
    EXPECT_EQ(CheckedRadio(dialog), IDC_PRIORITY_IDLE);
    SendDlgItemMessageA(dialog, IDC_PRIORITY_MAXIMUM, BM_CLICK, 0, 0);
    const DWORD granted = GetPriorityClass(below.hProcess);
    EXPECT_TRUE(granted == REALTIME_PRIORITY_CLASS || granted == HIGH_PRIORITY_CLASS) << granted;
    EXPECT_EQ(CheckedRadio(dialog), granted == HIGH_PRIORITY_CLASS ? IDC_PRIORITY_HIGH : IDC_PRIORITY_MAXIMUM);

    EXPECT_EQ(PriorityBoss(nullptr), dialog);
    SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_FALSE(IsWindow(dialog));
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    dialog = PriorityBoss(owner);
    ASSERT_TRUE(IsWindow(dialog));
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(dialog));
    dialogs_.push_back(PriorityBoss(nullptr));
    EXPECT_TRUE(IsWindow(dialogs_.back()));
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
