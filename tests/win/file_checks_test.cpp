// The file, registry and configuration checks against the test's own prefix: start-up and
// profile fixture files written into C:\ and the Windows folder, VxD keys and a Windows 95
// machine imported with regedit, fixture drive F:. Every file and key is put back afterwards,
// and no check of the catalogue may change any of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "check_test_steps.h"
#include "checks/file_check_rules.h"
#include "checks/windows_checks.h"
#include "machine_state.h"
#include "platform/swap_file.h"

namespace {

const std::string kFixtures =
    std::string(__FILE__).substr(0, std::string(__FILE__).rfind("win/")) + "fixtures/";

void CopyFixture(const std::string& name, const std::string& to)
{
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadWholeFileBytes(UnixToWindowsPath(kFixtures + "windows_checks/" + name), &bytes)) << name;
    ASSERT_TRUE(WriteWholeFile(to, bytes.data(), bytes.size())) << to;
}

void ImportReg(const std::string& unixPath)
{
    PROCESS_INFORMATION regedit;
    if (StartProcess("regedit.exe /S \"" + UnixToWindowsPath(unixPath) + "\"", &regedit)) EndHelperProcess(&regedit, 30000);
}

// The lines from the one that begins with first up to (not including) the next empty line.
std::vector<std::string> Block(const std::vector<std::string>& lines, const std::string& first)
{
    std::vector<std::string> block;
    auto at = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) { return l.rfind(first, 0) == 0; });
    for (; at != lines.end() && !at->empty(); ++at) block.push_back(*at);
    return block;
}

int PassedCount(const std::vector<std::string>& lines)
{
    return int(std::count_if(lines.begin(), lines.end(), [](const std::string& l) { return Plain(l).find("\tPassed") != std::string::npos; }));
}

std::vector<std::string> StartupFixturePaths()
{
    return {"C:\\CONFIG.SYS", "C:\\AUTOEXEC.BAT", "C:\\MSDOS.SYS", "C:\\IO.SYS", WindowsFile("WIN.COM"),
            WindowsFile("win.ini"), WindowsFile("system.ini")};
}

void WriteStartupFixtures()
{
    for (const char* name : {"CONFIG.SYS", "AUTOEXEC.BAT", "MSDOS.SYS"}) CopyFixture(name, std::string("C:\\") + name);
    CopyFixture("win.ini", WindowsFile("win.ini"));
    CopyFixture("system.ini", WindowsFile("system.ini"));
    ASSERT_TRUE(WriteText("C:\\IO.SYS", "IO"));
    ASSERT_TRUE(WriteText(WindowsFile("WIN.COM"), "WIN"));
}

const char kVxdKey[] = "System\\CurrentControlSet\\Services\\VxD";

}  // namespace

TEST(FileChecks, StartupFilesAndDriversReadTheFixtureFiles)
{
    SavedMachine saved(MachineParts{{}, StartupFixturePaths()});
    WriteStartupFixtures();
    OwnEquipment windows95('9');
    CheckReport report;

    EXPECT_EQ(report.Run(CheckRealModeDrivers),
              (std::vector<std::string>{"\x06\x01" "CReal-Mode Drivers in C:\\CONFIG.SYS", "\x01YDEVICE=C:\\WINDOWS\\HIMEM.SYS ",
                                        "\x01YDEVICEHIGH=C:\\SCANNER\\SCAN.EXE /PORT:378 ", "",
                                        "\x06\x01" "CReal-Mode Drivers in C:\\AUTOEXEC.BAT", "\x01YC:\\MOUSE\\MOUSE.COM ",
                                        "\x01YLH C:\\WINDOWS\\COMMAND\\MSCDEX.EXE /D:MSCD001 "}));

    const auto startup = report.Run(CheckStartupFiles);
    EXPECT_EQ(Block(startup, "\x06\x01" "CStartup Files"),
              (std::vector<std::string>{"\x06\x01" "CStartup Files", TestLine("IO.SYS", true), TestLine("MSDOS.SYS", true),
                                        TestLine("COMMAND.COM", false), TestLine("CONFIG.SYS", true),
                                        TestLine("AUTOEXEC.BAT", true), TestLine("WIN.INI", true), TestLine("SYSTEM.INI", true)}));
    // 1023 bytes, WinBootDir pointing nowhere.
    EXPECT_EQ(Block(startup, "\x06\x01" "CMSDOS.SYS"),
              (std::vector<std::string>{"\x06\x01" "CMSDOS.SYS", TestLine("File Size", false), TestLine("[paths]", true),
                                        TestLine("WinDir", true), TestLine("WinBootDir", false),
                                        TestLine("HostWinBootDrv", true)}));
    // The sections the fixture profiles hold, whatever the case of their names.
    EXPECT_EQ(PassedCount(Block(startup, "\x06\x01" "CWIN.INI")), 5);
    EXPECT_EQ(PassedCount(Block(startup, "\x06\x01" "CSYSTEM.INI")), 3);

    // Without MSDOS.SYS the heading is followed at once by the next part's empty line.
    DeleteFileA("C:\\MSDOS.SYS");
    const auto without = report.Run(CheckStartupFiles);
    const auto heading = std::find(without.begin(), without.end(), "\x06\x01" "CMSDOS.SYS");
    ASSERT_NE(heading, without.end());
    EXPECT_EQ(*(heading + 1), "");
}

