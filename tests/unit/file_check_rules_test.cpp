// The rules of the file, registry and configuration checks: root-directory slots and
// classes, the CONFIG.SYS and AUTOEXEC.BAT filters, MSDOS.SYS, the StaticVxD rule, the swap
// figures, bounded report lines, and the help texts that explain every label.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "checks/file_check_rules.h"
#include "services/report_search.h"
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

TEST(MsDosSysRules, ReportOfPresentAndMissingFile)
{
    MsDosSysFacts facts = {true, 1023, true, true, true, false};
    AppendMsDosSysReport(facts, NextTestSlot);
    const std::vector<std::string> small = {
        "\x06\x01" "CMSDOS.SYS",           "\x01" "CFile Size\t\x01YFailed", "\x01" "C[paths]\t\x01YPassed",
        "\x01" "CWinDir\t\x01YPassed",      "\x01" "CWinBootDir\t\x01YPassed", "\x01" "CHostWinBootDrv\t\x01YFailed",
    };
    EXPECT_EQ(TakeLines(), small);
    facts.length = 1024;
    AppendMsDosSysReport(facts, NextTestSlot);
    EXPECT_EQ(TakeLines()[1], "\x01" "CFile Size\t\x01YPassed");
    facts.present = false;
    AppendMsDosSysReport(facts, NextTestSlot);
    EXPECT_EQ(TakeLines(), std::vector<std::string>{"\x06\x01" "CMSDOS.SYS"});
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
    const std::vector<std::string> expected = {
        "\x06\x01" "CSwap File",
        "\x01" "CSwap File Check\t\x01YFailed",
        "\x01" "CCurrent Swap File Size\t\x01Y" "0",
        "\x01" "CSwap Drive\t\x01Y" "C:",
        "\x01" "CSwap Drive Space Free\t\x01Y" "6,442,450,944",
        "\x01" "CMaximum Swap File Space\t\x01Y" "8,589,934,592",
        "\x01" "CSwap Drive Space Needed\t\x01Y" "2,147,483,648",
    };
    EXPECT_EQ(TakeLines(), expected);
}

TEST(SwapRules, ThousandsForEveryWidth)
{
    struct Case {
        int64_t value;
        const char* text;
    } cases[] = {{0, "0"},           {999, "999"},         {1000, "1,000"},  {4294967296, "4,294,967,296"},
                 {-1, "-1"},         {-1024, "-1,024"},    {INT64_MIN, "-9,223,372,036,854,775,808"}};
    for (const Case& c : cases) {
        char text[kThousands64TextLength];
        ASSERT_TRUE(FormatSignedThousands64(c.value, text, sizeof text));
        EXPECT_STREQ(text, c.text);
    }
    char text[kThousands64TextLength];
    ASSERT_TRUE(FormatThousands64(UINT64_MAX, text, sizeof text));
    EXPECT_STREQ(text, "18,446,744,073,709,551,615");
    char small[5];
    EXPECT_FALSE(FormatThousands64(1000, small, sizeof small));
    EXPECT_STREQ(small, "");
}

