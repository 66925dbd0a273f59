#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "checks/windows_problem_rules.h"
#include "services/report_search.h"
#include "services/report_slot.h"

namespace {

// A report built into slots of its own, read back as strings.
class Report {
public:
    ReportSink Sink() { return ReportSink{Next, this}; }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        for (const auto& slot : slots_) lines.emplace_back(slot.data());
        return lines;
    }

private:
    static char* Next(void* self)
    {
        auto& slots = static_cast<Report*>(self)->slots_;
        slots.emplace_back();
        slots.back().fill(0);
        return slots.back().data();
    }
    std::deque<std::array<char, kReportLineSlot>> slots_;
};

const std::string kHeading = "\x06\x01" "C";
const std::string kCaption = "\x01" "C";
const std::string kValue = "\x01" "Y";
const std::string kRed = "\x01" "R";

std::string ValueLine(const std::string& label, const std::string& value)
{
    return kCaption + label + "\t" + kValue + value;
}

// ---- Topics ----

TEST(ProblemTopics, HaveTheirLineCountsWithSpacersOnlyBetweenGroups)
{
    const std::pair<int, int> expected[] = {{kBootProblems, 14}, {kDeviceConflicts, 8}, {kErrorMessages, 44}};
    for (const auto& topic : expected) {
        SCOPED_TRACE(topic.first);
        Report report;
        EXPECT_EQ(AppendProblemTopic(topic.first, report.Sink()), topic.second);
        const std::vector<std::string> lines = report.Lines();
        ASSERT_EQ(int(lines.size()), topic.second);
        EXPECT_EQ(lines.front().rfind(kHeading, 0), 0u);
        EXPECT_NE(lines.back(), " ");
        for (size_t i = 1; i < lines.size(); ++i) {
            if (lines[i - 1] == " ") EXPECT_EQ(lines[i].rfind(kHeading, 0), 0u) << "a group follows each spacer";
            else if (lines[i] != " " && lines[i].rfind(kHeading, 0) != 0) EXPECT_EQ(lines[i].rfind(kCaption, 0), 0u);
        }
    }
    Report none;
    EXPECT_EQ(AppendProblemTopic(kProblemTopicCount, none.Sink()), 0);
}

// ---- Device contention ----

TEST(ProfileTextInteger, ReadsASignedNumberLikeTheProfileIntegerRead)
{
    EXPECT_EQ(ProfileTextInteger("-1", -99), -1);
    EXPECT_EQ(ProfileTextInteger("  2 seconds", -99), 2);
    EXPECT_EQ(ProfileTextInteger("", -99), -99);
    EXPECT_EQ(ProfileTextInteger("abc", -99), 0);
    EXPECT_EQ(ProfileTextInteger("99999999999999999999", 0), 2147483647L);
    EXPECT_EQ(ProfileTextInteger("-99999999999999999999", 0), -2147483647L - 1);
}

std::vector<std::string> Contention(std::array<bool, 4> present, std::array<long, 4> values)
{
    Report report;
    EXPECT_EQ(AppendDeviceContention(present.data(), values.data(), report.Sink()), 7);
    return report.Lines();
}

TEST(DeviceContention, EachSettingGivesItsProtectionAndRisks)
{
    const long none = kAutoAssignMissing;
    const std::vector<std::string> lines =
        Contention({true, true, true, false}, {none, 0, 2, 5});
    EXPECT_EQ(lines, (std::vector<std::string>{kHeading + "Test Results", ValueLine("COM1 Protection Level", "Maximum"),
                                               ValueLine("COM2 Protection Level", "Minimum"),
                                               ValueLine("COM3 Protection Level", "Moderate"),
                                               ValueLine("COM4 Protection Level", "No Port Found"),
                                               ValueLine("Risk of System Hanging", "High"),
                                               ValueLine("Risk of Modem Problems", "Moderate @ 2 seconds")}));
    // The last port decides the modem risk, both ways; only waiting times raise the hang risk.
    EXPECT_EQ(Contention({true, true, false, false}, {2, 0, none, none})[6], ValueLine("Risk of Modem Problems", "High"));
    EXPECT_EQ(Contention({true, true, false, false}, {0, -1, none, none})[5], ValueLine("Risk of System Hanging", "Low"));
    const std::vector<std::string> noPorts = Contention({false, false, false, false}, {0, 0, 0, 0});
    EXPECT_EQ(noPorts[5], ValueLine("Risk of System Hanging", "Low"));
    EXPECT_EQ(noPorts[6], ValueLine("Risk of Modem Problems", "Low"));
}

