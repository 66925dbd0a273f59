// The configuration and diagnostic checks of floppy drives, hard drives, memory, the
// motherboard and the power supply on the harness's drives and prefix: fixture boot files
// for the Windows 95 checks, the substitute's BIOS and DOS answers, coach.dat beside the
// test program, and a run of every step that must leave the machine as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "hardware/problem_checks.h"
#include "hardware/problem_rules.h"
#include "machine_state.h"
#include "problem_step_runner.h"
#include "test_windows.h"
#include "services/program_directory.h"
#include "wine_env.h"

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
    EXPECT_EQ(StepTitles(HardDriveConfigurationStep),
              (std::vector<std::string>{Title(CheckText::kMsdosModeInUse), Title(CheckText::kProtectedModeDriverMissing),
                                        Title(CheckText::kDiskManagerIncomplete)}));

    ASSERT_TRUE(Write("c:\\XBIOS.OVL", "overlay"));
    ASSERT_TRUE(Write("c:\\bootlog.txt", "[0012] Init Success ESDI_506.PDR\r\n"));
    strcpy(record.info.biosDate, "03/14/19");
    EXPECT_EQ(StepTitles(HardDriveConfigurationStep),
              (std::vector<std::string>{Title(CheckText::kMsdosModeInUse), Title(CheckText::kProtectedModeDriverMissing)}));

    ASSERT_TRUE(Write("c:\\bootlog.txt", "[0012] InitFailed ESDI_506.PDR\r\n"));
    record.info.biosDate[0] = '\0';  // Windows 95 always names a date: none is a fault
    std::vector<std::string> found = StepTitles(HardDriveConfigurationStep);
    EXPECT_TRUE(Lists(found, CheckText::kInitializationError)) << Joined(found);
    EXPECT_TRUE(Lists(found, CheckText::kBiosNotLbaCompatible)) << Joined(found);

    // Elsewhere the same files mean nothing; a date the system did not report neither, an
    // old one it did report still counts.
    record.info.platform = 'N';
    EXPECT_TRUE(StepTitles(HardDriveConfigurationStep).empty()) << Joined(StepTitles(HardDriveConfigurationStep));
    strcpy(record.info.biosDate, "07/15/92");
    EXPECT_EQ(StepTitles(HardDriveConfigurationStep), std::vector<std::string>{Title(CheckText::kBiosNotLbaCompatible)});
}

TEST(ProblemHardDriveSteps, DiagnosticsFindNothingWrongWithTheFixtureDrives)
{
    SavedMachine saved(BootFiles());
    DeleteFileA(CoachPath().c_str());
    OwnRecord record('N');  // no controllers listed, as on Wine: the drives that answer show one
    std::vector<std::string> found = StepTitles(HardDriveDiagnosticsStep);
    EXPECT_TRUE(found.empty()) << Joined(found);

    record.info.platform = '9';  // the Windows 95 tree lists every controller
    EXPECT_EQ(StepTitles(HardDriveDiagnosticsStep), std::vector<std::string>{Title(CheckText::kDiskControllerFailure)});
    record.info.ideControllers = 1;
    EXPECT_TRUE(StepTitles(HardDriveDiagnosticsStep).empty());
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
        std::vector<std::string> found = StepTitles(HardDriveDiagnosticsStep);
        EXPECT_TRUE(found.empty()) << Joined(found);
        std::vector<unsigned char> after;
        ASSERT_TRUE(ReadWholeFileBytes(CoachPath(), &after));
        EXPECT_EQ(std::string(after.begin(), after.end()), content);
    }
    DeleteFileA(CoachPath().c_str());
    EXPECT_TRUE(StepTitles(HardDriveDiagnosticsStep).empty());
}

TEST(ProblemSystemSteps, OnWindows95TheDeviceTreeAndSystemIniCount)
{
    SavedMachine saved(BootFiles());
    OwnRecord record('9');
    record.info.cpuType = 586;
    record.info.cpuSpeed = 2000;
    // The Windows 95 device tree names the BIOS and the system devices; none is a fault.
    const std::vector<std::string> found = StepTitles(MotherboardDiagnosticsStep);
    EXPECT_EQ(found, (std::vector<std::string>{Title(CheckText::kBiosDateTestFailed), Title(CheckText::kBiosNameTestFailed),
                                               Title(CheckText::kBiosVersionTestFailed), Title(CheckText::kDmaTestFailed),
                                               Title(CheckText::kInterruptTestFailed), Title(CheckText::kBusTestFailed),
                                               Title(CheckText::kTimerTestFailed)}));
    EXPECT_TRUE(StepTitles(MemoryConfigurationStep).empty());
    // Windows 95 with virtual memory switched off in system.ini.
    std::vector<unsigned char> ini;
    ReadWholeFileBytes(WindowsFile("system.ini"), &ini);
    ASSERT_TRUE(Write(WindowsFile("system.ini"), std::string(ini.begin(), ini.end()) + "\r\n[386Enh]\r\nPaging=Off\r\n"));
    EXPECT_EQ(StepTitles(MemoryConfigurationStep), std::vector<std::string>{Title(CheckText::kVirtualMemoryDisabled)});
}