// Quick Help finds a clicked line's paragraph as the first item of the help text that
// begins with the line's label (the list box's prefix search, case ignored). Items are the
// help text's lines cut at any space when wrapped, so a paragraph title must come before
// every other place in the text where a wrapped item could begin with the same words.
TEST(FileCheckHelp, EveryLabelFindsItsOwnParagraph)
{
    struct Help {
        const char* file;
        std::vector<std::string> lines;  // report lines, as the checks write them
    };
    auto tests = [](std::vector<std::string> labels) {
        std::vector<std::string> lines;
        char slot[kReportLineSlot];
        for (const auto& label : labels) {
            FormatCheckTest(slot, sizeof slot, label.c_str(), true);
            lines.push_back(slot);
        }
        return lines;
    };
    auto heading = [](const char* text) {
        char slot[kReportLineSlot];
        FormatCheckHeading(slot, sizeof slot, text);
        return std::string(slot);
    };
    char grey[kReportLineSlot];
    FormatCheckGrey(grey, sizeof grey, kDoesNotApply);

    std::vector<Help> helps;
    Help systemFiles{"help_check_system_files_2457.txt", {grey}};
    for (const SystemFileRow& row : kSystemFileRows)
        systemFiles.lines.push_back(row.place ? tests({row.text})[0] : heading(row.text));
    helps.push_back(systemFiles);
    Help directories{"help_check_directories_2458.txt", {grey, heading("System Directory Structure")}};
    for (const DirectoryRow& row : kDirectoryRows) directories.lines.push_back(tests({row.label})[0]);
    helps.push_back(directories);
    Help registry{"help_check_registry_2459.txt", {grey, heading("Registry Classes")}};
    for (const char* name : kRegistryClasses) registry.lines.push_back(tests({name})[0]);
    helps.push_back(registry);
    Help vxds{"help_check_vxds_2467.txt", {grey, heading("Static VxD Status")}};
    for (const char* name : kStaticVxdNames) vxds.lines.push_back(tests({name})[0]);
    helps.push_back(vxds);
    // Entry lines name the files found; the drive heading is explained once, as "Drive C:".
    Help root{"help_check_root_directories_2462.txt", {}};
    const std::vector<const char*> one = {"IO.SYS"};
    AppendRootDirectoryReport('C', one.data(), 1, NextTestSlot);
    for (const auto& line : TakeLines())
        if (line.compare(0, 3, "\x01YI") != 0) root.lines.push_back(line);
    helps.push_back(root);
    Help memory{"help_check_memory_2464.txt", {heading("Virtual Memory")}};
    for (const auto& line : tests({"Available", "Size Check", "Allocation Check"})) memory.lines.push_back(line);
    AppendSwapFileReport({0, 0, 0}, 'C', NextTestSlot);
    for (const auto& line : TakeLines()) memory.lines.push_back(line);
    helps.push_back(memory);
    helps.push_back({"help_check_drivers_2465.txt",
                     {grey, heading("Real-Mode Drivers in C:\\CONFIG.SYS"), heading("Real-Mode Drivers in C:\\AUTOEXEC.BAT")}});
    Help startup{"help_check_startup_files_2466.txt", {grey, heading("Startup Files"), heading("WIN.INI"), heading("SYSTEM.INI")}};
    for (const StartupFileRow& row : kStartupFiles) startup.lines.push_back(tests({row.name})[0]);
    AppendMsDosSysReport({true, 0, false, false, false, false}, NextTestSlot);
    for (const auto& line : TakeLines()) startup.lines.push_back(line);
    for (const char* section : kWinIniSections) startup.lines.push_back(tests({section})[0]);
    for (const char* section : kSystemIniSections) startup.lines.push_back(tests({section})[0]);
    helps.push_back(startup);

    auto lower = [](std::string text) {
        for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const Help& help : helps) {
        SCOPED_TRACE(help.file);
        std::vector<std::string> textLines;
        std::istringstream in(ReadSource(std::string("src/resources/help/") + help.file));
        for (std::string line; std::getline(in, line);) textLines.push_back(lower(line));
        ASSERT_GT(textLines.size(), 4u);
        for (const std::string& reportLine : help.lines) {
            char search[256];
            if (!ReportSearchText(reportLine.c_str(), search, sizeof search)) continue;
            const std::string label = lower(search);
            SCOPED_TRACE(label);
            // The first place where an item could begin with the label.
            int firstLine = -1;
            bool atLineStart = false;
            for (size_t i = 0; i < textLines.size() && firstLine < 0; ++i) {
                const std::string& text = textLines[i];
                for (size_t at = 0; at < text.size(); ++at) {
                    if (at > 0 && text[at - 1] != ' ') continue;
                    if (text.compare(at, label.size(), label) == 0) {
                        firstLine = int(i);
                        atLineStart = at == 0;
                        break;
                    }
                }
            }
            ASSERT_GE(firstLine, 0) << "no paragraph for this label";
            EXPECT_TRUE(atLineStart) << "words of another paragraph come first: " << textLines[size_t(firstLine)];
            EXPECT_TRUE(firstLine > 0 && (textLines[size_t(firstLine) - 1] == " " ||
                                          textLines[size_t(firstLine) - 1] == "description"))
                << "not the title of a paragraph: " << textLines[size_t(firstLine)];
        }
    }
}
