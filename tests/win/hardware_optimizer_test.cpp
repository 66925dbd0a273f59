// The hardware optimizer against the registry and files of the harness's prefix, made into a
// Windows 95 machine for each test (the device tree and file-system keys of a fixture .reg,
// fixture system.ini, win.ini and c:\msdos.sys) and put back as it was afterwards, also when
// a test fails. Every check compares a picture of every value under the touched keys and of
// the files, byte for byte, before and after a button.
#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "app/confirm_boost.h"
#include "box_watcher.h"
#include "equipment/equipment_info.h"
#include "equipment/spooler.h"
#include "hardware/hardware_optimizer.h"
#include "machine_state.h"
#include "shared_test_steps.h"
#include "resources/ids_hardware.h"
#include "resources/ids_main.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

const char kFileSystem[] = "System\\CurrentControlSet\\control\\FileSystem";
const char kCdfs[] = "System\\CurrentControlSet\\control\\FileSystem\\CDFS";
const char kCdromService[] = "SYSTEM\\CurrentControlSet\\Services\\Cdrom";
const char kPrinters[] = "System\\CurrentControlSet\\control\\Print\\Printers";
const char kUserWindows[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kCdromWithValue[] = "Enum\\SCSI\\NEC_____CD-ROM_DRIVE:5001\\ROOT&*PNPA000&0000&30";

MachineParts TouchedParts()
{
    return MachineParts{{{HKEY_LOCAL_MACHINE, "Enum"},
                         {HKEY_LOCAL_MACHINE, kFileSystem},
                         {HKEY_LOCAL_MACHINE, kCdromService},
                         {HKEY_LOCAL_MACHINE, kPrinters},
                         {HKEY_CURRENT_USER, kUserWindows}},
                        {WindowsFile("system.ini"), WindowsFile("win.ini"), kMsdosSys}};
}

// Where this system keeps the [windows] section of win.ini: in the registry when the
// profile is mapped there (Wine and the NT family map it), otherwise in the file.
bool WindowsSectionIsMapped()
{
    const char kMapping[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\IniFileMapping\\win.ini";
    HKEY section;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kMapping) + "\\windows").c_str(), 0, KEY_READ, &section) ==
        ERROR_SUCCESS) {
        RegCloseKey(section);
        return true;
    }
    return RegGetValueA(HKEY_LOCAL_MACHINE, kMapping, "windows", RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

// One expected change to the picture taken before a button: a registry value set, or text
// replaced in a file.
struct Change {
    HKEY root;
    std::string key, name;
    DWORD type;
    std::vector<unsigned char> bytes;
    std::string file, from, to;  // file changes
};

Change Value(HKEY root, const std::string& key, const char* name, DWORD type, std::vector<unsigned char> bytes)
{
    return Change{root, key, name, type, std::move(bytes), "", "", ""};
}
Change Binary(const std::string& key, const char* name, std::vector<unsigned char> bytes)
{
    return Value(HKEY_LOCAL_MACHINE, key, name, REG_BINARY, std::move(bytes));
}
Change Text(const std::string& file, const char* from, const char* to)
{
    return Change{nullptr, "", "", 0, {}, file, from, to};
}

MachinePicture Expected(MachinePicture picture, const std::vector<Change>& changes)
{
    for (const Change& c : changes) {
        if (!c.root) {
            MachineEntry& file = picture[FileId(c.file)];
            std::string text(file.bytes.begin(), file.bytes.end());
            const size_t at = text.find(c.from);
            if (at == std::string::npos) {
                ADD_FAILURE() << c.file << " has no \"" << c.from << "\" to change";
                continue;
            }
            text.replace(at, c.from.size(), c.to);
            file.bytes.assign(text.begin(), text.end());
            continue;
        }
        MachineEntry value;
        value.root = c.root;
        value.path = c.key;
        value.name = c.name;
        value.type = c.type;
        value.bytes = c.bytes;
        picture[RegistryValueId(c.root, c.key, c.name)] = value;
    }
    return picture;
}

// Answers this process's "Boosting" dialog, once it shows, with one command, after reading
// its text; gives up when told to stop.
struct BoostingAnswer {
    WPARAM command;
    volatile LONG stop = 0;
    bool seen = false;
    std::string text;
    static DWORD WINAPI Run(LPVOID self)
    {
        BoostingAnswer* answer = static_cast<BoostingAnswer*>(self);
        while (!answer->stop) {
            HWND dialog = FindProcessWindow(GetCurrentProcessId(), "#32770", "Boosting");
            if (dialog && IsWindowVisible(dialog)) {
                answer->text = WindowText(GetDlgItem(dialog, IDC_BOOST_TEXT));
                answer->seen = true;
                PostMessageA(dialog, WM_COMMAND, answer->command, 0);
                return 0;
            }
            Sleep(20);
        }
        return 0;
    }
};

// Waits for a thread of this test while this thread's windows keep answering: the thread
// may be reading one of their titles.
void JoinPumping(HANDLE thread)
{
    WaitUntil([&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; }, 10000, true);
    CloseHandle(thread);
}

// Reboot's seam: records each call and whether the shutdown privilege was held then.
struct ExitCall {
    UINT flags;
    bool privilegeHeld;
};
std::vector<ExitCall> gExitCalls;
BOOL gExitAnswer = FALSE;

bool ShutdownPrivilegeEnabled()
{
    HANDLE token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
    LUID shutdown;
    LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &shutdown);
    BYTE buffer[4096];
    DWORD size = 0;
    bool enabled = false;
    if (GetTokenInformation(token, TokenPrivileges, buffer, sizeof buffer, &size)) {
        const TOKEN_PRIVILEGES* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer);
        for (DWORD i = 0; i < privileges->PrivilegeCount; ++i)
            if (privileges->Privileges[i].Luid.LowPart == shutdown.LowPart &&
                privileges->Privileges[i].Luid.HighPart == shutdown.HighPart)
                enabled = (privileges->Privileges[i].Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    CloseHandle(token);
    return enabled;
}

BOOL WINAPI RecordExit(UINT flags, DWORD)
{
    gExitCalls.push_back({flags, ShutdownPrivilegeEnabled()});
    if (!gExitAnswer) SetLastError(ERROR_ACCESS_DENIED);
    return gExitAnswer;
}

// The optimizer dialog in this process on a machine of the test's own: the Windows 95
// fixture in place (unless told otherwise), the flags cleared, Reboot unable to restart.
class OptimizerTest : public testing::Test {
protected:
    explicit OptimizerTest(char platform = '9')
    {
        // The spooler may bring its printer list up to date in the registry when first
        // loaded: that happens now, before the picture, not during a button.
        DWORD printers = 0;
        EnumPrintersCached(&printers);
        saved_ = std::make_unique<SavedMachine>(TouchedParts());
        info_.platform = platform;
        info_.physicalMemory = 10000000;
        savedInfo_ = gEquipmentInfo;
        gEquipmentInfo = &info_;
        savedInstance_ = gInstance;
        gInstance = GetModuleHandleA(nullptr);
        savedExit_ = OptimizerExitWindows;
        OptimizerExitWindows = RecordExit;
        gOptimizerFlags = {};
    }
    ~OptimizerTest() override
    {
        if (dialog_) DestroyWindow(dialog_);
        gOptimizerFlags = {};
        OptimizerExitWindows = savedExit_;
        gInstance = savedInstance_;
        gEquipmentInfo = savedInfo_;
        saved_.reset();  // the machine as it was before the test
    }
    void SetUp() override
    {
        ASSERT_TRUE(PlaceOptimizerFixture());
        OpenDialog();
    }
    void OpenDialog()
    {
        if (dialog_) DestroyWindow(dialog_);
        dialog_ = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_HARDWARE_OPTIMIZER), nullptr,
                                     HardwareOptimizerDlgProc, reinterpret_cast<LPARAM>(ConfirmBoost));
        ASSERT_NE(dialog_, nullptr);
        ShowWindow(dialog_, SW_SHOWNORMAL);
    }
    // Presses a button; "Boosting", if it shows, is answered with command (IDOK is Boost).
    // Returns the proposed changes it showed, or "<none>".
    std::string Press(int id, WPARAM command = IDOK)
    {
        BoostingAnswer answer{command};
        HANDLE thread = CreateThread(nullptr, 0, BoostingAnswer::Run, &answer, 0, nullptr);
        SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dialog_, id)));
        InterlockedExchange(&answer.stop, 1);
        JoinPumping(thread);
        return answer.seen ? answer.text : "<none>";
    }
    bool RestartShown()
    {
        const bool note = IsWindowEnabled(GetDlgItem(dialog_, IDC_OPTIMIZE_NOTE)) != 0;
        EXPECT_EQ(note, IsWindowEnabled(GetDlgItem(dialog_, IDC_OPTIMIZE_REBOOT)) != 0);
        return note;
    }
    MachinePicture Picture() { return TakeMachinePicture(TouchedParts()); }

    HWND dialog_ = nullptr;
    EquipmentInfo info_ = {};

