// The file, registry and configuration checks against the test's own prefix: start-up and
// profile fixture files written into C:\ and the Windows folder, VxD keys and a Windows 95
// machine imported with regedit, fixture drive F:. Every fixture is put back byte for byte,
// last-write time included, and the checks themselves must leave everything as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "checks/file_check_rules.h"
#include "checks/windows_checks.h"
#include "equipment/equipment_info.h"
#include "machine_state.h"
#include "platform/swap_file.h"
#include "resources/ids_checks.h"
#include "test_windows.h"
#include "ui/quick_help.h"
#include "wine_env.h"

namespace {

const std::string kFixtures =
    std::string(__FILE__).substr(0, std::string(__FILE__).rfind("win/")) + "fixtures/windows_checks/";

std::string WindowsFolder()
{
    char path[MAX_PATH] = {};
    GetWindowsDirectoryA(path, sizeof path);
    return path;
}

// A file as it was: absent, or its bytes, attributes and last-write time.
struct FileState {
    bool present = false;
    std::vector<unsigned char> bytes;
    DWORD attributes = 0;
    FILETIME written = {};
};

FileState ReadFileState(const std::string& path)
{
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return state;
    state.present = true;
    state.attributes = data.dwFileAttributes;
    state.written = data.ftLastWriteTime;
    ReadWholeFileBytes(path, &state.bytes);
    return state;
}

bool SameState(const FileState& a, const FileState& b)
{
    return a.present == b.present && a.bytes == b.bytes && a.attributes == b.attributes &&
           CompareFileTime(&a.written, &b.written) == 0;
}

// Keeps files as they were before the test and puts them back afterwards, byte for byte and
// with their attributes and last-write times; files the test added are deleted.
struct SavedFiles {
    explicit SavedFiles(std::vector<std::string> paths) : paths(std::move(paths))
    {
        for (const auto& path : this->paths) states[path] = ReadFileState(path);
    }
    ~SavedFiles()
    {
        for (const auto& path : paths) {
            const FileState& state = states[path];
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (!state.present) {
                DeleteFileA(path.c_str());
                continue;
            }
            WriteWholeFile(path, state.bytes.data(), state.bytes.size());
            HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file != INVALID_HANDLE_VALUE) {
                SetFileTime(file, nullptr, nullptr, &state.written);
                CloseHandle(file);
            }
            SetFileAttributesA(path.c_str(), state.attributes);
            EXPECT_TRUE(SameState(ReadFileState(path), state)) << path << " was not put back";
        }
    }
    std::vector<std::string> paths;
    std::map<std::string, FileState> states;
};

void CopyFixture(const std::string& name, const std::string& to)
{
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadWholeFileBytes(UnixToWindowsPath(kFixtures + name), &bytes)) << name;
    ASSERT_TRUE(WriteWholeFile(to, bytes.data(), bytes.size())) << to;
}

void ImportReg(const std::string& unixPath)
{
    PROCESS_INFORMATION regedit;
    if (StartProcess("regedit.exe /S \"" + UnixToWindowsPath(unixPath) + "\"", &regedit)) EndHelperProcess(&regedit, 30000);
}

// Points gEquipmentInfo at a record of the test's own, on the platform given.
struct OwnPlatform {
    explicit OwnPlatform(char platform) : saved(gEquipmentInfo)
    {
        info.platform = platform;
        gEquipmentInfo = &info;
    }
    ~OwnPlatform() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

// A report list to hand the checks: a hidden list box that keeps its strings.
struct ReportList {
    ReportList()
    {
        list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0, 400, 300, nullptr,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~ReportList() { DestroyWindow(list); }
    std::vector<std::string> Run(int (*check)(HWND))
    {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        const int count = check(list);
        std::vector<std::string> lines = ListBoxLines(list);
        EXPECT_EQ(count, int(lines.size()));
        return lines;
    }
    HWND list;
};

std::string TestLine(const std::string& label, bool passed)
{
    return "\x01" "C" + label + "\t\x01Y" + (passed ? "Passed" : "Failed");
}

// The lines from the one that begins with first up to (not including) the next empty line.
std::vector<std::string> Block(const std::vector<std::string>& lines, const std::string& first)
{
    std::vector<std::string> block;
    auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(first, 0) == 0; });
    for (; at != lines.end() && !at->empty(); ++at) block.push_back(*at);
    return block;
}