// ---- Boot log ----

struct FakeSystem {
    std::set<std::string> onDisk;
    std::map<std::string, int> mentionedIn;  // name -> first start-up file naming it
    std::vector<std::string> asked;          // names looked for on disk
};

bool FakeIsOnDisk(const char* name, void* context)
{
    FakeSystem* system = static_cast<FakeSystem*>(context);
    system->asked.push_back(name);
    return system->onDisk.count(name) > 0;
}

bool FakeIsInStartupFile(int file, const char* name, void* context)
{
    const auto found = static_cast<FakeSystem*>(context)->mentionedIn.find(name);
    return found != static_cast<FakeSystem*>(context)->mentionedIn.end() && found->second <= file;
}

std::vector<std::string> BootLogRows(const std::string& log, FakeSystem* system)
{
    Report report;
    const BootLogProbes probes = {FakeIsOnDisk, FakeIsInStartupFile, system};
    const int count = AppendBootLogFailures(log.c_str(), log.size(), probes, report.Sink());
    std::vector<std::string> lines = report.Lines();
    EXPECT_EQ(count, int(lines.size()));
    EXPECT_EQ(lines.at(0), kHeading + "Configuration Problem\t" + kHeading + "On Disk\t" + kHeading + "Location");
    lines.erase(lines.begin());
    return lines;
}

std::string Row(const std::string& name, const std::string& onDisk, const std::string& location)
{
    return kValue + name + "\t" + onDisk + "\t" + kValue + location;
}

TEST(BootLogFailures, OneRowPerFailedNameWithItsDiskAndStartupFile)
{
    FakeSystem system;
    system.onDisk = {"HIMEM.SYS", "EMM386.EXE"};
    system.mentionedIn = {{"HIMEM.SYS", kConfigSys}, {"EMM386.EXE", kAutoexecBat}, {"X.VXD", kSystemIni},
                          {"AX.VXD", kWinIni}};
    const std::string log =
        "[0010A6F1] LOADSUCCESS = C:\\WINDOWS\\IFSHLP.SYS \r\n"
        "[0010A6F2] LOADFAILED = HIMEM.SYS \r\n"
        "[0010A6F3] LOADFAILED = EMM386.EXE\n"
        "[0010A6F4] LOADFAILED = AX.VXD\n"
        "[0010A6F5] LOADFAILED = X.VXD\n"
        "[0010A6F6] LOADFAILED = HIMEM.SYS\n"
        "[0010A6F7] INITCOMPLETEFAILED =   \n"
        "DYNAMICINITFAILED\n"
        "[0010A6F8] SYSCRITINITFAILED = EBIOS\n"
        "[0010A6F9] LOADFAILED = NDIS2SUP.VXD\n";
    EXPECT_EQ(BootLogRows(log, &system),
              (std::vector<std::string>{Row("HIMEM.SYS", kValue + "Passed", "CONFIG.SYS"),
                                        Row("EMM386.EXE", kValue + "Passed", "AUTOEXEC.BAT"),
                                        Row("AX.VXD", kRed + "Failed", "WIN.INI"),
                                        Row("X.VXD", kRed + "Failed", "SYSTEM.INI"),
                                        Row("EBIOS", kValue + "N/A", "Internal"),
                                        Row("NDIS2SUP.VXD", kRed + "Failed", "Internal")}));
    // A name without an extension is not looked for.
    EXPECT_EQ(system.asked, (std::vector<std::string>{"HIMEM.SYS", "EMM386.EXE", "AX.VXD", "X.VXD", "NDIS2SUP.VXD"}));
}

