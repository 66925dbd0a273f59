// The configuration and diagnostic steps of the device categories against the harness's
// prefix: fixture entries in system.ini, win.ini, autoexec.bat and the registry (put back
// byte for byte afterwards), the fixture CD-ROM drive E:, COM ports linked to host devices,
// and the boxes the steps ask with, answered as a user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "box_watcher.h"
#include "equipment/equipment_info.h"
#include "hardware/problem_checks.h"
#include "machine_state.h"
#include "problem_step_runner.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

const char kCdAudio[] = "System\\CurrentControlSet\\control\\MediaResources\\mci\\cdaudio";
const char kAutoexec[] = "c:\\autoexec.bat";

void WriteText(const std::string& path, const std::string& text)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size())) << path;
}

std::string RunFolder()
{
    return getenv("HALVORN_RUN_DIR") ? getenv("HALVORN_RUN_DIR") : "";
}

MachineParts TouchedParts()
{
    return MachineParts{
        {{HKEY_CURRENT_USER, "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows"},
         {HKEY_LOCAL_MACHINE, kCdAudio}},
        {WindowsFile("system.ini"), WindowsFile("win.ini"), kAutoexec}};
}

// Each test on an equipment record of its own and a machine put back as it was.
class ProblemChecksDevicesTest : public testing::Test {
protected:
    ProblemChecksDevicesTest()
        : saved_(TouchedParts()), savedInfo_(gEquipmentInfo), savedMain_(MainDialog), savedInstance_(gInstance)
    {
        gEquipmentInfo = &info_;
        MainDialog = nullptr;
        gInstance = GetModuleHandleA(nullptr);
    }
    ~ProblemChecksDevicesTest() override
    {
        gInstance = savedInstance_;
        MainDialog = savedMain_;
        gEquipmentInfo = savedInfo_;
    }
    EquipmentInfo info_ = {};

private:
    SavedMachine saved_;
    EquipmentInfo* savedInfo_;
    HWND savedMain_;
    HINSTANCE savedInstance_;
};

}  // namespace

// COMnAutoAssign=0 of a listed port gives its protection and its hang finding, protection
// findings first; an unlisted port, no entry or another platform: neither.
TEST_F(ProblemChecksDevicesTest, PortsConfigurationReadsComAutoAssignOfListedPortsOnWindows95)
{
    info_.comPresent[0] = info_.lptPresent[0] = 1;
    const auto comTitles = [] {
        Titles com;
        for (const std::string& t : StepTitles(PortsConfigurationStep))
            if (t.compare(0, 3, "COM") == 0) com.push_back(t);
        return com;
    };
    const std::string systemIni = WindowsFile("system.ini");
    info_.platform = '9';
    WriteText(systemIni, "[boot]\r\nshell=Explorer.exe\r\n[386Enh]\r\nCOM3AutoAssign=0\r\nCOM1AutoAssign=0\r\n");
    EXPECT_EQ(comTitles(), (Titles{"COM1 protection low", "COM1 hang risk"}));
    info_.comPresent[2] = 1;
    EXPECT_EQ(comTitles(), (Titles{"COM1 protection low", "COM3 protection low", "COM1 hang risk", "COM3 hang risk"}));
    info_.platform = 'N';
    EXPECT_EQ(comTitles(), Titles{});
    info_.platform = '9';
    WriteText(systemIni, "[386Enh]\r\nMinTimeSlice=20\r\n");
    EXPECT_EQ(comTitles(), Titles{});
}

// COM1 is the host's serial device; COM2 and COM4 linked to a folder refuse to open (a
// possible conflict, once from each side); COM3 linked to /dev/null opens but is no serial
// port. Without the links COM2..COM4 do not exist, although the spooler lists them (the
// plain prefix test below).
TEST_F(ProblemChecksDevicesTest, PortsOpenEachListedComPortAndSkipThoseTheSystemLacks)
{
    const std::string links = RunFolder() + "/prefix/dosdevices/";
    struct Unlink {
        std::string at;
        ~Unlink() { RunHostCommand("rm -f " + at + "com2 " + at + "com3 " + at + "com4"); }
    } unlink{links};
    for (uint32_t& present : info_.comPresent) present = 1;
    info_.lptPresent[0] = 1;
    info_.platform = 'N';
    ASSERT_TRUE(RunHostCommand("ln -sfn /tmp " + links + "com2 && ln -sfn /dev/null " + links + "com3 && ln -sfn /tmp " +
                               links + "com4"));
    EXPECT_EQ(StepTitles(PortsConfigurationStep), (Titles{"Port conflict possible", "Port conflict possible"}));
    EXPECT_EQ(StepTitles(PortsDiagnosticsStep), (Titles{"Unable to test COM ports", "COM port error"}));
    info_.comPresent[1] = info_.comPresent[2] = 0;
    EXPECT_EQ(StepTitles(PortsConfigurationStep), Titles{});
    EXPECT_EQ(StepTitles(PortsDiagnosticsStep), Titles{"Unable to test COM ports"});
}