private:
    std::unique_ptr<SavedMachine> saved_;
    EquipmentInfo* savedInfo_ = nullptr;
    HINSTANCE savedInstance_ = nullptr;
    BOOL(WINAPI* savedExit_)(UINT, DWORD) = nullptr;
};

struct OptimizerElsewhereTest : OptimizerTest {
    OptimizerElsewhereTest() : OptimizerTest('N') {}
};

struct ButtonCase {
    const char* label;
    int id;
    std::vector<Change> changes;
};

}  // namespace

TEST_F(OptimizerTest, CancelWritesNothingAndTheButtonStaysUsable)
{
    BoxWatcher boxes;
    const MachinePicture before = Picture();
    for (int id = IDC_OPTIMIZE_CPU; id <= IDC_OPTIMIZE_VIDEO; ++id) {
        SCOPED_TRACE(testing::Message() << "button " << id);
        for (WPARAM command : {WPARAM(IDCANCEL), WPARAM(IDCANCEL)}) {  // asked again after a Cancel
            const std::string text = Press(id, command);
            EXPECT_EQ(text.compare(0, 2, "+ "), 0) << text;
        }
        EXPECT_EQ(DescribeDifferences(before, Picture()), "");
    }
    EXPECT_EQ(GetFileAttributesA(kMsdosSys) & kBootFileAttributes, kBootFileAttributes);
    EXPECT_FALSE(RestartShown());
    EXPECT_TRUE(boxes.Boxes().empty());
    for (bool done : gOptimizerFlags.done) EXPECT_FALSE(done);
}

