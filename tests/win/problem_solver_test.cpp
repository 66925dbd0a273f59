// Every step of every category of the problem solver, run through the category table: on
// the plain prefix (not Windows 95, the equipment as the program detects it) each lists
// only what is true of the harness's machine, and on Windows 95 fixtures none changes a
// file, a drive or the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "equipment/inventory.h"
#include "equipment/spooler.h"
#include "hardware/problem_checks.h"
#include "machine_state.h"
#include "problem_step_runner.h"
#include "services/program_directory.h"
#include "shared_test_steps.h"

namespace {


// Files below folder (a few levels deep: the fixture drives hold links back up).
void AddFilesBelow(const std::string& folder, int depth, std::vector<std::string>* files)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files->push_back(folder + "\\" + name);
        else if (depth > 0) AddFilesBelow(folder + "\\" + name, depth - 1, files);
    }
    FindClose(search);
}

std::string CoachPath()
{
    char folder[MAX_PATH] = {};
    ProgramDirectory(nullptr, folder, sizeof folder);
    return std::string(folder) + "\\COACH.DAT";
}

// What the steps read and must leave as it was: the boot and configuration files, the
// profile files and their registry mapping, the device settings, coach.dat and every file
// of the fixture drives.
MachineParts ReadParts()
{
    MachineParts parts{{{HKEY_LOCAL_MACHINE, "System\\CurrentControlSet"},
                        {HKEY_LOCAL_MACHINE, "Enum"},
                        {HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"},
                        {HKEY_CURRENT_USER, "Control Panel"}},
                       {"c:\\CONFIG.SYS", "c:\\autoexec.bat", "c:\\bootlog.txt", kMsdosSys, WindowsFile("IOS.LOG"),
                        WindowsFile("system.ini"), WindowsFile("win.ini"), CoachPath()}};
    for (const char* drive : {"A:", "D:", "E:", "F:", "G:"}) AddFilesBelow(drive, 3, &parts.files);
    return parts;
}

// The differences between two pictures of ReadParts, less the printers' status, which the
// print spooler keeps up to date by itself.
std::string ChangesOtherThanPrinterStatus(const MachinePicture& before, const MachinePicture& after)
{
    std::string changes;
    const std::string all = DescribeDifferences(before, after);
    for (size_t at = 0, end; at < all.size(); at = end + 1) {
        end = all.find('\n', at);
        if (end == std::string::npos) end = all.size();
        const std::string line = all.substr(at, end - at);
        if (line.find("\\CONTROL\\PRINT\\PRINTERS\\") == std::string::npos) changes += line + "\n";
    }
    return changes;
}

// The equipment record, the main dialog and the instance of a test of its own.
class ProblemSolverSteps : public testing::Test {
protected:
    static void SetUpTestSuite() { InitializeCriticalSection(&PrintLock); }
    ProblemSolverSteps() : savedInfo_(gEquipmentInfo), savedMain_(MainDialog), savedInstance_(gInstance)
    {
        gEquipmentInfo = &info_;
        MainDialog = nullptr;
        gInstance = GetModuleHandleA(nullptr);
    }
    ~ProblemSolverSteps() override
    {
        gInstance = savedInstance_;
        MainDialog = savedMain_;
        gEquipmentInfo = savedInfo_;
    }

    // Runs every step of every category; the titles of steps 3 to 5 by category name.
    std::map<std::string, Titles> RunEveryStep()
    {
        std::map<std::string, Titles> found;
        StepWindowCloser closer;
        for (const ProblemCategory& category : ProblemCategoryTable)
            for (int step = 0; step < kProblemStepCount; ++step) {
                const Titles titles = StepTitles(category.steps[step]);
                PumpMessagesFor(200);  // the modeless tests close
                if (step >= 2 && step <= 4 && !titles.empty())
                    found[std::string(category.name) + " " + std::to_string(step + 1)] = titles;
            }
        EXPECT_EQ(StepWindowCloser::Unexpected(), std::vector<std::string>{});
        return found;
    }

    EquipmentInfo info_ = {};

private:
    EquipmentInfo* savedInfo_;
    HWND savedMain_;
    HINSTANCE savedInstance_;
};

}  // namespace

