// The configuration and diagnostic steps of the device categories against the harness's
// prefix: fixture entries in system.ini, win.ini and the registry (put back byte for byte
// afterwards), the fixture CD-ROM drive E:, and the boxes the steps ask with, answered as a
// user would.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "box_watcher.h"
#include "equipment/equipment_info.h"
#include "equipment/inventory.h"
#include "equipment/spooler.h"
#include "hardware/problem_checks.h"
#include "machine_state.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

using Titles = std::vector<std::string>;

const char kUserWindows[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kCdAudio[] = "System\\CurrentControlSet\\control\\MediaResources\\mci\\cdaudio";
const char kAutoexec[] = "c:\\autoexec.bat";

// The titles a step listed, in order, from its numbered problems text.
Titles RunStep(StepHandler step)
{
    ProblemReport report;
    step(report);
    EXPECT_STREQ(report.leftLabel, "Problems Found");
    Titles titles;
    const std::string& text = report.text.first;
    for (size_t at = 0; at < text.size();) {
        const size_t end = text.find("\r\n\r\n", at);
        const std::string item = text.substr(at, end - at);
        titles.push_back(item.substr(item.find(") ") + 2));
        at = end == std::string::npos ? text.size() : end + 4;
    }
    return titles;
}

void WriteText(const std::string& path, const std::string& text)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(WriteWholeFile(path, text.data(), text.size())) << path;
}

// Each test on a record of its own and a machine put back as it was.
MachineParts TouchedParts()
{
    return MachineParts{{{HKEY_CURRENT_USER, kUserWindows}, {HKEY_LOCAL_MACHINE, kCdAudio}},
                        {WindowsFile("system.ini"), WindowsFile("win.ini"), kAutoexec}};
}

class ProblemChecksDevicesTest : public testing::Test {
protected:
    ProblemChecksDevicesTest() : saved_(std::make_unique<SavedMachine>(TouchedParts()))
    {
        savedInfo_ = gEquipmentInfo;
        gEquipmentInfo = &info_;
        savedMainDialog_ = MainDialog;
        MainDialog = nullptr;
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
    }
    ~ProblemChecksDevicesTest() override
    {
        gInstance = savedInstance_;
        MainDialog = savedMainDialog_;
        gEquipmentInfo = savedInfo_;
        saved_.reset();
        // The profile functions must not answer from what they read before the restore.
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, WindowsFile("system.ini").c_str());
        WriteProfileStringA(nullptr, nullptr, nullptr);
    }
    EquipmentInfo info_ = {};

private:
    std::unique_ptr<SavedMachine> saved_;
    EquipmentInfo* savedInfo_ = nullptr;
    HWND savedMainDialog_ = nullptr;
    HINSTANCE savedInstance_ = nullptr;
};

// The run's copy of the fixture CD-ROM drive, as a Windows path.
std::string CdromFolder()
{
    return UnixToWindowsPath(std::string(getenv("HALVORN_RUN_DIR") ? getenv("HALVORN_RUN_DIR") : "") + "/drives/e");
}

// Runs a step that opens a window of this thread until closed, closing it from a helper
// thread once it shows.
Titles RunStepClosing(StepHandler step, const char* className, const char* title)
{
    struct Closer {
        const char *className, *title;
        volatile LONG stop = 0;
        bool seen = false;
        static DWORD WINAPI Run(LPVOID self)
        {
            Closer* c = static_cast<Closer*>(self);
            while (!c->stop) {
                HWND w = FindProcessWindow(GetCurrentProcessId(), c->className, c->title);
                if (w && IsWindowVisible(w)) {
                    c->seen = true;
                    PostMessageA(w, WM_CLOSE, 0, 0);
                    return 0;
                }
                Sleep(50);
            }
            return 0;
        }
    } closer{className, title};
    HANDLE thread = CreateThread(nullptr, 0, Closer::Run, &closer, 0, nullptr);
    const Titles titles = RunStep(step);
    InterlockedExchange(&closer.stop, 1);
    WaitForSingleObject(thread, 10000);
    CloseHandle(thread);
    EXPECT_TRUE(closer.seen) << title << " did not show";
    return titles;
}

}  // namespace

