#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <deque>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "checks/windows_problem_rules.h"
#include "services/report_search.h"
#include "services/report_slot.h"

testing::AssertionResult HelpExplainsLabels(const std::string& helpFile, const std::vector<std::string>& labels);

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
        EXPECT_NE(lines.back(), " ");
        for (size_t i = 0; i < lines.size(); ++i) {
            if (i == 0 || lines[i - 1] == " ") EXPECT_EQ(lines[i].rfind(kHeading, 0), 0u) << "a group follows each spacer";
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
    EXPECT_EQ(Contention({true, true, true, false}, {none, 0, 2, 5}),
              (std::vector<std::string>{kHeading + "Test Results", ValueLine("COM1 Protection Level", "Maximum"),
                                        ValueLine("COM2 Protection Level", "Minimum"),
                                        ValueLine("COM3 Protection Level", "Moderate"),
                                        ValueLine("COM4 Protection Level", "No Port Found"),
                                        ValueLine("Risk of System Hanging", "High"),
                                        ValueLine("Risk of Modem Problems", "Moderate @ 2 seconds")}));
    // The last port decides the modem risk, both ways; only waiting times raise the hang risk.
    EXPECT_EQ(Contention({true, true, false, false}, {2, 0, none, none})[6], ValueLine("Risk of Modem Problems", "High"));
    EXPECT_EQ(Contention({true, true, false, false}, {0, -1, none, none})[5], ValueLine("Risk of System Hanging", "Low"));
    EXPECT_EQ(Contention({false, false, false, false}, {0, 0, 0, 0})[6], ValueLine("Risk of Modem Problems", "Low"));
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
    lines.erase(lines.begin());  // the heading
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
        "[0010A6F9] LOADFAILED = NDIS2SUP.VXD\n"
        "LOADFAILED = C:\\" + std::string(600, 'A') + ".VXD\n";
    std::vector<std::string> rows = BootLogRows(log, &system);
    ASSERT_EQ(rows.size(), 7u);
    // The value is cut to 255 characters, which leaves the long name without its extension;
    // the name is cut so that its columns fit.
    EXPECT_EQ(rows[6].size(), size_t(kReportLineSlot - 1));
    const std::string tail = "\t" + kValue + "N/A\t" + kValue + "Internal";
    EXPECT_EQ(rows[6].compare(rows[6].size() - tail.size(), tail.size(), tail), 0) << rows[6];
    rows.pop_back();
    EXPECT_EQ(rows, (std::vector<std::string>{
                        Row("HIMEM.SYS", kValue + "Passed", "CONFIG.SYS"), Row("EMM386.EXE", kValue + "Passed", "AUTOEXEC.BAT"),
                        Row("AX.VXD", kRed + "Failed", "WIN.INI"), Row("X.VXD", kRed + "Failed", "SYSTEM.INI"),
                        Row("EBIOS", kValue + "N/A", "Internal"), Row("NDIS2SUP.VXD", kRed + "Failed", "Internal")}));
    // A name without an extension is not looked for.
    EXPECT_EQ(system.asked, (std::vector<std::string>{"HIMEM.SYS", "EMM386.EXE", "AX.VXD", "X.VXD", "NDIS2SUP.VXD"}));
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
    Report empty;
    EXPECT_EQ(AppendDriveSpace(DriveSpaceFacts{}, empty.Sink()), 7);
    const std::vector<std::string> lines = empty.Lines();
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.end()),
              (std::vector<std::string>{ValueLine("MaxRemovableDrives", "0"), ValueLine("AutoMount", "None"),
                                        ValueLine("First Compressed Drive", "None")}));
}

// ---- Help texts ----

// The labels of a report's lines (their first fields without markup).
void AddLabels(std::vector<std::string>* labels, const std::vector<std::string>& lines)
{
    for (const std::string& line : lines) {
        char label[kReportLineSlot];
        if (line != " " && ReportSearchText(line.c_str(), label, sizeof label)) labels->push_back(label);
    }
}

TEST(ProblemHelpTexts, ExplainEveryTopicAndEveryLabelOfTheChecks)
{
    std::map<std::string, std::vector<std::string>> labels;  // help file -> labels
    const std::pair<int, const char*> topics[] = {{kBootProblems, "help_boot_problems_3644.txt"},
                                                  {kDeviceConflicts, "help_device_conflicts_3628.txt"},
                                                  {kErrorMessages, "help_error_messages_3656.txt"}};
    for (const auto& topic : topics) {
        Report report;
        AppendProblemTopic(topic.first, report.Sink());
        AddLabels(&labels[topic.second], report.Lines());
    }
    const bool present[4] = {false, false, false, false};
    const long values[4] = {0, 0, 0, 0};
    Report contention, cursors, pif, driveSpace;
    AppendDeviceContention(present, values, contention.Sink());
    AddLabels(&labels["help_device_contention_3629.txt"], contention.Lines());
    AppendAnimatedCursors(false, 32, cursors.Sink());
    AddLabels(&labels["help_animated_cursors_3606.txt"], cursors.Lines());
    AppendPifFiles(nullptr, 0, pif.Sink());
    AddLabels(&labels["help_msdos_mode_3602.txt"], pif.Lines());
    const char* volume[] = {"C:\\DRVSPACE.000"};
    AppendDriveSpace(DriveSpaceFacts{false, false, false, volume, 1, nullptr, 0}, driveSpace.Sink());
    AddLabels(&labels["help_drive_space_3605.txt"], driveSpace.Lines());
    // The boot-log heading names three columns; each has its paragraph.
    labels["help_configuration_3653.txt"] = {"Configuration Problem", "On Disk", "Location"};

    for (const auto& file : labels) EXPECT_TRUE(HelpExplainsLabels(file.first, file.second));
}

}  // namespace

// Quick Help selects the first item of the help text that begins with the clicked line's
// label, case ignored, and the help list wraps lines at any space. So the first place where
// a word begins with a label must be the title of the label's paragraph: the start of a line
// that follows a spacer line or the DESCRIPTION heading. (The tests of the file checks and of
// the system lists use this too.)
testing::AssertionResult HelpExplainsLabels(const std::string& helpFile, const std::vector<std::string>& labels)
{
    auto lower = [](std::string text) {
        for (char& c : text) c = char(tolower(static_cast<unsigned char>(c)));
        return text;
    };
    std::ifstream in(std::string(HALVORN_SOURCE_DIR) + "/src/resources/help/" + helpFile);
    std::vector<std::string> help;
    for (std::string line; std::getline(in, line);) help.push_back(lower(line));
    if (help.empty() || help[0] != "overview") return testing::AssertionFailure() << helpFile << " does not open with OVERVIEW";
    if (labels.empty()) return testing::AssertionFailure() << "no labels for " << helpFile;
    for (const std::string& label : labels) {
        const std::string wanted = lower(label);
        size_t line = 0, at = std::string::npos;
        for (; line < help.size() && at == std::string::npos; ++line)
            for (size_t i = 0; i < help[line].size() && at == std::string::npos; ++i)
                if ((i == 0 || help[line][i - 1] == ' ') && help[line].compare(i, wanted.size(), wanted) == 0) at = i;
        if (at == std::string::npos) return testing::AssertionFailure() << helpFile << ": no paragraph for \"" << label << "\"";
        if (at != 0 || line < 2 || (help[line - 2] != " " && help[line - 2] != "description"))
            return testing::AssertionFailure() << helpFile << ": \"" << label << "\" first found in line " << line << ": "
                                               << help[line - 1];
    }
    return testing::AssertionSuccess();
}