// Cancel in "Waiting to test" tests nothing, although E: holds a program that reads empty;
// OK finds exactly that; a program with bytes passes; the drive without its disc (still a
// CD-ROM letter) is left alone.
TEST_F(ProblemChecksDevicesTest, CdromDiagnosticsAskFirstAndReadAFirstBlockOfEachDisc)
{
    const std::string drive = UnixToWindowsPath(RunFolder() + "/drives/e"), program = drive + "\\X.EXE";
    struct Remove {
        std::string path;
        ~Remove() { DeleteFileA(path.c_str()); }
    } remove{program};
    WriteText(program, "");
    {
        BoxWatcher boxes(GetCurrentProcessId(), IDCANCEL);
        EXPECT_EQ(StepTitles(CdromDiagnosticsStep), Titles{});
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Waiting to test", 5000, &box));
        EXPECT_EQ(box.text, "Please insert a CD in each CD-ROM drive for testing.");
    }
    BoxWatcher boxes(GetCurrentProcessId(), IDOK);
    EXPECT_EQ(StepTitles(CdromDiagnosticsStep), Titles{"CD-ROM read test failed"});
    WriteText(program, "MZ");
    EXPECT_EQ(StepTitles(CdromDiagnosticsStep), Titles{});
    WriteText(program, "");
    ASSERT_TRUE(MoveFileA(drive.c_str(), (drive + ".away").c_str()));
    const UINT typeWithoutDisc = GetDriveTypeA("E:\\");
    const Titles withoutDisc = StepTitles(CdromDiagnosticsStep);
    ASSERT_TRUE(MoveFileA((drive + ".away").c_str(), drive.c_str()));
    EXPECT_EQ(typeWithoutDisc, UINT(DRIVE_CDROM));
    EXPECT_EQ(withoutDisc, Titles{});
}

// Windows 95 files and settings count only there: elsewhere the same missing autoexec.bat
// and CD audio entries, and display entries that would each be a finding, add nothing.
TEST_F(ProblemChecksDevicesTest, ConfigurationStepsReadWindows95FilesAndSettingsOnlyThere)
{
    SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kAutoexec);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCdAudio);
    WriteText(WindowsFile("system.ini"), "[DISPLAY]\r\nMMIO=0\r\nTrueColor=0\r\nLockCursor=1\r\n");
    ASSERT_TRUE(WriteProfileStringA("Display", "SWCursor", "0"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "SafeMode", "1"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "HighColor", "0"));
    info_.cdromDrives = 1;
    info_.platform = 'N';
    for (StepHandler step : {CdromConfigurationStep, SoundConfigurationStep, VideoCardConfigurationStep, MouseConfigurationStep})
        EXPECT_EQ(StepTitles(step), Titles{});
    info_.cdromDrives = 0;
    EXPECT_EQ(StepTitles(CdromConfigurationStep), Titles{"No CD-ROM drive found"});

    info_.cdromDrives = 1;
    info_.platform = '9';
    EXPECT_EQ(StepTitles(CdromConfigurationStep), (Titles{"MSCDEX not loaded", "Audio driver not found", "Audio driver disabled"}));
    EXPECT_EQ(StepTitles(VideoCardConfigurationStep), (Titles{"Hardware cursor enabled", "Basic acceleration enabled",
                                                           " High Color fix not enabled", "True Color fix not enabled"}));
    EXPECT_EQ(StepTitles(MouseConfigurationStep), Titles{"Hardware cursor in use"});

    WriteText(kAutoexec, "REM C:\\DOS\\MSCDEX.EXE\r\nC:\\BIN\\CORELCDX.COM /D:MSCD000\r\n");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCdAudio, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>("mcicda.drv"), 11);
    RegSetValueExA(key, "Disabled", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    EXPECT_EQ(StepTitles(CdromConfigurationStep), Titles{});
}

// Declining the modem test leaves no speed: no modem found, unable to test, and not a
// failed test of a modem that was never reached.
TEST_F(ProblemChecksDevicesTest, ModemStepsAskBeforeProbingAndReportAMissingModemOnce)
{
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);
    EXPECT_EQ(StepTitles(ModemConfigurationStep), Titles{"No modems found"});
    EXPECT_EQ(StepTitles(ModemDiagnosticsStep), Titles{"Unable to test modems"});
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].caption, "No Modems Registered");
}