TEST(BootLogFailures, AMissingLogGivesTheHeadingAndALongNameKeepsItsColumns)
{
    FakeSystem system;
    EXPECT_TRUE(BootLogRows("", &system).empty());
    Report report;
    EXPECT_EQ(AppendBootLogFailures(nullptr, 100, BootLogProbes{FakeIsOnDisk, FakeIsInStartupFile, &system},
                                    report.Sink()),
              1);
    // The value is cut to 255 characters, which leaves this one without its extension.
    const std::string name = "C:\\" + std::string(600, 'A') + ".VXD";
    const std::vector<std::string> rows = BootLogRows("LOADFAILED = " + name + "\n", &system);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].size(), size_t(kReportLineSlot - 1));
    const std::string tail = "\t" + kValue + "N/A\t" + kValue + "Internal";
    EXPECT_EQ(rows[0].compare(rows[0].size() - tail.size(), tail.size(), tail), 0) << rows[0];
}

// ---- DriveSpace ----

TEST(DriveSpace, OnlyFilesWithADigitExtensionAreVolumes)
{
    EXPECT_TRUE(IsDriveSpaceVolume("F:\\DRVSPACE.000"));
    EXPECT_FALSE(IsDriveSpaceVolume("F:\\DRVSPACE.BIN"));
    EXPECT_FALSE(IsDriveSpaceVolume("C:\\DRVSPACE.INI"));
    EXPECT_FALSE(IsDriveSpaceVolume("C:\\OLD.001\\DRVSPACE"));
}

TEST(DriveSpace, SettingsAreTheEntriesBeforeTheFirstSection)
{
    const std::string ini =
        "; DriveSpace settings\r\n"
        "  maxremovabledrives = 2 \r\n"
        "FirstDrive=H\r\n"
        "AutoMount=\r\n"
        "FirstDrive=J\r\n"
        "[Section]\r\n"
        "LastDrive=M\r\n";
    char value[8];
    EXPECT_TRUE(SectionlessProfileValue(ini.c_str(), ini.size(), "MaxRemovableDrives", value, sizeof value));
    EXPECT_STREQ(value, "2");
    EXPECT_TRUE(SectionlessProfileValue(ini.c_str(), ini.size(), "firstdrive", value, sizeof value));
    EXPECT_STREQ(value, "H");
    EXPECT_TRUE(SectionlessProfileValue(ini.c_str(), ini.size(), "AutoMount", value, sizeof value));
    EXPECT_STREQ(value, "");
    EXPECT_FALSE(SectionlessProfileValue(ini.c_str(), ini.size(), "LastDrive", value, sizeof value));
    EXPECT_FALSE(SectionlessProfileValue(ini.c_str(), ini.size(), "DriveSpace settings", value, sizeof value));
    EXPECT_FALSE(SectionlessProfileValue(ini.c_str(), 20, "MaxRemovableDrives", value, sizeof value));
    const std::string longValue = "AutoMount=" + std::string(300, 'A');
    EXPECT_TRUE(SectionlessProfileValue(longValue.c_str(), longValue.size(), "AutoMount", value, sizeof value));
    EXPECT_STREQ(value, "AAAAAAA");
}

TEST(DriveSpace, WithoutItsFilesTheSettingsShowTheirDefaults)
{
    DriveSpaceFacts facts = {};
    Report empty;
    EXPECT_EQ(AppendDriveSpace(facts, empty.Sink()), 7);
    EXPECT_EQ(empty.Lines(),
              (std::vector<std::string>{kHeading + "Test Results", ValueLine("DriveSpace Real-Mode Driver", "Failed"),
                                        ValueLine("DriveSpace Protected-Mode Driver", "Failed"),
                                        ValueLine("DriveSpace Initialization File", "Failed"),
                                        ValueLine("MaxRemovableDrives", "0"), ValueLine("AutoMount", "None"),
                                        ValueLine("First Compressed Drive", "None")}));
}