// Boost on each button writes exactly its settings (the CD-ROM values for 10,000,000 bytes
// of memory), and a second press says so and writes nothing. Memory first: the restart is
// offered although nothing was written.
TEST_F(OptimizerTest, BoostWritesExactlyTheListedSettingsOnce)
{
    const std::string systemIni = WindowsFile("system.ini"), winIni = WindowsFile("win.ini");
    const Change safeMode = WindowsSectionIsMapped()
                                ? Value(HKEY_CURRENT_USER, kUserWindows, "SafeMode", REG_SZ, {'0', 0})
                                : Text(winIni, "run=\r\n", "run=\r\nSafeMode=0\r\n");
    const ButtonCase cases[] = {
        {"Memory", IDC_OPTIMIZE_MEMORY, {}},
        {"CPU",
         IDC_OPTIMIZE_CPU,
         {Binary(kCdromWithValue, "AutoInsertNotification", {0}), Text(kMsdosSys, "BootDelay=2", "BootDelay=0"),
          Text(systemIni, "MinTimeSlice=20", "MinTimeSlice=30"),
          Text(systemIni, "device=*vpicd\r\n", "device=*vpicd\r\nKeyBoostTime=0.1\r\n"),
          Text(systemIni, "WindowUpdateTime=50\r\n", "WindowUpdateTime=400\r\n")}},
        {"CD-ROM",
         IDC_OPTIMIZE_CDROM,
         {Binary(kCdfs, "CacheSize", {0x39, 0x01, 0, 0}), Binary(kCdfs, "Prefetch", {114, 0, 0, 0}),
          Binary(kCdfs, "PrefetchTail", {64, 0, 0, 0})}},
        {"Hard Disk",
         IDC_OPTIMIZE_HARD_DISK,
         {Binary(kFileSystem, "NameCache", {64, 0, 0, 0}), Binary(kFileSystem, "PathCache", {0xA9, 0x0A, 0, 0}),
          Binary(kFileSystem, "ReadAheadThreshhold", {0, 0, 1, 0}), Binary(kFileSystem, "Win31FileSystem", {0}),
          Binary(kFileSystem, "AsyncFileCommit", {0}), Binary(kFileSystem, "LastBootPMDrvs", {1})}},
        {"Modem",
         IDC_OPTIMIZE_MODEM,
         {Text(systemIni, "MinTimeSlice=30", "MinTimeSlice=5"),
          Text(systemIni, "KeyBoostTime=0.1\r\n", "KeyBoostTime=0.1\r\nComBoostTime=150\r\n")}},
        // The harness's printers are on ports of the print server, not parallel ports.
        {"Printer", IDC_OPTIMIZE_PRINTER, {}},
        {"Video",
         IDC_OPTIMIZE_VIDEO,
         {Text(winIni, "SWCursor=1", "SWCursor=0"), safeMode,
          Text(systemIni, "WindowUpdateTime=400", "WindowUpdateTime=100")}},
    };
    EXPECT_FALSE(RestartShown());
    for (const ButtonCase& c : cases) {
        SCOPED_TRACE(c.label);
        BoxWatcher boxes;
        const MachinePicture before = Picture();
        const std::string proposal = Press(c.id);
        EXPECT_NE(proposal, "<none>");
        EXPECT_EQ(DescribeDifferences(Expected(before, c.changes), Picture()), "");
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].text;
        EXPECT_TRUE(gOptimizerFlags.done[c.id - IDC_OPTIMIZE_CPU]);
        if (c.id == IDC_OPTIMIZE_MEMORY) {
            EXPECT_TRUE(RestartShown());
            ASSERT_TRUE(WaitUntilDrawn(dialog_));
            SaveScreenshot("hardware-optimizer");
        }
        EXPECT_EQ(GetFileAttributesA(kMsdosSys) & kBootFileAttributes, kBootFileAttributes);

        const MachinePicture boosted = Picture();
        EXPECT_EQ(Press(c.id), "<none>");
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("No further optimization possible", 5000, &box));
        EXPECT_EQ(box.text, kOptimizedAlreadyTexts[c.id - IDC_OPTIMIZE_CPU]);
        EXPECT_EQ(DescribeDifferences(boosted, Picture()), "");
    }
    // Closed and opened again, the dialog keeps the flags.
    OpenDialog();
    EXPECT_TRUE(RestartShown());
    BoxWatcher boxes;
    EXPECT_EQ(Press(IDC_OPTIMIZE_CPU), "<none>");
    EXPECT_TRUE(boxes.WaitForBox("No further optimization possible", 5000));
}

