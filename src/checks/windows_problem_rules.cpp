#include "checks/windows_problem_rules.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "services/report_slot.h"
#include "services/text_rules.h"
#include "ui/report_line.h"

// Writes one line into a fresh slot; snprintf cuts whatever would not fit.
static void AppendLine(const ReportSink& sink, const char* format, ...)
{
    char* slot = sink.next(sink.context);
    va_list arguments;
    va_start(arguments, format);
    vsnprintf(slot, kReportLineSlot, format, arguments);
    va_end(arguments);
}

static void AppendHeading(const ReportSink& sink, const char* heading)
{
    AppendLine(sink, REPORT_HEADING "%s", heading);
}

static void AppendValueLine(const ReportSink& sink, const char* label, const char* value)
{
    AppendLine(sink, REPORT_CAPTION "%s\t" REPORT_VALUE "%s", label, value);
}

static void AppendTestLine(const ReportSink& sink, const char* test, bool isFailed)
{
    AppendValueLine(sink, test, isFailed ? "Failed" : "Passed");
}

// ---- Problem topics ----

struct TopicGroup {
    const char* heading;
    const char* const* topics;
    int topicCount;
};

template <size_t N>
constexpr TopicGroup Group(const char* heading, const char* const (&topics)[N])
{
    return {heading, topics, int(N)};
}

static const char* const kStartupProblems[] = {
    "Stops responding (hangs) at the logo screen",
    "Missing <device name>",
    "A .386 or .VXD file in SYSTEM.INI cannot be found",
    "There is not enough memory to load the registry",
    "Cannot find a device file that may be needed to run Windows",
    "The logo screen is displayed incorrectly",
    "An MS-DOS program tries to restart the system, and fails",
    "You cannot run this version of Windows on DOS 6.x or earlier",
    "Insufficient memory to initialize Windows",
    "Windows could not combine VxDs into a monolithic file before starting",
    "Incorrect MS-DOS version",
    "Invalid System Disk",
    "Invalid COMMAND.COM",
};

static const char* const kProblemTypes[] = {
    "An exclamation point in a yellow circle in Device Manager",
    "An X in a red circle in Device Manager",
    "Slow performance",
    "Hardware acting erratically",
    "Hardware not working at all",
    "Error messages that are difficult to interpret",
    "Unrelated error messages",
};

static const char* const kDiskDriveErrors[] = {
    "Not ready reading drive <x>. Abort, Retry, Fail?",
    "Error:MSGSRV32 has performed an illegal operation",
};
static const char* const kRegistryErrors[] = {
    "There is not enough memory to load the registry",
    "Cannot find a device file that may be needed to run Windows",
};
static const char* const kComErrors[] = {
    "This application's attempt to get access to COM<x> has failed",
};
static const char* const kFileErrors[] = {
    "Cannot make directory entry - <filename>",
    "<filename>: This filename is not valid",
    "Unable to create <new folder>",
    "Bad or Missing Command Interpreter",
    "A.386 or .VXD file is stated to be in the System.Ini file",
    "Missing Shortcut",
    "Folder <Folder Name> does not exist",
    "Error Renaming File",
    "Unable to access drive errors",
    "File not found errors using Windows 3.1 or MS-DOS programs",
};
static const char* const kMemoryErrors[] = {
    "Error: Out of memory",
    "Insufficient memory to initialize Windows",
    "<Program> caused an Invalid Page Fault in Module <something>",
    "General Protection Fault",
    "Invalid Page Fault",
    "Your computer does not have enough available memory to run XXXXX",
    "Win32 Loader Error: Win32 Exec App unable to find <file>",
    "Error Starting Program: There is not enough memory to start <file>",
    "Insufficient memory to perform operation",
    "Not enough extended memory available to run Windows",
};
static const char* const kFontErrors[] = {"True Type Rasterizer Is Not Enabled"};
static const char* const kMonitorErrors[] = {"Unknown Monitor"};
static const char* const kVideoCardErrors[] = {
    "An error occurred while trying to initialize the video adapter",
    "Your display adapter is not configured properly",
};

static const TopicGroup kBootGroups[] = {Group("Startup Problems", kStartupProblems)};
static const TopicGroup kConflictGroups[] = {Group("Problem Types", kProblemTypes)};
static const TopicGroup kErrorGroups[] = {
    Group("Disk Drive", kDiskDriveErrors), Group("Registry", kRegistryErrors), Group("COM", kComErrors),
    Group("Files", kFileErrors),           Group("Memory", kMemoryErrors),     Group("Fonts", kFontErrors),
    Group("Monitor", kMonitorErrors),      Group("Video Card", kVideoCardErrors),
};

struct TopicGroups {
    const TopicGroup* groups;
    int groupCount;
};