// COMnAutoAssign=0 of a present port is both a protection and a hang finding, protection
// findings first; a port that is not present, another value, a missing entry or another
// platform add neither.
TEST_F(ProblemChecksDevicesTest, PortsConfigurationReadsComAutoAssignOfPresentPortsOnWindows95)
{
    info_.comPresent[0] = 1;
    info_.comPresent[2] = 0;
    info_.lptPresent[0] = 1;
    const auto comTitles = [] {
        Titles com;
        for (const std::string& t : RunStep(PortsConfigurationStep))
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
    WriteText(systemIni, "[386Enh]\r\nCOM1AutoAssign=2\r\n");
    EXPECT_EQ(comTitles(), Titles{});
    WriteText(systemIni, "[386Enh]\r\nMinTimeSlice=20\r\n");
    EXPECT_EQ(comTitles(), Titles{});
}

// Cancel in "Waiting to test" tests nothing, although E: holds a program that reads empty;
// OK finds exactly that; a program with bytes in it passes; a CD-ROM letter without a disc
// is left alone.
TEST_F(ProblemChecksDevicesTest, CdromDiagnosticsAskFirstAndReadAFirstBlockOfEachDisc)
{
    ASSERT_EQ(GetDriveTypeA("E:\\"), UINT(DRIVE_CDROM));
    const std::string program = CdromFolder() + "\\X.EXE";
    struct Remove {
        std::string path;
        ~Remove() { DeleteFileA(path.c_str()); }
    } remove{program};
    WriteText(program, "");
    {
        BoxWatcher boxes(GetCurrentProcessId(), IDCANCEL);
        EXPECT_EQ(RunStep(CdromDiagnosticsStep), Titles{});
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Waiting to test", 5000, &box));
        EXPECT_EQ(box.text, "Please insert a CD in each CD-ROM drive for testing.");
    }
    BoxWatcher boxes(GetCurrentProcessId(), IDOK);
    EXPECT_EQ(RunStep(CdromDiagnosticsStep), Titles{"CD-ROM read test failed"});
    WriteText(program, "MZ");
    EXPECT_EQ(RunStep(CdromDiagnosticsStep), Titles{});
    WriteText(program, "");
    // The disc taken out: the drive's folder moved away for the moment.
    const std::string away = CdromFolder() + ".away";
    ASSERT_TRUE(MoveFileA(CdromFolder().c_str(), away.c_str()));
    const UINT typeWithoutDisc = GetDriveTypeA("E:\\");
    const Titles withoutDisc = RunStep(CdromDiagnosticsStep);
    ASSERT_TRUE(MoveFileA(away.c_str(), CdromFolder().c_str()));
    EXPECT_EQ(typeWithoutDisc, UINT(DRIVE_CDROM));  // still a CD-ROM letter, only its free space fails
    EXPECT_EQ(withoutDisc, Titles{});
    EXPECT_EQ(boxes.Boxes().size(), 3u);
}

// The Windows 95 files and settings count only there: elsewhere the same missing
// autoexec.bat and CD audio entries add nothing.
TEST_F(ProblemChecksDevicesTest, CdromAndSoundConfigurationReadWindows95SourcesOnlyThere)
{
    SetFileAttributesA(kAutoexec, FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(kAutoexec);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCdAudio);
    info_.cdromDrives = 1;
    info_.platform = 'N';
    EXPECT_EQ(RunStep(CdromConfigurationStep), Titles{});
    EXPECT_EQ(RunStep(SoundConfigurationStep), Titles{});
    info_.cdromDrives = 0;
    EXPECT_EQ(RunStep(CdromConfigurationStep), Titles{"No CD-ROM drive found"});

    info_.cdromDrives = 1;
    info_.platform = '9';
    EXPECT_EQ(RunStep(CdromConfigurationStep), (Titles{"MSCDEX not loaded", "Audio driver not found", "Audio driver disabled"}));
    EXPECT_EQ(RunStep(SoundConfigurationStep), (Titles{"Audio driver not found", "Audio driver disabled"}));
    WriteText(kAutoexec, "REM C:\\DOS\\MSCDEX.EXE\r\nC:\\BIN\\CORELCDX.COM /D:MSCD000\r\n");
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCdAudio, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr), ERROR_SUCCESS);
    RegSetValueExA(key, "Driver", 0, REG_SZ, reinterpret_cast<const BYTE*>("mcicda.drv"), 11);
    RegSetValueExA(key, "Disabled", 0, REG_SZ, reinterpret_cast<const BYTE*>("1"), 2);
    EXPECT_EQ(RunStep(CdromConfigurationStep), Titles{"Audio driver disabled"});
    RegSetValueExA(key, "Disabled", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    EXPECT_EQ(RunStep(SoundConfigurationStep), Titles{});
}