std::vector<std::string> StartupFixturePaths()
{
    const std::string windows = WindowsFolder();
    return {"C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT", "C:\\MSDOS.SYS",        "C:\\IO.SYS",
            windows + "\\WIN.COM", windows + "\\win.ini", windows + "\\system.ini", windows + "\\WIN386.SWP"};
}

void WriteStartupFixtures()
{
    const std::string windows = WindowsFolder();
    CopyFixture("CONFIG.SYS", "C:\\CONFIG.SYS");
    CopyFixture("AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT");
    CopyFixture("MSDOS.SYS", "C:\\MSDOS.SYS");
    CopyFixture("win.ini", windows + "\\win.ini");
    CopyFixture("system.ini", windows + "\\system.ini");
    ASSERT_TRUE(WriteWholeFile("C:\\IO.SYS", "IO", 2));
    ASSERT_TRUE(WriteWholeFile(windows + "\\WIN.COM", "WIN", 3));
}

const char kVxdKey[] = "System\\CurrentControlSet\\Services\\VxD";

}  // namespace

TEST(FileChecks, StartupFilesAndDriversReadTheFixtureFiles)
{
    SavedFiles saved(StartupFixturePaths());
    WriteStartupFixtures();
    OwnPlatform windows95('9');
    ReportList report;

    const auto drivers = report.Run(CheckRealModeDrivers);
    const std::vector<std::string> expectedDrivers = {
        "\x06\x01" "CReal-Mode Drivers in C:\\CONFIG.SYS",
        "\x01YDEVICE=C:\\WINDOWS\\HIMEM.SYS ",
        "\x01YDEVICEHIGH=C:\\SCANNER\\SCAN.EXE /PORT:378 ",
        "",
        "\x06\x01" "CReal-Mode Drivers in C:\\AUTOEXEC.BAT",
        "\x01YC:\\MOUSE\\MOUSE.COM ",
        "\x01YLH C:\\WINDOWS\\COMMAND\\MSCDEX.EXE /D:MSCD001 ",
    };
    EXPECT_EQ(drivers, expectedDrivers);

    const auto startup = report.Run(CheckStartupFiles);
    const std::vector<std::string> files = {
        "\x06\x01" "CStartup Files", TestLine("IO.SYS", true), TestLine("MSDOS.SYS", true), TestLine("COMMAND.COM", false),
        TestLine("CONFIG.SYS", true), TestLine("AUTOEXEC.BAT", true), TestLine("WIN.INI", true), TestLine("SYSTEM.INI", true)};
    EXPECT_EQ(Block(startup, "\x06\x01" "CStartup Files"), files);
    // 1023 bytes, WinBootDir pointing nowhere.
    const std::vector<std::string> msdos = {"\x06\x01" "CMSDOS.SYS", TestLine("File Size", false), TestLine("[paths]", true),
                                            TestLine("WinDir", true),    TestLine("WinBootDir", false), TestLine("HostWinBootDrv", true)};
    EXPECT_EQ(Block(startup, "\x06\x01" "CMSDOS.SYS"), msdos);
    const auto winIni = Block(startup, "\x06\x01" "CWIN.INI");
    ASSERT_EQ(winIni.size(), size_t(1 + kWinIniSectionCount));
    for (int i = 0; i < kWinIniSectionCount; ++i) {
        const std::string section = kWinIniSections[i];
        const bool inFixture = section == "[windows]" || section == "[Desktop]" || section == "[Intl]" ||
                               section == "[fonts]" || section == "[Compatibility32]";
        EXPECT_EQ(winIni[size_t(i) + 1], TestLine(section, inFixture));
    }
    const auto systemIni = Block(startup, "\x06\x01" "CSYSTEM.INI");
    ASSERT_EQ(systemIni.size(), size_t(1 + kSystemIniSectionCount));
    int passed = 0;
    for (const auto& line : systemIni) passed += line.find("Passed") != std::string::npos;
    EXPECT_EQ(passed, 3);

    // Without MSDOS.SYS the heading is followed at once by the next part's empty line.
    DeleteFileA("C:\\MSDOS.SYS");
    const auto without = report.Run(CheckStartupFiles);
    const auto heading = std::find(without.begin(), without.end(), "\x06\x01" "CMSDOS.SYS");
    ASSERT_NE(heading, without.end());
    EXPECT_EQ(*(heading + 1), "");
}

