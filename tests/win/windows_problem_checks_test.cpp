// The five Windows problem checks against the test's own prefix and fixture drives: the
// files they look for are written in, the report lines read back, and every file the test
// touched put back.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "check_test_steps.h"
#include "checks/windows_checks.h"
#include "machine_state.h"

namespace {

const std::string kValue = "\x01" "Y";

bool Has(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

}  // namespace

TEST(ProblemChecks, DriveSpaceFindsItsDriverAndTheVolumesByTheirUpperCaseName)
{
    SavedMachine saved(MachineParts{{}, {"F:\\DRVSPACE.BIN", "F:\\DRVSPACE.000", "C:\\DRVSPACE.INI"}});
    ASSERT_TRUE(WriteText("F:\\DRVSPACE.BIN", "driver"));
    ASSERT_TRUE(WriteText("F:\\DRVSPACE.000", "volume"));
    ASSERT_TRUE(WriteText("C:\\DRVSPACE.INI", "MaxRemovableDrives=2\r\nFirstDrive=H\r\n[Section]\r\nAutoMount=1\r\n"));
    CheckReport report;
    const std::vector<std::string> lines = report.Run(CheckDriveSpace);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(ValueOf(lines, "DriveSpace Real-Mode Driver"), "Passed");
    EXPECT_EQ(ValueOf(lines, "DriveSpace Protected-Mode Driver"), "Failed");
    EXPECT_EQ(ValueOf(lines, "DriveSpace Initialization File"), "Passed");
    EXPECT_EQ(ValueOf(lines, "DriveSpace Volumes"), "F:\\DRVSPACE.000");
    EXPECT_EQ(ValueOf(lines, "MaxRemovableDrives"), "2");
    EXPECT_EQ(ValueOf(lines, "AutoMount"), "None");  // it stands in a section
    EXPECT_EQ(ValueOf(lines, "First Compressed Drive"), "H");
}

TEST(ProblemChecks, DeviceContentionReadsTheAutoAssignOfPresentPortsAsSignedNumbers)
{
    OwnEquipment record(0);
    record.info.comPresent[0] = 1;
    const std::string systemIni = WindowsFile("system.ini");
    SavedMachine saved(MachineParts{{}, {systemIni}});
    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM1AutoAssign", "2", systemIni.c_str()));
    // COM2 is absent: its line is not read.
    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM2AutoAssign", "0", systemIni.c_str()));
    CheckReport report;
    std::vector<std::string> lines = report.Run(CheckDeviceContention);
    EXPECT_EQ(ValueOf(lines, "COM1 Protection Level"), "Moderate");
    EXPECT_EQ(ValueOf(lines, "COM2 Protection Level"), "No Port Found");
    EXPECT_EQ(ValueOf(lines, "Risk of Modem Problems"), "Moderate @ 2 seconds");

    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM1AutoAssign", "-1", systemIni.c_str()));
    lines = report.Run(CheckDeviceContention);
    EXPECT_EQ(ValueOf(lines, "COM1 Protection Level"), "Maximum");
    EXPECT_EQ(ValueOf(lines, "Risk of Modem Problems"), "Low");
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, systemIni.c_str());  // before the bytes go back
}

TEST(ProblemChecks, AnimatedCursorsDependOnIosLogAndTheColourDepth)
{
    CheckReport report;
    HDC dc = GetDC(report.list);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(report.list, dc);
    ASSERT_GE(bits, 8) << "the harness display has at least 256 colours";
    std::vector<std::string> lines = report.Run(CheckAnimatedCursors);
    EXPECT_EQ(ValueOf(lines, "Color Mode Compatible"), "Passed");
    EXPECT_EQ(ValueOf(lines, "Cursor Type Possible"), "Animated Color Cursors");

    SavedMachine saved(MachineParts{{}, {WindowsFile("IOS.LOG")}});
    ASSERT_TRUE(WriteText(WindowsFile("IOS.LOG"), "compatibility mode\r\n"));
    lines = report.Run(CheckAnimatedCursors);
    EXPECT_EQ(ValueOf(lines, "Protected Mode Disk Drivers Only"), "Failed");
    EXPECT_EQ(ValueOf(lines, "Cursor Type Possible"), "Static Color Cursors Only");
}

TEST(ProblemChecks, ConfigurationListsEachFailureOfTheBootLogOnce)
{
    CheckReport report;
    EXPECT_EQ(report.Run(CheckConfiguration).size(), 1u) << "no boot log: only the heading";

    SavedMachine saved(MachineParts{{}, {"C:\\BOOTLOG.TXT", "C:\\config.sys", "F:\\ALPHA\\FAILDRV.SYS"}});
    ASSERT_TRUE(WriteText("F:\\ALPHA\\FAILDRV.SYS", "driver"));
    ASSERT_TRUE(WriteText("C:\\config.sys", "DEVICE=F:\\ALPHA\\faildrv.sys\r\n"));
    ASSERT_TRUE(WriteText("C:\\BOOTLOG.TXT", "[0010A6F1] LoadFailed = faildrv.sys\r\n"
                                             "[0010A6F2] LoadSuccess = himem.sys\r\n"
                                             "[0010A6F3] LoadFailed = gonedrv.vxd\r\n"
                                             "[0010A6F4] LoadFailed = faildrv.sys\r\n"));
    EXPECT_EQ(report.Run(CheckConfiguration),
              (std::vector<std::string>{"\x06\x01" "CConfiguration Problem\t\x06\x01" "COn Disk\t\x06\x01" "CLocation",
                                        kValue + "FAILDRV.SYS\t" + kValue + "Passed\t" + kValue + "CONFIG.SYS",
                                        kValue + "GONEDRV.VXD\t\x01" "RFailed\t" + kValue + "Internal"}));
}

TEST(ProblemChecks, MsDosModeListsProgramInformationFiles)
{
    CheckReport report;
    const std::vector<std::string> before = report.Run(CheckMsDosMode);
    ASSERT_FALSE(before.empty());
    EXPECT_FALSE(Has(before, kValue + "F:\\ALPHA\\TEST.PIF"));
    SavedMachine saved(MachineParts{{}, {"F:\\ALPHA\\TEST.PIF"}});
    ASSERT_TRUE(WriteText("F:\\ALPHA\\TEST.PIF", "pif"));
    const std::vector<std::string> after = report.Run(CheckMsDosMode);
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(Has(after, kValue + "F:\\ALPHA\\TEST.PIF"));
}
