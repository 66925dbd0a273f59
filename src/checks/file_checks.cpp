// The file, registry and configuration checks of Diagnose Windows Problems. Each rebuilds
// StringList from its first entry, shows it in the report list and returns its line count.
// They only read: files are found and read, keys opened for reading, and the current
// directory is never changed (every path is a full path).
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "checks/file_check_rules.h"
#include "checks/windows_checks.h"
#include "equipment/device_record.h"
#include "equipment/enum_tree.h"
#include "equipment/equipment_info.h"
#include "platform/swap_file.h"
#include "services/drives.h"
#include "services/files.h"
#include "services/text_rules.h"
#include "services/report_slot.h"
#include "services/string_list.h"
#include "ui/report_list.h"

namespace {

void Heading(const char* text)
{
    FormatCheckHeading(StringListNext(), kReportLineSlot, text);
}

void Test(const char* label, bool passed)
{
    FormatCheckTest(StringListNext(), kReportLineSlot, label, passed);
}

void EmptyLine()
{
    StringListNext();
}

int ShowReport(HWND list)
{
    ReportShowLines(list, StringListBase, StringListCount);
    return int(StringListCount);
}

// The checks of files and settings that only Windows 95 has run where the platform is
// Windows 95, as the equipment record found it (or the system says, before it was filled).
bool IsWindows95Platform()
{
    if (gEquipmentInfo && gEquipmentInfo->platform) return gEquipmentInfo->platform == '9';
    const DWORD version = GetVersion();
    return (version & 0x80000000u) && (version & 0xFF) >= 4;
}

// The report of a Windows 95 check elsewhere: its first heading and why nothing follows.
int DoesNotApply(HWND list, const char* heading)
{
    StringListCount = 0;
    Heading(heading);
    FormatCheckGrey(StringListNext(), kReportLineSlot, kDoesNotApply);
    return ShowReport(list);
}

std::string WindowsDirectory()
{
    char path[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(path, sizeof path);
    return (length > 0 && length < sizeof path) ? std::string(path) : std::string("C:\\Windows");
}

// FileExists of folder + "\" + name; a path too long for the system is not there.
bool ExistsIn(const std::string& folder, const char* name)
{
    const std::string path = folder + "\\" + name;
    return path.size() < MAX_PATH && FileExists(path.c_str());
}

// Probing the roots of removable drives must not ask for a disk.
struct QuietDriveErrors {
    QuietDriveErrors() : oldMode(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~QuietDriveErrors() { SetErrorMode(oldMode); }
    UINT oldMode;
};

// The entries of the root of drive letter, in listing order, without "." and "..", which
// take no root directory entry.
std::vector<std::string> RootEntries(char letter)
{
    std::vector<std::string> names;
    const char pattern[] = {letter, ':', '\\', '*', '.', '*', '\0'};
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(pattern, &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (strcmp(found.cFileName, ".") != 0 && strcmp(found.cFileName, "..") != 0) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return names;
}

// The whole content of path and its length, or an empty block. The caller frees it.
struct FileBlock {
    explicit FileBlock(const char* path) : bytes(ReadWholeFile(path, &length)) {}
    ~FileBlock()
    {
        if (bytes) GlobalFree(bytes);
    }
    FileBlock(const FileBlock&) = delete;
    FileBlock& operator=(const FileBlock&) = delete;
    DWORD length = 0;
    char* bytes;
};

// Size of the first match of path in 64 bits; false when there is none.
bool FoundFileLength(const char* path, uint64_t* length)
{
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(path, &found);
    if (find == INVALID_HANDLE_VALUE) return false;
    FindClose(find);
    *length = (uint64_t(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return true;
}

bool FileThere(const char* path)
{
    return path[0] && FileExists(path);
}

}  // namespace

int CheckSystemFiles(HWND list)
{
    if (!IsWindows95Platform()) return DoesNotApply(list, kSystemFileRows[0].text);
    QuietDriveErrors quiet;
    SystemFileLookup lookup;
    StringListCount = 0;
    for (int i = 0; i < kSystemFileRowCount; ++i) {
        const SystemFileRow& row = kSystemFileRows[i];
        if (row.place == 0) {
            if (i > 0) EmptyLine();
            Heading(row.text);
        } else {
            Test(row.text, lookup.Count(row.text, row.place) > 0);
        }
    }
    return ShowReport(list);
}

int CheckDirectoryTree(HWND list)
{
    if (!IsWindows95Platform()) return DoesNotApply(list, "System Directory Structure");
    StringListCount = 0;
    const std::string windows = WindowsDirectory();
    Heading("System Directory Structure");
    for (const DirectoryRow& row : kDirectoryRows)
        Test(row.label, row.path[0] ? ExistsIn(windows, row.path) : FileExists(windows.c_str()) != 0);
    return ShowReport(list);
}

int CheckRegistry(HWND list)
{
    if (!IsWindows95Platform()) return DoesNotApply(list, "Registry Classes");
    StringListCount = 0;
    Heading("Registry Classes");
    for (const char* deviceClass : kRegistryClasses)
        Test(deviceClass, WalkEnumTree(deviceClass, kMatchClass, nullptr, 0, kWalkCount) > 0);
    return ShowReport(list);
}

int CheckStaticVxds(HWND list)
{
    if (!IsWindows95Platform()) return DoesNotApply(list, "Static VxD Status");
    StringListCount = 0;
    Heading("Static VxD Status");
    for (const char* name : kStaticVxdNames) {
        const std::string key = std::string(kVxdKeyPrefix) + name;
        char value[255] = {};
        DWORD length = sizeof value;
        const bool read = RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), "StaticVxD", RRF_RT_REG_SZ, nullptr, value,
                                       &length) == ERROR_SUCCESS;
        Test(name, IsBuiltInStaticVxd(read ? value : nullptr));
    }
    return ShowReport(list);
}

int CheckRootDirectory(HWND list)
{
    StringListCount = 0;
    for (char letter = 'C'; letter <= 'Z'; ++letter) {
        if (!IsFixedDrive(letter)) continue;
        const std::vector<std::string> entries = RootEntries(letter);
        std::vector<const char*> names;
        names.reserve(entries.size());
        for (const std::string& entry : entries) names.push_back(entry.c_str());
        AppendRootDirectoryReport(letter, names.data(), int(names.size()), StringListNext);
    }
    return ShowReport(list);
}

int CheckMemory(HWND list)
{
    StringListCount = 0;
    Heading("Virtual Memory");
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    const bool known = GlobalMemoryStatusEx(&status) != 0;
    Test("Available", known && status.ullTotalVirtual != 0);
    void* reserved = VirtualAlloc(nullptr, 1000, MEM_RESERVE, PAGE_READWRITE);
    Test("Size Check", reserved != nullptr);
    Test("Allocation Check", reserved != nullptr);
    if (reserved) VirtualFree(reserved, 0, MEM_RELEASE);
    EmptyLine();
    const SwapFile swap = FindSwapFile();
    SwapFigures figures = {};
    figures.swapBytes = swap.bytes;
    figures.freeBytes = DriveFreeBytes(swap.drive);
    figures.physicalBytes = known ? status.ullTotalPhys : 0;
    AppendSwapFileReport(figures, swap.drive, StringListNext);
    return ShowReport(list);
}

int CheckRealModeDrivers(HWND list)
{
    static const char kConfig[] = "C:\\CONFIG.SYS";
    static const char kAutoexec[] = "C:\\AUTOEXEC.BAT";
    char heading[64];
    snprintf(heading, sizeof heading, "Real-Mode Drivers in %s", kConfig);
    if (!IsWindows95Platform()) return DoesNotApply(list, heading);
    StringListCount = 0;
    Heading(heading);
    {
        FileBlock config(kConfig);
        if (config.bytes && config.length) AppendConfigDriverLines(config.bytes, config.length, StringListNext);
    }
    EmptyLine();
    snprintf(heading, sizeof heading, "Real-Mode Drivers in %s", kAutoexec);
    Heading(heading);
    {
        FileBlock autoexec(kAutoexec);
        if (autoexec.bytes && autoexec.length)
            AppendAutoexecProgramLines(autoexec.bytes, autoexec.length, StringListNext);
    }
    return ShowReport(list);
}

int CheckStartupFiles(HWND list)
{
    if (!IsWindows95Platform()) return DoesNotApply(list, "Startup Files");
    StringListCount = 0;
    const std::string windows = WindowsDirectory();
    Heading("Startup Files");
    for (const StartupFileRow& row : kStartupFiles)
        Test(row.name, ExistsIn(row.inWindowsDirectory ? windows : std::string("c:"), row.name));

    EmptyLine();
    static const char kMsDosSys[] = "C:\\MSDOS.SYS";
    MsDosSysFacts facts = {};
    facts.present = FoundFileLength(kMsDosSys, &facts.length);
    if (facts.present) {
        facts.hasPathsSection = FileContainsText(kMsDosSys, "[Paths]") != 0;
        MsDosSysPaths paths = {};
        {
            FileBlock content(kMsDosSys);
            MsDosSysPathsOf(content.bytes ? content.bytes : "", content.length, &paths);
        }
        facts.winDirWinComFound = FileThere(paths.winDirWinCom);
        facts.winBootDirWinComFound = FileThere(paths.winBootDirWinCom);
        facts.hostDriveIoSysFound = FileThere(paths.hostDriveIoSys);
    }
    AppendMsDosSysReport(facts, StringListNext);

    const struct {
        const char* heading;
        const char* file;
        const char* const* sections;
        int count;
    } profiles[] = {{"WIN.INI", "win.ini", kWinIniSections, kWinIniSectionCount},
                    {"SYSTEM.INI", "system.ini", kSystemIniSections, kSystemIniSectionCount}};
    for (const auto& profile : profiles) {
        EmptyLine();
        Heading(profile.heading);
        // Read once, searched for every section.
        const FileBlock content((windows + "\\" + profile.file).c_str());
        for (int i = 0; i < profile.count; ++i)
            Test(profile.sections[i], content.bytes && content.length > 0 &&
                                          BufferContainsText(content.bytes, content.length, profile.sections[i]) != 0);
    }
    return ShowReport(list);
}
