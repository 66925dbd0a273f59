// The configuration and diagnostic checks of floppy drives, hard drives, memory, the
// motherboard and the power supply on the harness's drives and prefix: fixture boot files
// for the Windows 95 checks, the substitute's BIOS and DOS answers, coach.dat beside the
// test program, and a run of every step that must leave the machine as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "equipment/inventory.h"
#include "hardware/problem_checks.h"
#include "hardware/problem_rules.h"
#include "machine_state.h"
#include "test_windows.h"
#include "services/program_directory.h"
#include "wine_env.h"

// Defined with the floppy checks; they are its only callers in the program.
void TestFloppyDrives(FloppyTestResults* results);

namespace {

// Points gEquipmentInfo at a record of the test's own for the test's lifetime.
struct OwnRecord {
    explicit OwnRecord(char platform) : saved(gEquipmentInfo)
    {
        info.platform = platform;
        gEquipmentInfo = &info;
    }
    ~OwnRecord() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

// The titles a step lists, in order.
std::vector<std::string> Findings(StepHandler step)
{
    ProblemReport report;
    step(report);
    std::vector<std::string> titles;
    const std::string& text = report.text.first;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n\r\n", at);
        const std::string item = text.substr(at, end - at);
        titles.push_back(item.substr(item.find(") ") + 2));
        if (end == std::string::npos) break;
        at = end + 4;
    }
    return titles;
}

std::string Title(CheckText text) { return CheckItem(text).first; }

bool Lists(const std::vector<std::string>& findings, CheckText text)
{
    return std::find(findings.begin(), findings.end(), Title(text)) != findings.end();
}

std::string Joined(const std::vector<std::string>& findings)
{
    std::string all;
    for (const std::string& f : findings) all += "[" + f + "] ";
    return all;
}

std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

std::string CoachPath()
{
    char folder[MAX_PATH] = {};
    ProgramDirectory(nullptr, folder, sizeof folder);
    return std::string(folder) + "\\COACH.DAT";  // as the build places it
}

// The files the checks read and the tests write, put back byte for byte afterwards.
MachineParts BootFiles()
{
    return MachineParts{{},
                        {"c:\\CONFIG.SYS", "c:\\autoexec.bat", "c:\\bootlog.txt", "c:\\XBIOS.OVL", "C:\\MSDOS.SYS",
                         WindowsFile("IOS.LOG"), WindowsFile("system.ini"), CoachPath()}};
}

bool Write(const std::string& path, const std::string& text)
{
    return WriteWholeFile(path, text.data(), text.size());
}

}  // namespace

// Run in a fresh process by the test below: the first two runs of TestFloppyDrives there.
// Exits with 42 when the first run verified A: and the second did not touch it.
TEST(ProblemFloppyHelper, DISABLED_FirstTwoRunsInAFreshProcess)
{
    OwnRecord record('N');
    FloppyTestResults first, second;
    TestFloppyDrives(&first);
    TestFloppyDrives(&second);
    ExitProcess(first.drives[0].tested && first.drives[0].accessTested && !second.drives[0].accessTested ? 42 : 43);
}