static const TopicGroups kTopics[kProblemTopicCount] = {
    {kBootGroups, int(sizeof kBootGroups / sizeof kBootGroups[0])},
    {kConflictGroups, int(sizeof kConflictGroups / sizeof kConflictGroups[0])},
    {kErrorGroups, int(sizeof kErrorGroups / sizeof kErrorGroups[0])},
};

int AppendProblemTopic(int topic, const ReportSink& sink)
{
    if (topic < 0 || topic >= kProblemTopicCount) return 0;
    int count = 0;
    const TopicGroups& topics = kTopics[topic];
    for (int g = 0; g < topics.groupCount; ++g) {
        const TopicGroup& group = topics.groups[g];
        if (g > 0) {
            AppendLine(sink, " ");
            ++count;
        }
        AppendHeading(sink, group.heading);
        for (int t = 0; t < group.topicCount; ++t) AppendLine(sink, REPORT_CAPTION "%s", group.topics[t]);
        count += 1 + group.topicCount;
    }
    return count;
}

// ---- Device contention ----

static bool IsBlank(char c)
{
    return c == ' ' || c == '\t';
}

long ProfileTextInteger(const char* text, long fallback)
{
    if (!text) return fallback;
    while (IsBlank(*text)) ++text;
    if (*text == '\0') return fallback;
    bool isNegative = false;
    if (*text == '-' || *text == '+') isNegative = *text++ == '-';
    // Digits past what a 32-bit profile integer can hold are ignored rather than wrapped.
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value < 0x80000000LL) value = value * 10 + (*text - '0');
    if (value > 0x7FFFFFFFLL) value = isNegative ? 0x80000000LL : 0x7FFFFFFFLL;
    return long(isNegative ? -value : value);
}

int AppendDeviceContention(const bool isPresent[kSerialPortCount], const long autoAssign[kSerialPortCount],
                           const ReportSink& sink)
{
    AppendHeading(sink, "Test Results");
    char modemRisk[64] = "Low";
    bool mayHang = false;
    for (int port = 0; port < kSerialPortCount; ++port) {
        char label[32];
        snprintf(label, sizeof label, "COM%d Protection Level", port + 1);
        const char* protection = "No Port Found";
        if (isPresent[port]) {
            const long value = autoAssign[port];
            if (value < 0) {
                protection = "Maximum";
            } else if (value == 0) {
                protection = "Minimum";
                snprintf(modemRisk, sizeof modemRisk, "High");
            } else {
                protection = "Moderate";
                mayHang = true;
                snprintf(modemRisk, sizeof modemRisk, "Moderate @ %ld seconds", value);
            }
        }
        AppendValueLine(sink, label, protection);
    }
    AppendValueLine(sink, "Risk of System Hanging", mayHang ? "High" : "Low");
    AppendValueLine(sink, "Risk of Modem Problems", modemRisk);
    return 3 + kSerialPortCount;
}

// ---- Animated cursors ----

int AppendAnimatedCursors(bool hasIosLog, int bitsPerPixel, const ReportSink& sink)
{
    const bool hasFewColours = bitsPerPixel < 8;
    AppendHeading(sink, "Test Results");
    AppendTestLine(sink, "Protected Mode Disk Drivers Only", hasIosLog);
    AppendTestLine(sink, "Color Mode Compatible", hasFewColours);
    AppendValueLine(sink, "Cursor Type Possible",
                    hasIosLog || hasFewColours ? "Static Color Cursors Only" : "Animated Color Cursors");
    return 4;
}

// ---- Boot log ----

static const char* const kStartupFileNames[kStartupFileCount] = {"CONFIG.SYS", "AUTOEXEC.BAT", "SYSTEM.INI",
                                                                 "WIN.INI"};

// One row: the name is cut so that the On Disk and Location fields always fit behind it.
static void AppendFailureRow(const ReportSink& sink, const char* name, const char* onDisk, const char* location)
{
    char tail[64];
    snprintf(tail, sizeof tail, "\t%s\t" REPORT_VALUE "%s", onDisk, location);
    const int nameRoom = kReportLineSlot - 1 - int(sizeof REPORT_VALUE - 1) - int(strlen(tail));
    AppendLine(sink, REPORT_VALUE "%.*s%s", nameRoom, name, tail);
}

