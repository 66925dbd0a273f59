#include <windows.h>

#include "hardware/problem_checks.h"

#include "app/app_globals.h"
#include "equipment/equipment_info.h"
#include "services/files.h"

bool Windows95ChecksApply()
{
    return gEquipmentInfo && gEquipmentInfo->platform == '9';
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
