// The rules of the file, registry and configuration checks: root-directory slots and
// classes, the CONFIG.SYS and AUTOEXEC.BAT filters, MSDOS.SYS, the swap figures, bounded
// report lines, and the help texts that explain every label.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "checks/file_check_rules.h"
#include "checks/system_list_rules.h"
#include "services/report_slot.h"

// Whether every label has its own paragraph in the help text (windows_problem_rules_test.cpp).
testing::AssertionResult HelpExplainsLabels(const std::string& helpFile, const std::vector<std::string>& labels);

namespace {

// A report built through CheckSlotSource, one string per slot.
std::vector<std::vector<char>> gSlots;

char* NextTestSlot()
{
    gSlots.emplace_back(kReportLineSlot, '\0');
    return gSlots.back().data();
}

std::vector<std::string> TakeLines()
{
    std::vector<std::string> lines;
    for (const auto& slot : gSlots) {
        EXPECT_EQ(slot.back(), '\0') << "a line filled its slot without its terminator";
        lines.emplace_back(slot.data());
    }
    gSlots.clear();
    return lines;
}

std::vector<std::string> RootReport(const std::vector<std::string>& names)
{
    std::vector<const char*> pointers;
    for (const auto& name : names) pointers.push_back(name.c_str());
    AppendRootDirectoryReport('F', pointers.data(), int(pointers.size()), NextTestSlot);
    return TakeLines();
}

std::string LineStarting(const std::vector<std::string>& lines, const std::string& start)
{
    for (const auto& line : lines)
        if (line.compare(0, start.size(), start) == 0) return line;
    return "<none>";
}

std::vector<std::string> ConfigReport(std::string content, bool autoexec)
{
    if (autoexec)
        AppendAutoexecProgramLines(&content[0], content.size(), NextTestSlot);
    else
        AppendConfigDriverLines(&content[0], content.size(), NextTestSlot);
    return TakeLines();
}

}  // namespace

TEST(RootDirectoryRules, SlotsAndClassOfEachKindOfName)
{
    struct Case {
        std::string name;
        int slots;
        RootEntryClass entryClass;
    } cases[] = {
        {"ABCDEFGH.TXT", 1, kRootAllCaps},  // 12 characters: still one slot
        {"Readme.txt", 2, kRootMixedCase},
        {"A+B", 2, kRootSpecial},
        {"a;b", 2, kRootMixedCase},  // lower case decides before special characters
        {std::string(13, 'N'), 3, kRootLong22},
        {std::string(25, 'N'), 3, kRootLong22},
        {std::string(26, 'N'), 4, kRootLong33},
        {std::string(39, 'N'), 5, kRootLong44},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RootEntryUse use = RootEntryUseOf(c.name.c_str());
        EXPECT_EQ(use.slots, c.slots);
        EXPECT_EQ(use.entryClass, c.entryClass);
    }
}

TEST(RootDirectoryRules, ReportLinesForOneDrive)
{
    const auto lines = RootReport({"IO.SYS", "Program Files", "A+B"});
    const std::vector<std::string> expected = {
        "\x06\x01" "CDrive F:\t\x06\x01" "CDirectory Entries",
        "\x01YIO.SYS\t\x01Y" "1",
        "\x01YProgram Files\t\x01Y" "3",
        "\x01YA+B\t\x01Y" "2",
        "",
        "\x06\x01" "CEntry Type\t\x06\x01" "CFiles\t\x06\x01" "CUsed",
        "\x01" "C8.3 ALL CAPS\t\x01Y" "1\t\x01Y" "1",
        "\x01" "C8.3 Mixed Case\t\x01Y" "0\t\x01Y" "0",
        "\x01" "C8.3 Special Characters\t\x01Y" "1\t\x01Y" "2",
        "\x01" "CLong File Names < 22\t\x01Y" "1\t\x01Y" "3",
        "\x01" "CLong File Names < 33\t\x01Y" "0\t\x01Y" "0",
        "\x01" "CLong File Names < 44\t\x01Y" "0\t\x01Y" "0",
        "",
        "\x01" "CTOTAL\t\x01Y" "3\t\x01Y" "6",
        "\x01" "CAVAILABLE\t\x01Y" "509\t\x01Y" "506",
        "",
        "",
    };
    EXPECT_EQ(lines, expected);
    EXPECT_TRUE(RootReport({}).empty()) << "an empty root writes nothing";
}

TEST(RootDirectoryRules, AvailableIsSignedPastTheLimit)
{
    std::vector<std::string> names;
    for (int i = 0; i < 512; ++i) names.push_back("F" + std::to_string(i));
    names.push_back(std::string(40, 'L'));  // 1 entry, 5 slots
    EXPECT_EQ(LineStarting(RootReport(names), "\x01" "CAVAILABLE"), "\x01" "CAVAILABLE\t\x01Y-1\t\x01Y-5");
}