TEST(FileChecks, RegistryCountsTheClassesOfAWindows95Machine)
{
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, "Enum"}}, {}});
    ImportReg(std::string(__FILE__).substr(0, std::string(__FILE__).rfind("win/")) + "fixtures/machines/isa486.reg");
    OwnPlatform windows95('9');
    ReportList report;
    const auto lines = report.Run(CheckRegistry);
    std::vector<std::string> expected = {"\x06\x01" "CRegistry Classes"};
    for (const char* deviceClass : kRegistryClasses)
        expected.push_back(TestLine(deviceClass, strcmp(deviceClass, "Printer") != 0 && strcmp(deviceClass, "CDROM") != 0));
    EXPECT_EQ(lines, expected);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Enum");
}

TEST(FileChecks, StaticVxdsPassOnlyForBuiltInValues)
{
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, kVxdKey}}, {}});
    ImportReg(kFixtures + "vxd.reg");
    OwnPlatform windows95('9');
    ReportList report;
    const auto lines = report.Run(CheckStaticVxds);
    ASSERT_EQ(lines.size(), size_t(1 + kStaticVxdCount));
    std::vector<std::string> passed;
    for (const auto& line : lines)
        if (line.find("\t\x01YPassed") != std::string::npos) passed.push_back(line.substr(2, line.find('\t') - 2));
    // VFAT names a file, VSHARE holds a space, VTD has no StaticVxD value; the rest have no key.
    EXPECT_EQ(passed, (std::vector<std::string>{"IFSMGR", "IOS", "VCACHE"}));
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVxdKey);
}

TEST(FileChecks, RootDirectoryOfFixtureDriveF)
{
    // Entries of every kind, added for the test and removed after it.
    const std::vector<std::string> added = {"F:\\Mixed.txt", "F:\\A+B.TXT", "F:\\A long file name.text"};
    SavedFiles saved(added);
    for (const auto& path : added) ASSERT_TRUE(WriteWholeFile(path, "x", 1));
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA("F:\\*", &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);

    OwnPlatform windowsNt('N');  // the root directories are checked on every system
    ReportList report;
    const auto lines = report.Run(CheckRootDirectory);
    const auto drive = Block(lines, "\x06\x01" "CDrive F:");
    ASSERT_EQ(drive.size(), names.size() + 1);
    std::vector<std::string> listed;
    for (size_t i = 1; i < drive.size(); ++i) listed.push_back(drive[i].substr(2, drive[i].find('\t') - 2));
    EXPECT_EQ(listed, names);
    EXPECT_NE(std::find(drive.begin(), drive.end(), "\x01YA long file name.text\t\x01Y" "3"), drive.end());

    const auto at = std::find(lines.begin(), lines.end(), drive.back());
    ASSERT_GE(lines.end() - at, 12);
    const std::vector<std::string> table(at + 1, at + 12);
    EXPECT_EQ(table[2], "\x01" "C8.3 ALL CAPS\t\x01Y" + std::to_string(names.size() - 3) + "\t\x01Y" +
                            std::to_string(names.size() - 3));
    EXPECT_EQ(table[3], "\x01" "C8.3 Mixed Case\t\x01Y" "1\t\x01Y" "2");
    EXPECT_EQ(table[4], "\x01" "C8.3 Special Characters\t\x01Y" "1\t\x01Y" "2");
    EXPECT_EQ(table[5], "\x01" "CLong File Names < 22\t\x01Y" "1\t\x01Y" "3");
    EXPECT_EQ(table[9], "\x01" "CTOTAL\t\x01Y" + std::to_string(names.size()) + "\t\x01Y" + std::to_string(names.size() + 4));
    // Drive A: (removable) and E: (CD-ROM) are no fixed drives.
    EXPECT_EQ(std::find(lines.begin(), lines.end(), "\x06\x01" "CDrive E:\t\x06\x01" "CDirectory Entries"), lines.end());
}