// The display entries of win.ini and system.ini, each read with its own section and file.
TEST_F(ProblemChecksDevicesTest, VideoCardAndMouseConfigurationReadTheDisplayEntriesOnWindows95)
{
    WriteText(WindowsFile("system.ini"), "[DISPLAY]\r\nMMIO=0\r\nTrueColor=0\r\nLockCursor=1\r\n");
    ASSERT_TRUE(WriteProfileStringA("Display", "SWCursor", "0"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "SafeMode", "1"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "HighColor", "0"));
    info_.platform = 'N';
    EXPECT_EQ(RunStep(VideoCardConfigurationStep), Titles{});
    EXPECT_EQ(RunStep(MouseConfigurationStep), Titles{});
    info_.platform = '9';
    EXPECT_EQ(RunStep(VideoCardConfigurationStep),
              (Titles{"Hardware cursor enabled", "Basic acceleration enabled", " High Color fix not enabled",
                      "True Color fix not enabled"}));
    EXPECT_EQ(RunStep(MouseConfigurationStep), Titles{"Hardware cursor in use"});

    WriteText(WindowsFile("system.ini"), "[DISPLAY]\r\nLockCursor=0\r\n");
    ASSERT_TRUE(WriteProfileStringA("Display", "SWCursor", "1"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "SafeMode", "0"));
    ASSERT_TRUE(WriteProfileStringA("Windows", "HighColor", nullptr));
    EXPECT_EQ(RunStep(VideoCardConfigurationStep),
              (Titles{"Full acceleration enabled", "Memory Mapped I/O enabled", "Cursor lock not enabled"}));
    EXPECT_EQ(RunStep(MouseConfigurationStep), Titles{});
}

// Declining the modem test leaves no speed: no modem found, unable to test, and not a
// failed test of a modem that was never reached.
TEST_F(ProblemChecksDevicesTest, ModemStepsAskBeforeProbingAndReportAMissingModemOnce)
{
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);
    EXPECT_EQ(RunStep(ModemConfigurationStep), Titles{"No modems found"});
    EXPECT_EQ(RunStep(ModemDiagnosticsStep), Titles{"Unable to test modems"});
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "No Modems Registered");
}

// The interactive tests open over the step and the step returns once they are closed.
TEST_F(ProblemChecksDevicesTest, DiagnosticStepsOpenTheirInteractiveTests)
{
    EXPECT_EQ(RunStepClosing(MonitorDiagnosticsStep, "#32770", "Video Tests"), Titles{});
    RunStepClosing(VideoCardDiagnosticsStep, "#32770", "Video Tests");
    for (auto step : {KeyboardDiagnosticsStep, SoundDiagnosticsStep}) {
        EXPECT_EQ(RunStep(step), Titles{});
        const char* title = step == KeyboardDiagnosticsStep ? "Keyboard Test" : "Sound Card Test";
        HWND test = FindProcessWindow(GetCurrentProcessId(), "#32770", title);
        EXPECT_NE(test, nullptr) << title;
        if (test) DestroyWindow(test);
    }
    EXPECT_EQ(RunStep(ScsiDiagnosticsStep), Titles{"SCSI not tested"});
}

// COM ports pointed at what the host has: COM1 the host's serial device, a device that
// opens but is no serial port (/dev/null), one that refuses to open (a folder), and ports
// the system does not have although the print spooler lists them.
TEST_F(ProblemChecksDevicesTest, PortsOpenEachListedComPortAndSkipThoseTheSystemLacks)
{
    const std::string dosdevices = std::string(getenv("HALVORN_RUN_DIR") ? getenv("HALVORN_RUN_DIR") : "") + "/prefix/dosdevices/";
    struct Unlink {
        std::string folder;
        ~Unlink() { RunHostCommand("rm -f " + folder + "com2 " + folder + "com3 " + folder + "com4"); }
    } unlink{dosdevices};
    for (int n = 0; n < 4; ++n) info_.comPresent[n] = 1;
    info_.lptPresent[0] = 1;
    info_.platform = 'N';
    EXPECT_EQ(RunStep(PortsConfigurationStep), Titles{});  // COM2..COM4 do not exist here
    EXPECT_EQ(RunStep(PortsDiagnosticsStep), Titles{});
    ASSERT_TRUE(RunHostCommand("ln -sfn /tmp " + dosdevices + "com2 && ln -sfn /dev/null " + dosdevices +
                               "com3 && ln -sfn /tmp " + dosdevices + "com4"));
    EXPECT_EQ(RunStep(PortsConfigurationStep), (Titles{"Port conflict possible", "Port conflict possible"}));
    EXPECT_EQ(RunStep(PortsDiagnosticsStep), (Titles{"Unable to test COM ports", "COM port error"}));
    info_.comPresent[1] = info_.comPresent[2] = 0;  // only what is listed is opened
    EXPECT_EQ(RunStep(PortsConfigurationStep), Titles{});
    EXPECT_EQ(RunStep(PortsDiagnosticsStep), Titles{"Unable to test COM ports"});
}

