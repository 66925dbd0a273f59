// The five Windows problem checks against the test's own prefix and fixture drives: the
// files they look for are written in, the report lines read back, and every file the test
// touched put back byte for byte. Each check must leave the current folder where it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checks/windows_checks.h"
#include "equipment/equipment_info.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

const std::string kValue = "\x01" "Y";

std::string CurrentFolder()
{
    char folder[MAX_PATH] = {};
    return std::string(folder, GetCurrentDirectoryA(sizeof folder, folder));
}

std::string WindowsFolder(const std::string& name)
{
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

// A file the test changes or creates: its bytes (or its absence) come back at the end.
class KeptFile {
public:
    explicit KeptFile(const std::string& path) : path_(path), existed_(ReadWholeFileBytes(path, &bytes_)) {}
    ~KeptFile()
    {
        // Drop what the profile functions may hold of the file before the bytes go back.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, path_.c_str());
        if (existed_) EXPECT_TRUE(WriteWholeFile(path_, bytes_.data(), bytes_.size())) << path_;
        else DeleteFileA(path_.c_str());
        std::vector<unsigned char> after;
        EXPECT_EQ(ReadWholeFileBytes(path_, &after), existed_) << path_;
        EXPECT_TRUE(after == bytes_) << path_;
    }
    bool Write(const std::string& text) const { return WriteWholeFile(path_, text.data(), text.size()); }

private:
    std::string path_;
    std::vector<unsigned char> bytes_;
    bool existed_;
};

// Points gEquipmentInfo at a record of the test's own for the test's lifetime.
struct OwnRecord {
    OwnRecord() : saved(gEquipmentInfo) { gEquipmentInfo = &info; }
    ~OwnRecord() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

class ProblemChecks : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = CurrentFolder();
        list_ = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 300, 200, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(list_, nullptr);
    }
    void TearDown() override { DestroyWindow(list_); }

    // Runs a check on an empty list and returns the lines it shows; the check's result is
    // its line count and the current folder stays.
    std::vector<std::string> Run(int (*check)(HWND))
    {
        SendMessageA(list_, LB_RESETCONTENT, 0, 0);
        const int count = check(list_);
        EXPECT_EQ(CurrentFolder(), folder_);
        std::vector<std::string> lines = ListBoxLines(list_);
        EXPECT_EQ(count, int(lines.size()));
        return lines;
    }
    static bool Has(const std::vector<std::string>& lines, const std::string& line)
    {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
    static std::string ValueLine(const std::string& label, const std::string& value)
    {
        return "\x01" "C" + label + "\t" + kValue + value;
    }

    std::string folder_;
    HWND list_ = nullptr;
};

TEST_F(ProblemChecks, DriveSpaceFindsItsDriverAndTheVolumesByTheirUpperCaseName)
{
    // The plain prefix has no DriveSpace: three failed tests and the defaults.
    std::vector<std::string> lines = Run(CheckDriveSpace);
    EXPECT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], ValueLine("DriveSpace Real-Mode Driver", "Failed"));

    KeptFile driver("F:\\DRVSPACE.BIN"), volume("F:\\DRVSPACE.000"), ini("C:\\DRVSPACE.INI");
    ASSERT_TRUE(driver.Write("driver"));
    ASSERT_TRUE(volume.Write("volume"));
    ASSERT_TRUE(ini.Write("MaxRemovableDrives=2\r\nFirstDrive=H\r\n[Section]\r\nAutoMount=1\r\n"));
    lines = Run(CheckDriveSpace);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], ValueLine("DriveSpace Real-Mode Driver", "Passed"));
    EXPECT_EQ(lines[2], ValueLine("DriveSpace Protected-Mode Driver", "Failed"));
    EXPECT_EQ(lines[3], ValueLine("DriveSpace Initialization File", "Passed"));
    EXPECT_EQ(lines[4], ValueLine("DriveSpace Volumes", "F:\\DRVSPACE.000"));
    EXPECT_EQ(lines[5], ValueLine("MaxRemovableDrives", "2"));
    EXPECT_EQ(lines[6], ValueLine("AutoMount", "None"));  // it stands in a section
    EXPECT_EQ(lines[7], ValueLine("First Compressed Drive", "H"));
}

TEST_F(ProblemChecks, DeviceContentionReadsTheAutoAssignOfPresentPortsAsSignedNumbers)
{
    OwnRecord record;
    record.info.comPresent[0] = 1;
    const std::string systemIni = WindowsFolder("system.ini");
    KeptFile kept(systemIni);
    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM1AutoAssign", "2", systemIni.c_str()));
    // COM2 is absent: its line is not read.
    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM2AutoAssign", "0", systemIni.c_str()));
    std::vector<std::string> lines = Run(CheckDeviceContention);
    EXPECT_EQ(lines, (std::vector<std::string>{"\x06\x01" "CTest Results", ValueLine("COM1 Protection Level", "Moderate"),
                                               ValueLine("COM2 Protection Level", "No Port Found"),
                                               ValueLine("COM3 Protection Level", "No Port Found"),
                                               ValueLine("COM4 Protection Level", "No Port Found"),
                                               ValueLine("Risk of System Hanging", "High"),
                                               ValueLine("Risk of Modem Problems", "Moderate @ 2 seconds")}));

    ASSERT_TRUE(WritePrivateProfileStringA("386Enh", "COM1AutoAssign", "-1", systemIni.c_str()));
    lines = Run(CheckDeviceContention);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], ValueLine("COM1 Protection Level", "Maximum"));
    EXPECT_EQ(lines[6], ValueLine("Risk of Modem Problems", "Low"));
}