TEST(RootDirectoryRules, LongAndOddNamesStayInsideTheirLine)
{
    const std::string name = std::string(300, 'x') + "\tZ\x01R";
    const auto lines = RootReport({name});
    ASSERT_GE(lines.size(), 2u);
    const std::string& entry = lines[1];
    EXPECT_LT(entry.size(), size_t(kReportLineSlot));
    // One tab only, the one before the slot count: the name's own control bytes are blanked.
    EXPECT_EQ(std::count(entry.begin(), entry.end(), '\t'), 1);
    EXPECT_EQ(entry.substr(entry.find('\t')), "\t\x01Y" "25");
}

TEST(ConfigFilters, ConfigSysListsDriverLinesOnly)
{
    const auto lines = ConfigReport(
        "REM DEVICE=C:\\OLD\\HIMEM.SYS\r\n"
        "device=c:\\x\\drv.exe\r\n"
        "FILES=40\r\n"
        "DEVICEHIGH=C:\\DOS\\EMM386.EXE NOEMS\r\n"
        "SHELL=C:\\COMMAND.COM /P\r\n"
        "BUFFERS=20\n"
        "DEVICE=C:\\WINDOWS\\SETVER.DRV",  // the last line has no line end
        false);
    const std::vector<std::string> expected = {
        "\x01YDEVICE=C:\\X\\DRV.EXE ",
        "\x01YDEVICEHIGH=C:\\DOS\\EMM386.EXE NOEMS ",
        "\x01YDEVICE=C:\\WINDOWS\\SETVER.DRV",
    };
    EXPECT_EQ(lines, expected);
}

TEST(ConfigFilters, AutoexecDropsSettingsAndBlankLines)
{
    const auto lines = ConfigReport(
        "@ECHO OFF\r\nPATH C:\\DOS\r\n@PATH=C:\\\r\nSET TEMP=C:\\TEMP\r\n@SET X=1\r\nPROMPT $P$G\r\n@PROMPT $G\r\n"
        "ECHO HI\r\nrem c:\\mouse\\mouse.com\r\n\r\nc:\\mouse\\mouse.com\r\nLH C:\\DOS\\SMARTDRV.EXE\r\n",
        true);
    const std::vector<std::string> expected = {"\x01YC:\\MOUSE\\MOUSE.COM ", "\x01YLH C:\\DOS\\SMARTDRV.EXE "};
    EXPECT_EQ(lines, expected);
}

TEST(ConfigFilters, LongLinesAreCutToTheirSlot)
{
    const std::string longConfig = "DEVICE=C:\\DRV.SYS /X:" + std::string(600, 'D') + "\r\n";
    const std::string longAutoexec = "C:\\" + std::string(600, 'P') + ".EXE\r\n";
    for (const auto& lines : {ConfigReport(longConfig, false), ConfigReport(longAutoexec, true)}) {
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].size(), size_t(kReportLineSlot - 1));
    }
}

TEST(MsDosSysRules, ValuesOfPathsSectionOrTheirDefaults)
{
    const std::string text =
        "[Options]\r\nWinDir=D:\\WRONG\r\n"
        "[paths]\r\n  winDir = D:\\WIN95  \r\nWinBootDir=D:\\WIN95\r\n;HostWinBootDrv=X\r\n"
        "[Other]\r\nHostWinBootDrv=Q";
    MsDosSysPaths paths;
    MsDosSysPathsOf(text.data(), text.size(), &paths);
    EXPECT_STREQ(paths.winDirWinCom, "D:\\WIN95\\WIN.COM");
    EXPECT_STREQ(paths.winBootDirWinCom, "D:\\WIN95\\WIN.COM");
    EXPECT_STREQ(paths.hostDriveIoSys, "C:\\IO.SYS") << "a key of another section or a comment is no value";

    MsDosSysPathsOf("", 0, &paths);
    EXPECT_STREQ(paths.winDirWinCom, "C:\\Windows\\WIN.COM");
    EXPECT_STREQ(paths.hostDriveIoSys, "C:\\IO.SYS");

    const std::string tooLong = "[Paths]\nWinDir=C:\\" + std::string(300, 'W') + "\nHostWinBootDrv=E";
    MsDosSysPathsOf(tooLong.data(), tooLong.size(), &paths);
    EXPECT_STREQ(paths.winDirWinCom, "") << "a path that does not fit is never found";
    EXPECT_STREQ(paths.hostDriveIoSys, "E:\\IO.SYS") << "the last line needs no line end";
}