TEST(FileChecks, MemoryFindsTheSwapFile)
{
    const std::string swapPath = WindowsFolder() + "\\WIN386.SWP";
    SavedFiles saved({swapPath});
    ReportList report;
    const auto lines = report.Run(CheckMemory);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[1], TestLine("Available", true));
    EXPECT_EQ(lines[2], TestLine("Size Check", true));
    EXPECT_EQ(lines[3], TestLine("Allocation Check", true));
    EXPECT_EQ(lines[8], "\x01" "CSwap Drive\t\x01Y" + WindowsFolder().substr(0, 2));

    const std::vector<char> bytes(70000, 'S');
    ASSERT_TRUE(WriteWholeFile(swapPath, bytes.data(), bytes.size()));
    const auto withSwap = report.Run(CheckMemory);
    EXPECT_EQ(withSwap[6], TestLine("Swap File Check", true));
    EXPECT_EQ(withSwap[7], "\x01" "CCurrent Swap File Size\t\x01Y" "70,000");

    struct Case {
        const char *entry, *path;
    } cases[] = {{"C:\\pagefile.sys 1024 2048", "C:\\pagefile.sys"},
                 {"?:\\pagefile.sys", "?:\\pagefile.sys"},
                 {"D:\\swap files\\page.sys 0 0", "D:\\swap files\\page.sys"},
                 {"  ", ""}};
    for (const Case& c : cases) {
        char path[MAX_PATH];
        EXPECT_EQ(PagingFilePath(c.entry, path, sizeof path), c.path[0] != '\0') << c.entry;
        EXPECT_STREQ(path, c.path) << c.entry;
    }
}

TEST(FileChecks, Windows95ChecksDoNotApplyElsewhere)
{
    OwnPlatform windowsNt('N');
    ReportList report;
    for (int (*check)(HWND) : {CheckSystemFiles, CheckDirectoryTree, CheckRegistry, CheckStaticVxds,
                               CheckRealModeDrivers, CheckStartupFiles}) {
        const auto lines = report.Run(check);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], std::string("\x03") + kDoesNotApply);
    }
    // The help texts are in the program's resources, and those of the six explain the line.
    for (UINT id : {IDR_HELP_CHECK_SYSTEM_FILES, IDR_HELP_CHECK_DIRECTORIES, IDR_HELP_CHECK_REGISTRY,
                    IDR_HELP_CHECK_STARTUP_FILES, IDR_HELP_CHECK_VXDS, IDR_HELP_CHECK_DRIVERS})
        EXPECT_NE(HelpTextResource(id).find(kDoesNotApply), std::string::npos) << id;
    for (UINT id : {IDR_HELP_CHECK_ROOT_DIRECTORIES, IDR_HELP_CHECK_MEMORY})
        EXPECT_EQ(HelpTextResource(id).rfind("OVERVIEW", 0), 0u) << id;
}

// Every check only reads: with the fixtures in place, the files, their last-write times, the
// registry keys the checks open and the current directory are the same after a run of all
// eight as before it.
TEST(FileChecks, ChecksChangeNothing)
{
    std::vector<std::string> paths = StartupFixturePaths();
    SavedFiles saved(paths);
    WriteStartupFixtures();
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, kVxdKey}, {HKEY_LOCAL_MACHINE, "Enum"}}, {}});
    ImportReg(kFixtures + "vxd.reg");
    std::map<std::string, FileState> before;
    for (const auto& path : paths) before[path] = ReadFileState(path);
    for (const char* root : {"F:\\WALKF.HVW", "G:\\"}) before[root] = ReadFileState(root);
    const MachinePicture registry = TakeMachinePicture(machine.parts);
    // A folder no check would choose, so a check that moves the current directory shows; the
    // test's own current directory is put back at the end.
    char original[MAX_PATH];
    GetCurrentDirectoryA(sizeof original, original);
    ASSERT_TRUE(SetCurrentDirectoryA((WindowsFolder() + "\\Fonts").c_str()));
    char directory[MAX_PATH];
    GetCurrentDirectoryA(sizeof directory, directory);

    OwnPlatform windows95('9');
    ReportList report;
    for (int (*check)(HWND) : {CheckSystemFiles, CheckDirectoryTree, CheckRegistry, CheckStaticVxds, CheckRootDirectory,
                               CheckMemory, CheckRealModeDrivers, CheckStartupFiles})
        EXPECT_GT(report.Run(check).size(), 2u);

    for (const auto& entry : before) EXPECT_TRUE(SameState(ReadFileState(entry.first), entry.second)) << entry.first;
    EXPECT_EQ(DescribeDifferences(registry, TakeMachinePicture(machine.parts)), "");
    char after[MAX_PATH];
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(after, directory);
    SetCurrentDirectoryA(original);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kVxdKey);
}