// A write that fails is named, the other settings are still written, and only the button
// that wrote everything counts as done; files that are not there are never made.
TEST_F(OptimizerTest, FailedWritesAreNamedAndTheButtonStaysAvailable)
{
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCdfs), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kCdfs);
    SetFileAttributesA(kMsdosSys, FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(DeleteFileA(kMsdosSys));
    const MachinePicture before = Picture();
    {
        BoxWatcher boxes;
        Press(IDC_OPTIMIZE_CDROM);
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Error!", 5000, &box));
        for (const char* name : {"CDFS: CacheSize", "CDFS: Prefetch\r", "CDFS: PrefetchTail"})
            EXPECT_NE(box.text.find(name), std::string::npos) << name << " in " << box.text;
        EXPECT_EQ(DescribeDifferences(before, Picture()), "");
        EXPECT_FALSE(gOptimizerFlags.done[kOptimizeCdrom]);
        EXPECT_FALSE(RestartShown());  // nothing was written
        EXPECT_NE(Press(IDC_OPTIMIZE_CDROM, IDCANCEL), "<none>");  // still offered
    }
    {
        BoxWatcher boxes;
        const MachinePicture cpuBefore = Picture();
        Press(IDC_OPTIMIZE_CPU);
        SeenBox box;
        ASSERT_TRUE(boxes.WaitForBox("Error!", 5000, &box));
        EXPECT_NE(box.text.find("c:\\msdos.sys [Options]: BootDelay"), std::string::npos) << box.text;
        EXPECT_EQ(box.text.find("system.ini"), std::string::npos) << box.text;
        EXPECT_EQ(GetFileAttributesA(kMsdosSys), INVALID_FILE_ATTRIBUTES);  // not created
        const std::string systemIni = WindowsFile("system.ini");
        EXPECT_EQ(DescribeDifferences(Expected(cpuBefore, {Binary(kCdromWithValue, "AutoInsertNotification", {0}),
                                                           Text(systemIni, "MinTimeSlice=20", "MinTimeSlice=30"),
                                                           Text(systemIni, "device=*vpicd\r\n",
                                                                "device=*vpicd\r\nKeyBoostTime=0.1\r\n"),
                                                           Text(systemIni, "WindowUpdateTime=50\r\n",
                                                                "WindowUpdateTime=400\r\n")}),
                                      Picture()),
                  "");
        EXPECT_FALSE(gOptimizerFlags.done[kOptimizeCpu]);
        EXPECT_TRUE(RestartShown());  // the other settings were written
    }
}