TEST(SwapRules, FiguresAreSixtyFourBit)
{
    const uint64_t gb = 1024ull * 1024 * 1024;
    EXPECT_EQ(SwapSpaceNeeded({gb, 6 * gb, 8 * gb}), gb);
    EXPECT_EQ(SwapSpaceNeeded({2 * gb, 6 * gb, 8 * gb}), 0u);
    EXPECT_EQ(SwapSpaceNeeded({0, 9 * gb, 8 * gb}), 0u);
    EXPECT_EQ(SwapSpaceNeeded({~0ull, 1, 8 * gb}), 0u);

    AppendSwapFileReport({0, 6 * gb, 16 * gb}, 'C', NextTestSlot);
    EXPECT_EQ(TakeLines().back(), "\x01" "CSwap Drive Space Needed\t\x01Y" "10,737,418,240");
}

TEST(SwapRules, ThousandsForEveryWidth)
{
    char text[kThousands64TextLength];
    for (auto c : {std::make_pair(int64_t(999), "999"), std::make_pair(int64_t(4294967296), "4,294,967,296"),
                   std::make_pair(int64_t(-1024), "-1,024"), std::make_pair(INT64_MIN, "-9,223,372,036,854,775,808")}) {
        ASSERT_TRUE(FormatSignedThousands64(c.first, text, sizeof text));
        EXPECT_STREQ(text, c.second);
    }
    EXPECT_FALSE(FormatThousands64(1000, text, 5));
}

// Every label of the file checks and the system lists: the rows of their tables and the lines
// their reports add.
TEST(CheckHelpTexts, EveryLabelHasItsOwnParagraph)
{
    std::map<std::string, std::vector<std::string>> labels;  // by help file
    auto add = [&](const char* file, std::vector<std::string> more) {
        labels[file].insert(labels[file].end(), more.begin(), more.end());
    };
    for (const char* file : {"help_check_system_files_2457.txt", "help_check_directories_2458.txt",
                             "help_check_registry_2459.txt", "help_check_vxds_2467.txt", "help_check_drivers_2465.txt",
                             "help_check_startup_files_2466.txt"})
        add(file, {kDoesNotApply});
    for (const SystemFileRow& row : kSystemFileRows) add("help_check_system_files_2457.txt", {row.text});
    add("help_check_directories_2458.txt", {"System Directory Structure"});
    for (const DirectoryRow& row : kDirectoryRows) add("help_check_directories_2458.txt", {row.label});
    add("help_check_registry_2459.txt", {"Registry Classes"});
    add("help_check_registry_2459.txt", {kRegistryClasses, kRegistryClasses + kRegistryClassCount});
    add("help_check_vxds_2467.txt", {"Static VxD Status"});
    add("help_check_vxds_2467.txt", {kStaticVxdNames, kStaticVxdNames + kStaticVxdCount});
    add("help_check_root_directories_2462.txt", {"Drive C:", "Entry Type", "TOTAL", "AVAILABLE"});
    add("help_check_root_directories_2462.txt", {kRootClassLabels, kRootClassLabels + kRootEntryClassCount});
    add("help_check_memory_2464.txt", {"Virtual Memory", "Available", "Size Check", "Allocation Check", "Swap File",
                                       "Swap File Check", "Current Swap File Size", "Swap Drive", "Swap Drive Space Free",
                                       "Maximum Swap File Space", "Swap Drive Space Needed"});
    add("help_check_drivers_2465.txt", {"Real-Mode Drivers in C:\\CONFIG.SYS", "Real-Mode Drivers in C:\\AUTOEXEC.BAT"});
    add("help_check_startup_files_2466.txt", {"Startup Files", "MSDOS.SYS", "File Size", "[paths]", "WinDir", "WinBootDir",
                                              "HostWinBootDrv", "WIN.INI", "SYSTEM.INI"});
    for (const StartupFileRow& row : kStartupFiles) add("help_check_startup_files_2466.txt", {row.name});
    add("help_check_startup_files_2466.txt", {kWinIniSections, kWinIniSections + kWinIniSectionCount});
    add("help_check_startup_files_2466.txt", {kSystemIniSections, kSystemIniSections + kSystemIniSectionCount});

    const std::pair<const ListCheckText*, const char*> lists[] = {
        {&kHeapListText, "help_check_heap_lists_2451.txt"}, {&kHeapText, "help_check_heaps_2452.txt"},
        {&kWindowText, "help_check_window_chain_2453.txt"}, {&kProcessText, "help_check_process_list_2454.txt"},
        {&kModuleText, "help_check_module_list_2455.txt"}, {&kThreadText, "help_check_thread_list_2456.txt"}};
    for (const auto& list : lists) {
        add(list.second, {list.first->heading, list.first->countLabel, list.first->failingTitle});
        add(list.second, {list.first->tests, list.first->tests + list.first->testCount});
        if (list.first->hasListTests) add(list.second, {"System list snapshot"});
    }
    for (const auto& file : labels) EXPECT_TRUE(HelpExplainsLabels(file.first, file.second));
}