// ---- Help texts ----

std::vector<std::string> HelpLines(const std::string& file)
{
    std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/src/resources/help/" + file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Lower(std::string text)
{
    for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
    return text;
}

// The label has a paragraph of its own, after a spacer line or the DESCRIPTION heading, and no word of an earlier
// line begins with it: the wrapped help list could start an item there and Quick Help would
// stop at that item instead.
testing::AssertionResult HasParagraph(const std::vector<std::string>& help, const std::string& label)
{
    const std::string wanted = Lower(label);
    for (size_t i = 0; i < help.size(); ++i) {
        const std::string line = Lower(help[i]);
        if (line == wanted && i > 0 && (help[i - 1] == " " || help[i - 1] == "DESCRIPTION"))
            return testing::AssertionSuccess();
        for (size_t at = 0; at < line.size(); at = line.find(' ', at) + 1) {
            if (line.compare(at, wanted.size(), wanted) == 0)
                return testing::AssertionFailure() << "\"" << label << "\" first found in line " << i + 1 << ": "
                                                   << help[i];
            if (line.find(' ', at) == std::string::npos) break;
        }
    }
    return testing::AssertionFailure() << "no paragraph for \"" << label << "\"";
}

// Every label a report shows (its lines' first fields without markup).
std::vector<std::string> Labels(const std::vector<std::string>& lines)
{
    std::vector<std::string> labels;
    for (const std::string& line : lines) {
        char label[kReportLineSlot];
        if (line != " " && ReportSearchText(line.c_str(), label, sizeof label)) labels.push_back(label);
    }
    return labels;
}

TEST(ProblemHelpTexts, ExplainEveryTopicAndEveryLabelOfTheChecks)
{
    std::map<std::string, std::vector<std::string>> reports;  // help file -> lines
    const std::pair<int, const char*> topics[] = {{kBootProblems, "help_boot_problems_3644.txt"},
                                                  {kDeviceConflicts, "help_device_conflicts_3628.txt"},
                                                  {kErrorMessages, "help_error_messages_3656.txt"}};
    for (const auto& topic : topics) {
        Report report;
        AppendProblemTopic(topic.first, report.Sink());
        reports[topic.second] = report.Lines();
    }
    const bool present[4] = {false, false, false, false};
    const long values[4] = {0, 0, 0, 0};
    Report contention, cursors, pif, driveSpace;
    AppendDeviceContention(present, values, contention.Sink());
    reports["help_device_contention_3629.txt"] = contention.Lines();
    AppendAnimatedCursors(false, 32, cursors.Sink());
    reports["help_animated_cursors_3606.txt"] = cursors.Lines();
    AppendPifFiles(nullptr, 0, pif.Sink());
    reports["help_msdos_mode_3602.txt"] = pif.Lines();
    const char* volume[] = {"C:\\DRVSPACE.000"};
    AppendDriveSpace(DriveSpaceFacts{false, false, false, volume, 1, nullptr, 0}, driveSpace.Sink());
    reports["help_drive_space_3605.txt"] = driveSpace.Lines();
    // The boot-log heading names three columns; each has its paragraph.
    reports["help_configuration_3653.txt"] = {"\x01" "CConfiguration Problem", "\x01" "COn Disk", "\x01" "CLocation"};

    int labelCount = 0;
    for (const auto& report : reports) {
        const std::vector<std::string> help = HelpLines(report.first);
        ASSERT_FALSE(help.empty()) << report.first;
        EXPECT_EQ(help[0], "OVERVIEW");
        for (const std::string& label : Labels(report.second)) {
            EXPECT_TRUE(HasParagraph(help, label)) << report.first;
            ++labelCount;
        }
    }
    EXPECT_EQ(labelCount, 14 + 8 + 37 + 7 + 4 + 1 + 8 + 3);
}

}  // namespace
