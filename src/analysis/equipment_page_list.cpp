#include <windows.h>

#include "analysis/equipment_page_list.h"

#include "equipment/equipment_pages.h"
#include "equipment/inventory.h"
#include "resources/ids_equipment.h"
#include "sampling/system_stats.h"
#include "services/drives.h"
#include "ui/report_list.h"

// What page shows besides EquipmentInfo, asked now.
static PageFacts AskPageFacts(int page)
{
    PageFacts facts = {};
    if (page == 2 && gLiveSample) facts.memoryLoad = gLiveSample->memoryLoad;
    if (page != 4) return facts;
    for (int drive = 0; drive < kPageDriveCount; ++drive) {
        const char letter = char('A' + drive);
        facts.driveTypes[drive] = DriveTypeOf(letter);
        if (facts.driveTypes[drive] == DRIVE_REMOVABLE) facts.biosTypes[drive] = BiosDriveType(uint32_t(drive));
        if (facts.driveTypes[drive] == DRIVE_FIXED) facts.driveBytes[drive] = DriveTotalBytes(letter);
    }
    return facts;
}

void ShowEquipmentPage(HWND dialog)
{
    static int page = 0;
    if (page > kEquipmentPageCount - 1) page = 0;
    if (gEquipmentInfo) {
        char lines[kEquipmentPageLines][kReportLineSlot];
        FormatEquipmentPage(*gEquipmentInfo, AskPageFacts(page), page, lines);
        HWND list = GetDlgItem(dialog, IDC_EQUIPMENT_LIST);
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        for (int i = 0; i < kEquipmentPageLines; ++i) ReportReplaceLine(dialog, IDC_EQUIPMENT_LIST, i, lines[i]);
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    ++page;
}
