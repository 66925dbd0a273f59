// The five Windows problem checks: each gathers its facts from the running system (profile
// entries, files, whole-disk searches, the display) and lets windows_problem_rules write
// the report into StringList, which it then shows in the report list. They only read.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "checks/windows_checks.h"
#include "checks/windows_problem_rules.h"
#include "equipment/equipment_info.h"
#include "services/files.h"
#include "services/name_search_memo.h"
#include "services/string_list.h"
#include "services/text_rules.h"
#include "services/walks.h"
#include "ui/report_list.h"

static char* NextStringListSlot(void*)
{
    return StringListNext();
}

static const ReportSink kStringListSink = {NextStringListSlot, nullptr};

// Starts a report: StringList from its first slot.
static void StartReport()
{
    StringListCount = 0;
}

static int ShowReport(HWND list)
{
    ReportShowLines(list, StringListBase, StringListCount);
    return int(StringListCount);
}

// The whole-disk searches set the current directory to each drive's root as they go; the
// checks put it back, so a check leaves the process as it found it.
class CurrentFolderKept {
public:
    CurrentFolderKept()
    {
        const DWORD length = GetCurrentDirectoryA(sizeof folder_, folder_);
        isKept_ = length > 0 && length < sizeof folder_;
    }
    ~CurrentFolderKept()
    {
        if (isKept_) SetCurrentDirectoryA(folder_);
    }
    CurrentFolderKept(const CurrentFolderKept&) = delete;
    CurrentFolderKept& operator=(const CurrentFolderKept&) = delete;

private:
    char folder_[MAX_PATH];
    bool isKept_;
};

static int CountFoldersHolding(const char* pattern)
{
    CurrentFolderKept kept;
    return CountDirsWithMatch(pattern);
}

// The two whole-disk searches of these checks share one walk while the disks show no
// change, so running MS-DOS Mode and Drive Space one after the other walks once.
static NameSearchMemo& DiskNames()
{
    static NameSearchMemo memo({".PIF", "DRVSPAC"});
    return memo;
}

void ForgetDiskNameSearches()
{
    DiskNames().Forget();
}

// Every path whose file name holds needle (upper case), as CollectFilesByName stores them.
static std::vector<std::string> CollectPathsNamed(const char* needle)
{
    CurrentFolderKept kept;
    return DiskNames().PathsNamed(needle);
}

int CheckDeviceContention(HWND list)
{
    StartReport();
    bool isPresent[kSerialPortCount] = {};
    long autoAssign[kSerialPortCount];
    char systemIni[MAX_PATH];
    const bool hasSystemIni = WindowsFolderFile("system.ini", systemIni, sizeof systemIni);
    for (int port = 0; port < kSerialPortCount; ++port) {
        autoAssign[port] = kAutoAssignMissing;
        isPresent[port] = gEquipmentInfo && gEquipmentInfo->comPresent[port] != 0;
        if (!isPresent[port] || !hasSystemIni) continue;
        // Read as text through the profile functions (which also follow the NT systems'
        // mapping of system.ini into the registry) and parsed here, so "-1" stays negative.
        char key[20], value[32];
        snprintf(key, sizeof key, "COM%dAutoAssign", port + 1);
        GetPrivateProfileStringA("386Enh", key, "", value, sizeof value, systemIni);
        autoAssign[port] = ProfileTextInteger(value, kAutoAssignMissing);
    }
    AppendDeviceContention(isPresent, autoAssign, kStringListSink);
    return ShowReport(list);
}

int CheckAnimatedCursors(HWND list)
{
    StartReport();
    // Windows 95 writes IOS.LOG when a disk has to run through a real-mode driver.
    char iosLog[MAX_PATH];
    const bool hasIosLog = WindowsFolderFile("IOS.LOG", iosLog, sizeof iosLog) && FileExists(iosLog);
    HDC dc = GetDC(list);
    const int bitsPerPixel = dc ? GetDeviceCaps(dc, BITSPIXEL) : 0;
    if (dc) ReleaseDC(list, dc);
    AppendAnimatedCursors(hasIosLog, bitsPerPixel, kStringListSink);
    return ShowReport(list);
}

static bool IsOnFixedDrive(const char* name, void*)
{
    // A name with a drive or a root names one file: its presence is the whole answer.
    if (name[0] == '\\' || (name[0] != '\0' && name[1] == ':')) return FileExists(name) != 0;
    return CountFoldersHolding(name) > 0;
}

static bool IsInStartupFile(int file, const char* name, void*)
{
    char path[MAX_PATH];
    switch (file) {
    case kConfigSys:
        return FileContainsText("C:\\config.sys", name) != 0;
    case kAutoexecBat:
        return FileContainsText("C:\\autoexec.bat", name) != 0;
    case kSystemIni:
        return WindowsFolderFile("system.ini", path, sizeof path) && FileContainsText(path, name);
    case kWinIni:
        return WindowsFolderFile("win.ini", path, sizeof path) && FileContainsText(path, name);
    }
    return false;
}

int CheckConfiguration(HWND list)
{
    StartReport();
    DWORD length = 0;
    char* log = ReadWholeFile("C:\\BOOTLOG.TXT", &length);
    if (log && length > 0) UppercaseBuffer(log, length);
    const BootLogProbes probes = {IsOnFixedDrive, IsInStartupFile, nullptr};
    AppendBootLogFailures(length > 0 ? log : nullptr, length, probes, kStringListSink);
    if (log) GlobalFree(log);
    return ShowReport(list);
}

int CheckMsDosMode(HWND list)
{
    StartReport();
    const std::vector<std::string> found = CollectPathsNamed(".PIF");
    std::vector<const char*> paths;
    for (const std::string& path : found) paths.push_back(path.c_str());
    AppendPifFiles(paths.data(), int(paths.size()), kStringListSink);
    return ShowReport(list);
}

int CheckDriveSpace(HWND list)
{
    StartReport();
    DriveSpaceFacts facts = {};
    // One walk answers every question: the drivers, the initialization file and the
    // volumes all have names starting "DRVSPAC" (names are matched in upper case).
    const std::vector<std::string> collected = CollectPathsNamed("DRVSPAC");
    std::vector<const char*> paths;
    for (const std::string& path : collected) {
        const size_t slash = path.rfind('\\');
        std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
        CharUpperBuffA(&name[0], DWORD(name.size()));
        facts.hasRealModeDriver |= name == "DRVSPACE.BIN";
        facts.hasProtectedModeDriver |= name == "DRVSPACX.VXD";
        facts.hasInitializationFile |= name == "DRVSPACE.INI";
        if (name.rfind("DRVSPACE", 0) == 0) paths.push_back(path.c_str());
    }
    facts.found = paths.data();
    facts.foundCount = int(paths.size());
    DWORD length = 0;
    char* ini = ReadWholeFile("C:\\drvspace.ini", &length);
    facts.ini = length > 0 ? ini : nullptr;
    facts.iniLength = length;
    AppendDriveSpace(facts, kStringListSink);
    if (ini) GlobalFree(ini);
    return ShowReport(list);
}