// A fixture Windows 95 machine's device tree, imported as a user would with regedit.
testing::AssertionResult ImportMachine(const char* name)
{
    const std::string file = __FILE__;
    PROCESS_INFORMATION regedit;
    if (!StartProcess("regedit.exe /S \"" + UnixToWindowsPath(file.substr(0, file.rfind("win/")) + "fixtures/machines/" + name + ".reg") + "\"", &regedit))
        return testing::AssertionFailure() << "regedit did not start";
    EndHelperProcess(&regedit, 30000);
    HKEY tree;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Enum\\Root", 0, KEY_READ, &tree) != ERROR_SUCCESS)
        return testing::AssertionFailure() << name << " was not imported";
    RegCloseKey(tree);
    return testing::AssertionSuccess();
}

// SCSI target ids come from the device tree: a machine with SCSI devices is checked for
// double buffering in msdos.sys on Windows 95, one without them has none found; without a
// tree nothing is claimed.
TEST_F(ProblemChecksDevicesTest, ScsiConfigurationReadsTargetIdsOfTheDeviceTree)
{
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, "Enum"},
                                       {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class\\Modem"},
                                       {HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\MediaResources\\joystick"}},
                                      {kMsdosSys}});
    WriteText(kMsdosSys, "[Options]\r\nBootGUI=1\r\nDoubleBuffer=1\r\n");
    info_.platform = '9';
    EXPECT_EQ(RunStep(ScsiConfigurationStep), Titles{});
    ASSERT_TRUE(ImportMachine("pentium_pci"));
    EXPECT_EQ(RunStep(ScsiConfigurationStep), Titles{"Double buffering enabled"});
    info_.platform = 'N';
    EXPECT_EQ(RunStep(ScsiConfigurationStep), Titles{});
    ASSERT_TRUE(ImportMachine("isa486"));
    EXPECT_EQ(RunStep(ScsiConfigurationStep), Titles{"No SCSI devices found"});
}

// On the plain prefix (not Windows 95, the equipment as the program detects it) no step
// that reads the machine reports a failure; the tests the user carries out are closed as
// soon as they show.
TEST_F(ProblemChecksDevicesTest, PlainPrefixShowsNoFailure)
{
    GetAllEquipment(nullptr);
    ASSERT_EQ(info_.platform, 'N');
    const MachinePicture before = TakeMachinePicture(TouchedParts());
    DWORD printers = 0;
    EnumPrintersCached(&printers);
    const struct { const char* name; StepHandler step; Titles expected; } steps[] = {
        {"CD-ROM 4", CdromConfigurationStep, {}},
        {"Mouse 4", MouseConfigurationStep, {}},
        {"Sound 4", SoundConfigurationStep, {}},
        {"Video Card 4", VideoCardConfigurationStep, {}},
        {"Ports 4", PortsConfigurationStep, {}},
        {"Ports 5", PortsDiagnosticsStep, {}},
        {"Printer 4", PrinterConfigurationStep, printers ? Titles{} : Titles{"No printer drivers installed"}},
        {"SCSI 4", ScsiConfigurationStep, {}},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.name);
        EXPECT_EQ(RunStep(s.step), s.expected);
    }
    BoxWatcher boxes(GetCurrentProcessId(), IDOK);
    EXPECT_EQ(RunStep(CdromDiagnosticsStep), Titles{});
    EXPECT_EQ(RunStepClosing(VideoCardDiagnosticsStep, "#32770", "Video Tests"), Titles{});
    EXPECT_EQ(RunStepClosing(MouseDiagnosticsStep, "MouseTests", nullptr), Titles{});
    EXPECT_EQ(DescribeDifferences(before, TakeMachinePicture(TouchedParts())), "");
}
