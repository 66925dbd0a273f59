// The rules of the file, registry and configuration checks: root-directory slots and
// classes, the CONFIG.SYS and AUTOEXEC.BAT filters, MSDOS.SYS, the StaticVxD rule, the swap
// figures, bounded report lines, and the help texts that explain every label.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "checks/file_check_rules.h"
#include "services/report_slot.h"

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

std::string ReadSource(const std::string& relative)
{
    std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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
        {"A", 1, kRootAllCaps},
        {"COMMAND.COM", 1, kRootAllCaps},
        {"ABCDEFGH.TXT", 1, kRootAllCaps},  // 12 characters: still one slot
        {"readme", 2, kRootMixedCase},
        {"Readme.txt", 2, kRootMixedCase},
        {"A+B", 2, kRootSpecial},
        {"[X]", 2, kRootSpecial},
        {"a;b", 2, kRootMixedCase},  // lower case decides before special characters
        {std::string(13, 'N'), 3, kRootLong22},
        {std::string(25, 'N'), 3, kRootLong22},
        {std::string(26, 'N'), 4, kRootLong33},
        {std::string(39, 'N'), 5, kRootLong44},
        {std::string(255, 'n'), 21, kRootLong44},
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
    EXPECT_EQ(LineStarting(RootReport(names), "\x01" "CAVAILABLE"), "\x01" "CAVAILABLE\t\x01Y" "0\t\x01Y" "0");
    names.push_back("LAST");
    EXPECT_EQ(LineStarting(RootReport(names), "\x01" "CAVAILABLE"), "\x01" "CAVAILABLE\t\x01Y-1\t\x01Y-1");
    names.push_back(std::string(40, 'L'));  // 1 entry, 5 slots
    EXPECT_EQ(LineStarting(RootReport(names), "\x01" "CAVAILABLE"), "\x01" "CAVAILABLE\t\x01Y-2\t\x01Y-6");
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

TEST(StaticVxdRule, OnlyABuiltInNamePasses)
{
    EXPECT_TRUE(IsBuiltInStaticVxd("*VCACHE"));
    EXPECT_FALSE(IsBuiltInStaticVxd("*V CACHE"));
    EXPECT_FALSE(IsBuiltInStaticVxd("C:\\WINDOWS\\SYSTEM\\VCACHE.VXD"));
    EXPECT_FALSE(IsBuiltInStaticVxd(""));
    EXPECT_FALSE(IsBuiltInStaticVxd(nullptr));
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
    EXPECT_EQ(SwapSpaceNeeded({0, 6 * gb, 8 * gb}), 2 * gb);
    EXPECT_EQ(SwapSpaceNeeded({gb, 6 * gb, 8 * gb}), gb);
    EXPECT_EQ(SwapSpaceNeeded({2 * gb, 6 * gb, 8 * gb}), 0u);
    EXPECT_EQ(SwapSpaceNeeded({0, 9 * gb, 8 * gb}), 0u);
    EXPECT_EQ(SwapSpaceNeeded({~0ull, 1, 8 * gb}), 0u);

    AppendSwapFileReport({0, 6 * gb, 8 * gb}, 'C', NextTestSlot);
    EXPECT_EQ(TakeLines().back(), "\x01" "CSwap Drive Space Needed\t\x01Y" "2,147,483,648");
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

// Quick Help finds a clicked line's paragraph as the first item of the help text that
// begins with the line's label (the list box's prefix search, case ignored). Items are the
// help text's lines cut at any space when wrapped, so a paragraph title must come before
// every other place in the text where a wrapped item could begin with the same words.
TEST(FileCheckHelp, EveryLabelFindsItsOwnParagraph)
{
    std::map<std::string, std::vector<std::string>> labels;  // by help file
    auto add = [&](const char* file, const std::vector<std::string>& more) {
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
    for (const char* name : kRegistryClasses) add("help_check_registry_2459.txt", {name});
    add("help_check_vxds_2467.txt", {"Static VxD Status"});
    for (const char* name : kStaticVxdNames) add("help_check_vxds_2467.txt", {name});
    add("help_check_root_directories_2462.txt", {"Drive C:", "Entry Type", "TOTAL", "AVAILABLE"});
    for (const char* name : kRootClassLabels) add("help_check_root_directories_2462.txt", {name});
    add("help_check_memory_2464.txt", {"Virtual Memory", "Available", "Size Check", "Allocation Check", "Swap File",
                                       "Swap File Check", "Current Swap File Size", "Swap Drive", "Swap Drive Space Free",
                                       "Maximum Swap File Space", "Swap Drive Space Needed"});
    add("help_check_drivers_2465.txt", {"Real-Mode Drivers in C:\\CONFIG.SYS", "Real-Mode Drivers in C:\\AUTOEXEC.BAT"});
    add("help_check_startup_files_2466.txt", {"Startup Files", "MSDOS.SYS", "File Size", "[paths]", "WinDir", "WinBootDir",
                                              "HostWinBootDrv", "WIN.INI", "SYSTEM.INI"});
    for (const StartupFileRow& row : kStartupFiles) add("help_check_startup_files_2466.txt", {row.name});
    for (const char* section : kWinIniSections) add("help_check_startup_files_2466.txt", {section});
    for (const char* section : kSystemIniSections) add("help_check_startup_files_2466.txt", {section});

    auto lower = [](std::string text) {
        for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const auto& help : labels) {
        SCOPED_TRACE(help.first);
        std::vector<std::string> text;
        std::istringstream in(ReadSource("src/resources/help/" + help.first));
        for (std::string line; std::getline(in, line);) text.push_back(lower(line));
        ASSERT_GT(text.size(), 4u);
        for (const std::string& label : help.second) {
            SCOPED_TRACE(label);
            const std::string search = lower(label);
            // The first place where a wrapped item could begin with the label.
            size_t line = 0, at = std::string::npos;
            for (; line < text.size() && at == std::string::npos; ++line)
                for (size_t i = 0; i < text[line].size() && at == std::string::npos; ++i)
                    if ((i == 0 || text[line][i - 1] == ' ') && text[line].compare(i, search.size(), search) == 0) at = i;
            ASSERT_NE(at, std::string::npos) << "no paragraph for this label";
            --line;
            EXPECT_EQ(at, 0u) << "words of another paragraph come first: " << text[line];
            EXPECT_TRUE(line > 0 && (text[line - 1] == " " || text[line - 1] == "description"))
                << "not the title of a paragraph: " << text[line];
        }
    }
}