// On the systems since Windows 95 only the CD-ROM service's Autorun value (where the key
// is there) is written; the files and the Windows 95 keys stay as they are, and the
// proposals say which settings this version does not use.
TEST_F(OptimizerElsewhereTest, OnlyTheEquivalentsAreWritten)
{
    HKEY service;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kCdromService, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &service,
                              nullptr),
              ERROR_SUCCESS);
    const DWORD on = 1;
    RegSetValueExA(service, "Autorun", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&on), sizeof on);
    RegCloseKey(service);
    BoxWatcher boxes;
    for (int id = IDC_OPTIMIZE_CPU; id <= IDC_OPTIMIZE_VIDEO; ++id) {
        SCOPED_TRACE(testing::Message() << "button " << id);
        const MachinePicture before = Picture();
        EXPECT_NE(Press(id), "<none>");
        std::vector<Change> changes;
        if (id == IDC_OPTIMIZE_CPU)
            changes.push_back(Value(HKEY_LOCAL_MACHINE, kCdromService, "Autorun", REG_DWORD, {0, 0, 0, 0}));
        EXPECT_EQ(DescribeDifferences(Expected(before, changes), Picture()), "");
        EXPECT_TRUE(gOptimizerFlags.done[id - IDC_OPTIMIZE_CPU]);
    }
    EXPECT_EQ(GetFileAttributesA(kMsdosSys) & kBootFileAttributes, kBootFileAttributes);
    EXPECT_TRUE(boxes.Boxes().empty());

    // An Autorun value of another type keeps its type and is named; without the key there
    // is nothing to change and nothing is made.
    gOptimizerFlags = {};
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kCdromService, "Autorun", REG_SZ, "1", 2);
    MachinePicture before = Picture();
    Press(IDC_OPTIMIZE_CPU);
    SeenBox box;
    ASSERT_TRUE(boxes.WaitForBox("Error!", 5000, &box));
    EXPECT_NE(box.text.find("Services\\Cdrom: Autorun"), std::string::npos) << box.text;
    EXPECT_EQ(DescribeDifferences(before, Picture()), "");
    ASSERT_EQ(RegDeleteTreeA(HKEY_LOCAL_MACHINE, kCdromService), ERROR_SUCCESS);
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kCdromService);
    before = Picture();
    Press(IDC_OPTIMIZE_CPU);
    EXPECT_EQ(DescribeDifferences(before, Picture()), "");
    EXPECT_TRUE(gOptimizerFlags.done[kOptimizeCpu]);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
}