TEST_F(ProblemChecks, AnimatedCursorsDependOnIosLogAndTheColourDepth)
{
    HDC dc = GetDC(list_);
    const int bits = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(list_, dc);
    RecordProperty("BitsPerPixel", bits);
    ASSERT_GE(bits, 8) << "the harness display has at least 256 colours";
    std::vector<std::string> lines = Run(CheckAnimatedCursors);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], ValueLine("Protected Mode Disk Drivers Only", "Passed"));
    EXPECT_EQ(lines[2], ValueLine("Color Mode Compatible", "Passed"));
    EXPECT_EQ(lines[3], ValueLine("Cursor Type Possible", "Animated Color Cursors"));

    KeptFile iosLog(WindowsFolder("IOS.LOG"));
    ASSERT_TRUE(iosLog.Write("compatibility mode\r\n"));
    lines = Run(CheckAnimatedCursors);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[1], ValueLine("Protected Mode Disk Drivers Only", "Failed"));
    EXPECT_EQ(lines[3], ValueLine("Cursor Type Possible", "Static Color Cursors Only"));
}

TEST_F(ProblemChecks, ConfigurationListsEachFailureOfTheBootLogOnce)
{
    EXPECT_EQ(Run(CheckConfiguration).size(), 1u) << "no boot log: only the heading";

    KeptFile bootLog("C:\\BOOTLOG.TXT"), configSys("C:\\config.sys"), driver("F:\\ALPHA\\FAILDRV.SYS");
    ASSERT_TRUE(driver.Write("driver"));
    ASSERT_TRUE(configSys.Write("DEVICE=F:\\ALPHA\\faildrv.sys\r\n"));
    ASSERT_TRUE(bootLog.Write("[0010A6F1] LoadFailed = faildrv.sys\r\n"
                              "[0010A6F2] LoadSuccess = himem.sys\r\n"
                              "[0010A6F3] LoadFailed = gonedrv.vxd\r\n"
                              "[0010A6F4] LoadFailed = faildrv.sys\r\n"
                              "[0010A6F5] SysCritInitFailed = EBIOS\r\n"));
    const std::vector<std::string> lines = Run(CheckConfiguration);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "\x06\x01" "CConfiguration Problem\t\x06\x01" "COn Disk\t\x06\x01" "CLocation",
                         kValue + "FAILDRV.SYS\t" + kValue + "Passed\t" + kValue + "CONFIG.SYS",
                         kValue + "GONEDRV.VXD\t\x01" "RFailed\t" + kValue + "Internal",
                         kValue + "EBIOS\t" + kValue + "N/A\t" + kValue + "Internal"}));
}

TEST_F(ProblemChecks, MsDosModeListsProgramInformationFiles)
{
    const std::vector<std::string> before = Run(CheckMsDosMode);
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before[0], "\x06\x01" "CPIF Files Found");
    EXPECT_FALSE(Has(before, kValue + "F:\\ALPHA\\TEST.PIF"));
    KeptFile pif("F:\\ALPHA\\TEST.PIF");
    ASSERT_TRUE(pif.Write("pif"));
    const std::vector<std::string> after = Run(CheckMsDosMode);
    EXPECT_EQ(after.size(), before.size() + 1);
    EXPECT_TRUE(Has(after, kValue + "F:\\ALPHA\\TEST.PIF"));
}

// Bytes and last-write time of a file, as the safety comparison sees it.
std::string FileState(const std::string& path)
{
    std::vector<unsigned char> bytes;
    if (!ReadWholeFileBytes(path, &bytes)) return "missing";
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return std::string(bytes.begin(), bytes.end()) + "@" + std::to_string(data.ftLastWriteTime.dwLowDateTime) + ":" +
           std::to_string(data.ftLastWriteTime.dwHighDateTime);
}

TEST_F(ProblemChecks, TheChecksOnlyRead)
{
    OwnRecord record;
    record.info.comPresent[0] = 1;
    KeptFile bootLog("C:\\BOOTLOG.TXT"), ini("C:\\DRVSPACE.INI"), volume("F:\\DRVSPACE.000");
    ASSERT_TRUE(bootLog.Write("LoadFailed = drvspace.000\r\n"));
    ASSERT_TRUE(ini.Write("AutoMount=1\r\n"));
    ASSERT_TRUE(volume.Write("volume"));
    const std::vector<std::string> files = {WindowsFolder("system.ini"), WindowsFolder("win.ini"), "C:\\BOOTLOG.TXT",
                                            "C:\\DRVSPACE.INI", "F:\\DRVSPACE.000", "F:\\WALKF.HVW"};
    std::vector<std::string> before;
    for (const std::string& file : files) before.push_back(FileState(file));
    for (int (*check)(HWND) : {CheckDeviceContention, CheckAnimatedCursors, CheckConfiguration, CheckMsDosMode,
                               CheckDriveSpace})
        Run(check);
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(FileState(files[i]), before[i]) << files[i];
}

}  // namespace