TEST(ProblemFloppyTest, TestsDiskAccessOnlyOnTheFirstRunInTheProcess)
{
    PROCESS_INFORMATION helper = StartHelperTest("ProblemFloppyHelper.DISABLED_FirstTwoRunsInAFreshProcess");
    ASSERT_TRUE(helper.hProcess);
    ASSERT_EQ(WaitForSingleObject(helper.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(helper.hProcess, &code);
    EndHelperProcess(&helper);
    EXPECT_EQ(code, 42u);

    OwnRecord record('N');
    FloppyTestResults results;
    TestFloppyDrives(&results);
    ASSERT_TRUE(results.drives[0].tested) << "the harness maps A: as a floppy drive";
    EXPECT_FALSE(results.drives[1].tested);  // no B:
    // The substitute answers a floppy with change line; its device parameters say so too.
    EXPECT_FALSE(results.drives[0].notAccessible || results.drives[0].resetFailed || results.drives[0].statusFailed ||
                 results.drives[0].accessFailed || results.drives[0].changeLineHigh || results.drives[0].changeLineLow);
}

TEST(ProblemHardDriveSteps, ConfigurationReadsTheBootFilesOnlyOnWindows95)
{
    SavedMachine saved(BootFiles());
    ASSERT_TRUE(Write(WindowsFile("IOS.LOG"), "Real mode driver in use\r\n"));
    ASSERT_TRUE(Write("c:\\CONFIG.SYS", "DEVICE=C:\\DM\\DMDRVR.BIN\r\nFILES=40\r\n"));
    DeleteFileA("c:\\XBIOS.OVL");
    DeleteFileA("c:\\bootlog.txt");

    OwnRecord record('9');
    strcpy(record.info.biosDate, "07/15/94");
    // The prefix has no IOSUBSYS drivers: the protected-mode driver is missing.
    EXPECT_EQ(Findings(HardDriveConfigurationStep),
              (std::vector<std::string>{Title(CheckText::kMsdosModeInUse), Title(CheckText::kProtectedModeDriverMissing),
                                        Title(CheckText::kDiskManagerIncomplete)}));

    ASSERT_TRUE(Write("c:\\XBIOS.OVL", "overlay"));
    ASSERT_TRUE(Write("c:\\bootlog.txt", "[0012] Init Success ESDI_506.PDR\r\n"));
    strcpy(record.info.biosDate, "03/14/19");
    EXPECT_EQ(Findings(HardDriveConfigurationStep),
              (std::vector<std::string>{Title(CheckText::kMsdosModeInUse), Title(CheckText::kProtectedModeDriverMissing)}));

    ASSERT_TRUE(Write("c:\\bootlog.txt", "[0012] InitFailed ESDI_506.PDR\r\n"));
    record.info.biosDate[0] = '\0';  // Windows 95 always names a date: none is a fault
    std::vector<std::string> found = Findings(HardDriveConfigurationStep);
    EXPECT_TRUE(Lists(found, CheckText::kInitializationError)) << Joined(found);
    EXPECT_TRUE(Lists(found, CheckText::kBiosNotLbaCompatible)) << Joined(found);

    // Elsewhere the same files mean nothing; a date the system did not report neither, an
    // old one it did report still counts.
    record.info.platform = 'N';
    EXPECT_TRUE(Findings(HardDriveConfigurationStep).empty()) << Joined(Findings(HardDriveConfigurationStep));
    strcpy(record.info.biosDate, "07/15/92");
    EXPECT_EQ(Findings(HardDriveConfigurationStep), std::vector<std::string>{Title(CheckText::kBiosNotLbaCompatible)});
}

TEST(ProblemHardDriveSteps, DiagnosticsFindNothingWrongWithTheFixtureDrives)
{
    SavedMachine saved(BootFiles());
    DeleteFileA(CoachPath().c_str());
    OwnRecord record('N');  // no controllers listed, as on Wine: the drives that answer show one
    std::vector<std::string> found = Findings(HardDriveDiagnosticsStep);
    EXPECT_TRUE(found.empty()) << Joined(found);

    record.info.platform = '9';  // the Windows 95 tree lists every controller
    EXPECT_EQ(Findings(HardDriveDiagnosticsStep), std::vector<std::string>{Title(CheckText::kDiskControllerFailure)});
    record.info.ideControllers = 1;
    EXPECT_TRUE(Findings(HardDriveDiagnosticsStep).empty());
}

TEST(ProblemHardDriveSteps, CoachFileTestsPassOnAPlacedAnEmptyAndNoFile)
{
    SavedMachine saved(BootFiles());
    OwnRecord record('N');
    record.info.ideControllers = 1;
    std::string records;
    for (int i = 0; i < 40; ++i) records += std::string(652, char('A' + i % 26));
    for (const std::string& content : {records, std::string()}) {
        SCOPED_TRACE(content.size());
        ASSERT_TRUE(Write(CoachPath(), content));
        std::vector<std::string> found = Findings(HardDriveDiagnosticsStep);
        EXPECT_TRUE(found.empty()) << Joined(found);
        std::vector<unsigned char> after;
        ASSERT_TRUE(ReadWholeFileBytes(CoachPath(), &after));
        EXPECT_EQ(std::string(after.begin(), after.end()), content);
    }
    DeleteFileA(CoachPath().c_str());
    EXPECT_TRUE(Findings(HardDriveDiagnosticsStep).empty());
}

TEST(ProblemSystemSteps, OnWindows95TheDeviceTreeAndSystemIniCount)
{
    SavedMachine saved(BootFiles());
    OwnRecord record('9');
    record.info.cpuType = 586;
    record.info.cpuSpeed = 2000;
    // The Windows 95 device tree names the BIOS and the system devices; none is a fault.
    const std::vector<std::string> found = Findings(MotherboardDiagnosticsStep);
    EXPECT_EQ(found, (std::vector<std::string>{Title(CheckText::kBiosDateTestFailed), Title(CheckText::kBiosNameTestFailed),
                                               Title(CheckText::kBiosVersionTestFailed), Title(CheckText::kDmaTestFailed),
                                               Title(CheckText::kInterruptTestFailed), Title(CheckText::kBusTestFailed),
                                               Title(CheckText::kTimerTestFailed)}));
    EXPECT_TRUE(Findings(MemoryConfigurationStep).empty());
    // Windows 95 with virtual memory switched off in system.ini.
    std::vector<unsigned char> ini;
    ReadWholeFileBytes(WindowsFile("system.ini"), &ini);
    ASSERT_TRUE(Write(WindowsFile("system.ini"), std::string(ini.begin(), ini.end()) + "\r\n[386Enh]\r\nPaging=Off\r\n"));
    EXPECT_EQ(Findings(MemoryConfigurationStep), std::vector<std::string>{Title(CheckText::kVirtualMemoryDisabled)});
}

// The plain prefix (not Windows 95) with the equipment record the program itself fills:
// every finding of every step here, and the boot files, coach.dat and system.ini as they
// were.
TEST(ProblemPlainPrefix, EveryStepListsOnlyWhatIsTrueAndChangesNothing)
{
    const MachineParts parts = BootFiles();
    const MachinePicture before = TakeMachinePicture(parts);
    OwnRecord record(0);
    GetAllEquipment(nullptr);
    ASSERT_EQ(record.info.platform, 'N');
    // Wine lists no floppy controller (A: is a folder the harness maps as a floppy drive,
    // and B: does not exist), no BIOS, no disk controllers and no system devices: only
    // the floppy findings are true, and the power estimate stays low with gigabytes.
    const std::vector<std::string> none;
    const struct { const char* name; StepHandler step; std::vector<std::string> expected; } steps[] = {
        {"Floppy 4", FloppyConfigurationStep, {Title(CheckText::kNoFloppyDiskController)}},
        {"Floppy 5", FloppyDiagnosticsStep, {Title(CheckText::kInvalidFloppyDriveType)}},
        {"Hard Drives 4", HardDriveConfigurationStep, none}, {"Hard Drives 5", HardDriveDiagnosticsStep, none},
        {"Memory 4", MemoryConfigurationStep, none},         {"Memory 5", MemoryDiagnosticsStep, none},
        {"Motherboard 5", MotherboardDiagnosticsStep, none}, {"Power Supply 5", PowerSupplyDiagnosticsStep, none},
    };
    ASSERT_EQ(record.info.floppyControllers, 0u);
    for (const auto& s : steps) EXPECT_EQ(Findings(s.step), s.expected) << s.name;
    EXPECT_EQ(DescribeDifferences(before, TakeMachinePicture(parts)), "");
}
