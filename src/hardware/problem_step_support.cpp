#include <windows.h>

#include "hardware/problem_checks.h"

#include "app/app_globals.h"
#include "equipment/equipment_info.h"

bool Windows95ChecksApply()
{
    return gEquipmentInfo && gEquipmentInfo->platform == '9';
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