TEST_F(ProblemSolverSteps, PlainPrefixListsOnlyWhatIsTrueAndChangesNothing)
{ 
    GetAllEquipment(nullptr); 
    ASSERT_EQ(info_.platform, 'N');
    const MachineParts parts = ReadParts(); 
    const MachinePicture before = TakeMachinePicture(parts); 
    DWORD printers = 0;
    EnumPrintersCached(&printers);

    // Wine lists no floppy controller although the harness maps A: as a floppy drive, and
    // B: does not exist; no modem is registered; the conflict and configuration steps
    // find nothing else, and the diagnostics only what they cannot test.
    std::map<std::string, Titles> expected = {
        {"Floppy Drives 4", {"No floppy disk controller"}},
        {"Floppy Drives 5", {"Invalid floppy drive type"}},
        {"Modem 4", {"No modems found"}},
        {"Modem 5", {"Unable to test modems"}},
        {"SCSI 5", {"SCSI not tested"}},
    };
    if (!printers) expected["Printer 4"] = {"No printer drivers installed"};
    EXPECT_EQ(RunEveryStep(), expected);
    EXPECT_EQ(ChangesOtherThanPrinterStatus(before, TakeMachinePicture(parts)), "");
}

// Windows 95 with boot files, settings and a device tree the checks read: every step runs
// and nothing it reads changes.
TEST_F(ProblemSolverSteps, OnWindows95EveryStepLeavesTheMachineAsItWas)
{
    GetAllEquipment(nullptr);
    info_.platform = '9';
    const MachineParts parts = ReadParts();
    SavedMachine saved(parts);
    const struct { std::string path, text; } files[] = {
        {"c:\\CONFIG.SYS", "DEVICE=C:\\DM\\DMDRVR.BIN\r\nFILES=40\r\n"},
        {"c:\\autoexec.bat", "C:\\DOS\\MSCDEX.EXE /D:MSCD000\r\nC:\\DMI\\SL.EXE\r\n"},
        {"c:\\bootlog.txt", "[000ABCDE] Init Success esdi_506.pdr\r\n"},
        {kMsdosSys, "[Options]\r\nDoubleBuffer=1\r\n"},
        {WindowsFile("IOS.LOG"), "real mode driver\r\n"},
        {WindowsFile("system.ini"), "[386Enh]\r\nCOM1AutoAssign=0\r\n[DISPLAY]\r\nMMIO=1\r\nTrueColor=0\r\n"},
    };
    for (const auto& f : files) {
        SetFileAttributesA(f.path.c_str(), FILE_ATTRIBUTE_NORMAL);
        ASSERT_TRUE(WriteWholeFile(f.path, f.text.data(), f.text.size())) << f.path;
    }
    info_.comPresent[0] = 1;
    const MachinePicture before = TakeMachinePicture(parts);

    const std::map<std::string, Titles> found = RunEveryStep();
    EXPECT_EQ(ChangesOtherThanPrinterStatus(before, TakeMachinePicture(parts)), "");
    // The fixtures were read: a finding of each kind of source.
    for (const auto& [step, title] : std::map<std::string, std::string>{
             {"Hard Drives 4", "MS-DOS mode in use"}, {"Hard Drives 4", "Disk Manager incomplete"},
             {"Floppy Drives 4", "Intel DMI Driver"}, {"Ports 4", "COM1 hang risk"},
             {"Video Card 4", "True Color fix not enabled"}}) {
        const auto it = found.find(step);
        ASSERT_NE(it, found.end()) << step;
        EXPECT_NE(std::find(it->second.begin(), it->second.end(), title), it->second.end()) << step << ": " << title;
    }
}
