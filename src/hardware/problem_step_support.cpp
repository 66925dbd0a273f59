#include <windows.h>

#include <cstdio>

#include "hardware/problem_checks.h"

#include "app/app_globals.h"
#include "equipment/equipment_info.h"

bool Windows95ChecksApply()
{
    return gEquipmentInfo && gEquipmentInfo->platform == '9';
}

bool WindowsFolderFile(const char* name, char* path, unsigned long size)
{
    const UINT length = GetWindowsDirectoryA(path, size);
    if (length == 0 || length >= size) return false;
    const size_t room = size - length;
    const int written = snprintf(path + length, room, "%s%s", path[length - 1] == '\\' ? "" : "\\", name);
    return written > 0 && size_t(written) < room;
}

int SystemIniInt(const char* section, const char* key, int fallback)
{
    char path[MAX_PATH];
    if (!WindowsFolderFile("system.ini", path, sizeof path)) return fallback;
    return int(GetPrivateProfileIntA(section, key, fallback, path));
}

void NoChecksStep(ProblemReport& report)
{
    ReportFindings(report, {});
}

AnalyzingPanelAside::AnalyzingPanelAside()
    : wasShowing_(AnalyzingPanel && IsWindowVisible(AnalyzingPanel))
{
    if (wasShowing_) HideAnalyzingPanel();
}

AnalyzingPanelAside::~AnalyzingPanelAside()
{
    if (wasShowing_) ShowAnalyzingPanel();
}