TEST(FileChecks, RegistryAndVxdsReadAWindows95Machine)
{
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, "Enum"}, {HKEY_LOCAL_MACHINE, kVxdKey}}, {}});
    ImportReg(kFixtures + "machines/isa486.reg");
    ImportReg(kFixtures + "windows_checks/vxd.reg");
    OwnEquipment windows95('9');
    CheckReport report;
    const auto classes = report.Run(CheckRegistry);
    ASSERT_EQ(classes.size(), size_t(1 + kRegistryClassCount));
    EXPECT_EQ(PassedCount(classes), kRegistryClassCount - 2);
    EXPECT_EQ(ValueOf(classes, "Printer"), "Failed");
    EXPECT_EQ(ValueOf(classes, "CDROM"), "Failed");

    const auto vxds = report.Run(CheckStaticVxds);
    ASSERT_EQ(vxds.size(), size_t(1 + kStaticVxdCount));
    // VFAT names a file, VSHARE holds a space, VTD has no StaticVxD value; the rest have no key.
    EXPECT_EQ(PassedCount(vxds), 3);
    for (const char* name : {"IFSMGR", "IOS", "VCACHE"}) EXPECT_EQ(ValueOf(vxds, name), "Passed") << name;
}

TEST(FileChecks, RootDirectoryListsTheFixedDrivesEntries)
{
    SavedMachine saved(MachineParts{{}, {"F:\\A long file name.text"}});
    ASSERT_TRUE(WriteText("F:\\A long file name.text", "x"));
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA("F:\\*", &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    do {
        if (strcmp(found.cFileName, ".") && strcmp(found.cFileName, "..")) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);

    OwnEquipment windowsNt('N');  // the root directories are checked on every system
    CheckReport report;
    const auto lines = report.Run(CheckRootDirectory);
    const auto drive = Block(lines, "\x06\x01" "CDrive F:");
    ASSERT_EQ(drive.size(), names.size() + 1);
    for (size_t i = 1; i < drive.size(); ++i) EXPECT_EQ(drive[i].substr(2, drive[i].find('\t') - 2), names[i - 1]);
    // Drive A: (removable) and E: (CD-ROM) are no fixed drives.
    EXPECT_TRUE(Block(lines, "\x06\x01" "CDrive E:").empty());
}

TEST(FileChecks, MemoryFindsTheSwapFile)
{
    const std::string swapPath = WindowsFile("WIN386.SWP");
    SavedMachine saved(MachineParts{{}, {swapPath}});
    CheckReport report;
    const auto lines = report.Run(CheckMemory);
    ASSERT_EQ(lines.size(), 12u);
    for (const char* test : {"Available", "Size Check", "Allocation Check"}) EXPECT_EQ(ValueOf(lines, test), "Passed");
    EXPECT_EQ(ValueOf(lines, "Swap Drive"), WindowsFile("").substr(0, 2));

    const std::vector<char> bytes(70000, 'S');
    ASSERT_TRUE(WriteWholeFile(swapPath, bytes.data(), bytes.size()));
    const auto withSwap = report.Run(CheckMemory);
    EXPECT_EQ(ValueOf(withSwap, "Swap File Check"), "Passed");
    EXPECT_EQ(ValueOf(withSwap, "Current Swap File Size"), "70,000");

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
    OwnEquipment windowsNt('N');
    CheckReport report;
    for (int (*check)(HWND) : {CheckSystemFiles, CheckDirectoryTree, CheckRegistry, CheckStaticVxds,
                               CheckRealModeDrivers, CheckStartupFiles}) {
        const auto lines = report.Run(check);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[1], std::string("\x03") + kDoesNotApply);
    }
}

// Every check of the catalogue only reads: with the fixtures in place, the files it looks at
// (bytes, attributes, last-write times), the registry keys it opens and the current folder
// are the same after it ran as before.
TEST(DiagnoseWindows, EveryCheckOnlyReads)
{
    std::vector<std::string> files = StartupFixturePaths();
    for (const std::string& more : {"C:\\BOOTLOG.TXT", "C:\\DRVSPACE.INI", "F:\\DRVSPACE.000"}) files.push_back(more);
    SavedMachine machine(MachineParts{{{HKEY_LOCAL_MACHINE, kVxdKey}, {HKEY_LOCAL_MACHINE, "Enum"}}, files});
    WriteStartupFixtures();
    ImportReg(kFixtures + "windows_checks/vxd.reg");
    ASSERT_TRUE(WriteText("C:\\BOOTLOG.TXT", "LoadFailed = drvspace.000\r\n"));
    ASSERT_TRUE(WriteText("C:\\DRVSPACE.INI", "AutoMount=1\r\n"));
    ASSERT_TRUE(WriteText("F:\\DRVSPACE.000", "volume"));
    for (const char* more : {"F:\\WALKF.HVW", "G:\\", "C:\\IOS.LOG"}) files.push_back(more);
    files.push_back(WindowsFile("IOS.LOG"));
    std::vector<std::string> before;
    for (const std::string& file : files) before.push_back(FileStamp(file));
    const MachinePicture registry = TakeMachinePicture(machine.parts);
    // A folder no check would choose, so a check that moves the current folder shows.
    char original[MAX_PATH];
    GetCurrentDirectoryA(sizeof original, original);
    ASSERT_TRUE(SetCurrentDirectoryA(WindowsFile("Fonts").c_str()));

    OwnEquipment windows95('9');
    windows95.info.comPresent[0] = 1;
    CheckReport report;
    for (const ToolEntry& check : kWindowsChecks) {
        SCOPED_TRACE(check.name);
        EXPECT_GE(report.Run(check.handler).size(), 1u);
        char folder[MAX_PATH];
        GetCurrentDirectoryA(sizeof folder, folder);
        EXPECT_EQ(std::string(folder), WindowsFile("Fonts"));
    }
    SetCurrentDirectoryA(original);
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(FileStamp(files[i]), before[i]) << files[i];
    EXPECT_EQ(DescribeDifferences(registry, TakeMachinePicture(machine.parts)), "");
}