TEST_F(OptimizerTest, RebootTakesTheShutdownPrivilegeFirstAndReportsAFailure)
{
    // The privilege off, so that the press has to take it.
    HANDLE token;
    ASSERT_TRUE(OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token));
    TOKEN_PRIVILEGES off = {};
    off.PrivilegeCount = 1;
    LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &off.Privileges[0].Luid);
    AdjustTokenPrivileges(token, FALSE, &off, 0, nullptr, nullptr);
    CloseHandle(token);
    ASSERT_FALSE(ShutdownPrivilegeEnabled());

    Press(IDC_OPTIMIZE_MEMORY);
    ASSERT_TRUE(RestartShown());
    gExitCalls.clear();
    for (BOOL answer : {FALSE, TRUE}) {
        SCOPED_TRACE(answer ? "restart accepted" : "restart refused");
        gExitAnswer = answer;
        BoxWatcher boxes;
        Press(IDC_OPTIMIZE_REBOOT);
        ASSERT_EQ(gExitCalls.size(), answer ? 2u : 1u);
        EXPECT_EQ(gExitCalls.back().flags, UINT(EWX_REBOOT));
        EXPECT_TRUE(gExitCalls.back().privilegeHeld);
        SeenBox box;
        if (!answer) {
            ASSERT_TRUE(boxes.WaitForBox("Reboot", 5000, &box));
            EXPECT_NE(box.text.find("Windows could not be restarted (error 5)"), std::string::npos) << box.text;
        } else {
            PumpMessagesFor(200);
            EXPECT_TRUE(boxes.Boxes().empty());
        }
    }
    BoxWatcher boxes;
    SendMessageA(dialog_, WM_CONTEXTMENU, WPARAM(dialog_), MAKELPARAM(10, 10));
    EXPECT_TRUE(boxes.WaitForBox("Help", 5000));  // topic 29044 asked of a help file that is not there
}

// Printers: a parallel-port printer with the shared bit, and one that prints to a file,
// added to the spooler; a helper process (whose printer list is read after they were added)
// presses Printer, as Windows 95 or as a later system.
namespace {

void RunPrinterButton(char platform)
{
    EquipmentInfo info = {};
    info.platform = platform;
    gEquipmentInfo = &info;
    gInstance = GetModuleHandleA(nullptr);
    HWND dialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_HARDWARE_OPTIMIZER), nullptr,
                                     HardwareOptimizerDlgProc, reinterpret_cast<LPARAM>(ConfirmBoost));
    ASSERT_NE(dialog, nullptr);
    BoxWatcher boxes;
    BoostingAnswer answer{IDOK};
    HANDLE thread = CreateThread(nullptr, 0, BoostingAnswer::Run, &answer, 0, nullptr);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDC_OPTIMIZE_PRINTER, BN_CLICKED), 0);
    InterlockedExchange(&answer.stop, 1);
    JoinPumping(thread);
    EXPECT_TRUE(answer.seen);
    EXPECT_TRUE(gOptimizerFlags.done[kOptimizePrinter]);
    EXPECT_TRUE(gOptimizerFlags.restartNeeded);
    for (const SeenBox& box : boxes.Boxes()) ADD_FAILURE() << box.caption << ": " << box.text;
    DestroyWindow(dialog);
}

using AddPrinterFn = HANDLE(WINAPI*)(LPSTR, DWORD, LPBYTE);
using OpenPrinterFn = BOOL(WINAPI*)(LPSTR, LPHANDLE, LPPRINTER_DEFAULTSA);
using PrinterHandleFn = BOOL(WINAPI*)(HANDLE);