int AppendBootLogFailures(const char* log, size_t length, const BootLogProbes& probes, const ReportSink& sink)
{
    AppendLine(sink, REPORT_HEADING "Configuration Problem\t" REPORT_HEADING "On Disk\t" REPORT_HEADING "Location");
    int count = 1;
    if (!log) return count;
    length = strnlen(log, length);
    std::vector<std::string> listed;
    size_t position = 0, start = 0, lineLength = 0;
    while (NextReportRun(log, length, &position, '\n', &start, &lineLength)) {
        std::string line(log + start, lineLength);
        if (line.find("FAIL") == std::string::npos) continue;
        while (!line.empty() && line.back() == '\r') line.pop_back();
        const std::string name = ProfileLineValue(line.c_str());
        if (name.empty()) continue;
        // A name the log repeats (each retry of a driver is logged again) gets one row.
        bool isListed = false;
        for (const std::string& earlier : listed) isListed = isListed || earlier == name;
        if (isListed) continue;
        listed.push_back(name);

        const char* onDisk = REPORT_VALUE "N/A";
        if (name.find('.') != std::string::npos)
            onDisk = probes.isOnDisk(name.c_str(), probes.context) ? REPORT_VALUE "Passed" : REPORT_WARNING "Failed";
        const char* location = "Internal";
        for (int file = 0; file < kStartupFileCount; ++file) {
            if (probes.isInStartupFile(file, name.c_str(), probes.context)) {
                location = kStartupFileNames[file];
                break;
            }
        }
        AppendFailureRow(sink, name.c_str(), onDisk, location);
        ++count;
    }
    return count;
}

// ---- MS-DOS mode ----

int AppendPifFiles(const char* const* paths, int count, const ReportSink& sink)
{
    AppendHeading(sink, "PIF Files Found");
    for (int i = 0; i < count; ++i) AppendLine(sink, REPORT_VALUE "%s", paths[i]);
    return 1 + count;
}

// ---- DriveSpace ----

bool IsDriveSpaceVolume(const char* path)
{
    if (!path) return false;
    const char* name = path;
    for (const char* c = path; *c; ++c)
        if (*c == '\\' || *c == '/' || *c == ':') name = c + 1;
    const char* dot = strrchr(name, '.');
    return dot && dot[1] >= '0' && dot[1] <= '9';
}

static bool SameTextIgnoringCase(const char* a, size_t aLength, const char* b)
{
    if (strlen(b) != aLength) return false;
    for (size_t i = 0; i < aLength; ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = char(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = char(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

bool SectionlessProfileValue(const char* text, size_t length, const char* key, char* out, size_t size)
{
    if (size > 0) out[0] = '\0';
    if (!text || !key) return false;
    length = strnlen(text, length);
    size_t position = 0, start = 0, lineLength = 0;
    while (NextReportRun(text, length, &position, '\n', &start, &lineLength)) {
        std::string line(text + start, lineLength);
        while (!line.empty() && (line.back() == '\r' || IsBlank(line.back()))) line.pop_back();
        size_t first = 0;
        while (first < line.size() && IsBlank(line[first])) ++first;
        if (first == line.size() || line[first] == ';') continue;
        if (line[first] == '[') return false;  // the entries before any section end here
        const size_t equals = line.find('=', first);
        if (equals == std::string::npos) continue;
        size_t keyEnd = equals;
        while (keyEnd > first && IsBlank(line[keyEnd - 1])) --keyEnd;
        if (!SameTextIgnoringCase(line.c_str() + first, keyEnd - first, key)) continue;
        if (size > 0) snprintf(out, size, "%s", ProfileLineValue(line.c_str()));
        return true;
    }
    return false;
}

int AppendDriveSpace(const DriveSpaceFacts& facts, const ReportSink& sink)
{
    AppendHeading(sink, "Test Results");
    AppendTestLine(sink, "DriveSpace Real-Mode Driver", !facts.hasRealModeDriver);
    AppendTestLine(sink, "DriveSpace Protected-Mode Driver", !facts.hasProtectedModeDriver);
    AppendTestLine(sink, "DriveSpace Initialization File", !facts.hasInitializationFile);
    int count = 4;
    for (int i = 0; i < facts.foundCount; ++i) {
        if (!IsDriveSpaceVolume(facts.found[i])) continue;
        AppendValueLine(sink, "DriveSpace Volumes", facts.found[i]);
        ++count;
    }
    char value[kReportLineSlot];
    const bool hasMaximum = SectionlessProfileValue(facts.ini, facts.iniLength, "MaxRemovableDrives", value, sizeof value);
    AppendLine(sink, REPORT_CAPTION "MaxRemovableDrives\t" REPORT_VALUE "%ld", hasMaximum ? ProfileTextInteger(value, 0) : 0L);
    if (!SectionlessProfileValue(facts.ini, facts.iniLength, "AutoMount", value, sizeof value))
        snprintf(value, sizeof value, "None");
    AppendValueLine(sink, "AutoMount", value);
    if (!SectionlessProfileValue(facts.ini, facts.iniLength, "firstdrive", value, sizeof value))
        snprintf(value, sizeof value, "None");
    AppendValueLine(sink, "First Compressed Drive", value);
    return count + 3;
}