// Test printers in the spooler for the object's lifetime.
struct TestPrinters {
    HMODULE spooler = LoadLibraryA("winspool.drv");
    std::vector<std::string> names;
    template <typename Fn>
    Fn Entry(const char* name)
    {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(spooler, name)));
    }
    bool Add(const char* name, const char* port, const char* driver)
    {
        PRINTER_INFO_2A printer = {};
        printer.pPrinterName = const_cast<char*>(name);
        printer.pPortName = const_cast<char*>(port);
        printer.pDriverName = const_cast<char*>(driver);
        printer.pPrintProcessor = const_cast<char*>("WinPrint");
        printer.pDatatype = const_cast<char*>("RAW");
        printer.pShareName = const_cast<char*>(name);
        printer.Attributes = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_DIRECT;
        HANDLE added = Entry<AddPrinterFn>("AddPrinterA")(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
        if (!added) return false;
        names.push_back(name);
        Entry<PrinterHandleFn>("ClosePrinter")(added);
        return true;
    }
    ~TestPrinters()
    {
        for (const std::string& name : names) {
            PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
            HANDLE printer;
            if (!Entry<OpenPrinterFn>("OpenPrinterA")(const_cast<char*>(name.c_str()), &printer, &access)) continue;
            Entry<PrinterHandleFn>("DeletePrinter")(printer);
            Entry<PrinterHandleFn>("ClosePrinter")(printer);
        }
    }
};

}  // namespace

TEST(OptimizerPrinterHelper, DISABLED_Windows95)
{
    RunPrinterButton('9');
}

TEST(OptimizerPrinterHelper, DISABLED_OtherWindows)
{
    RunPrinterButton('N');
}

TEST(HardwareOptimizer, ParallelPortPrinterKeepsItsSharedBit)
{
    DWORD count = 0;
    const PRINTER_INFO_2A* printers = EnumPrintersCached(&count);
    if (count == 0) GTEST_SKIP() << "no print server in this run: no printer driver to add test printers with";
    const std::string driver = printers[0].pDriverName;
    const std::string lpt = std::string(kPrinters) + "\\Optimizer LPT";
    const std::string file = std::string(kPrinters) + "\\Optimizer File";
    const MachineParts parts{{{HKEY_LOCAL_MACHINE, lpt}, {HKEY_LOCAL_MACHINE, file}}, {}};
    // Adding a printer also lists it in the user's device and port lists.
    const std::string userLists = "Software\\Microsoft\\Windows NT\\CurrentVersion\\";
    SavedMachine saved(MachineParts{{{HKEY_LOCAL_MACHINE, kPrinters},
                                     {HKEY_CURRENT_USER, userLists + "Devices"},
                                     {HKEY_CURRENT_USER, userLists + "PrinterPorts"},
                                     {HKEY_CURRENT_USER, kUserWindows}},
                                    {}});
    TestPrinters added;
    ASSERT_TRUE(added.Add("Optimizer LPT", "LPT1:", driver.c_str()));
    ASSERT_TRUE(added.Add("Optimizer File", "FILE:", driver.c_str()));
    const DWORD kBefore = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_DIRECT;
    const DWORD kAfter = PRINTER_ATTRIBUTE_LOCAL | PRINTER_ATTRIBUTE_SHARED | PRINTER_ATTRIBUTE_QUEUED;
    const struct {
        const char* helper;
        std::vector<Change> changes;
    } cases[] = {
        {"OptimizerPrinterHelper.DISABLED_Windows95",
         {Value(HKEY_LOCAL_MACHINE, lpt, "Attributes", REG_DWORD, {BYTE(kAfter), 0, 0, 0}),
          Value(HKEY_LOCAL_MACHINE, lpt, "Datatype", REG_SZ, {'E', 'M', 'F', 0})}},
        {"OptimizerPrinterHelper.DISABLED_OtherWindows",
         {Value(HKEY_LOCAL_MACHINE, lpt, "Attributes", REG_DWORD, {BYTE(kAfter), 0, 0, 0})}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.helper);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, lpt.c_str(), "Attributes", REG_DWORD, &kBefore, sizeof kBefore);
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, lpt.c_str(), "Datatype", REG_SZ, "RAW", 4);
        const MachinePicture before = TakeMachinePicture(parts);
        PROCESS_INFORMATION helper = StartHelperTest(c.helper);
        DWORD exitCode = 99;
        EXPECT_EQ(WaitForSingleObject(helper.hProcess, 60000), WAIT_OBJECT_0);
        GetExitCodeProcess(helper.hProcess, &exitCode);
        EndHelperProcess(&helper);
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(DescribeDifferences(Expected(before, c.changes), TakeMachinePicture(parts)), "");
    }
}
