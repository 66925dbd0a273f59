// The program lists: the MS-DOS programs and the dangerous utilities found among the
// program files of the fixed drives, and the fixed list of incompatible programs.
//
// Primary thread only: the inventory below exists only while one report is being built.
#include <windows.h>

#include "checks/program_list_rules.h"
#include "checks/program_lists.h"
#include "resources/ids_checks.h"
#include "services/alloc.h"
#include "services/report_slot.h"
#include "services/sort.h"
#include "services/string_list.h"
#include "ui/quick_help.h"
#include "ui/report_list.h"

// The inventory of the report being built: kProgramRecordSlots records, count of them used.
static ProgramFileRecord* gInventory = nullptr;
static int32_t gInventoryCount = 0;

static int VisitProgramFile(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    if (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return 0;
    const uint64_t written = (uint64_t(found->ftLastWriteTime.dwHighDateTime) << 32) |
                             found->ftLastWriteTime.dwLowDateTime;
    AddProgramFile(gInventory, &gInventoryCount, found->cFileName, written);
    return 0;
}

// Fills the inventory from every fixed drive (or the walk a test hands in) and returns the
// count of records: at most kProgramRecordCap.
static int32_t BuildProgramInventory(ProgramWalk walk)
{
    gInventoryCount = 0;
    walk(VisitProgramFile, nullptr);
    return gInventoryCount;
}

static int ProgramRecordLess(int32_t i, int32_t j)
{
    return ProgramRecordBefore(gInventory[i], gInventory[j]);
}

static void ProgramRecordSwap(int32_t i, int32_t j)
{
    const ProgramFileRecord held = gInventory[i];
    gInventory[i] = gInventory[j];
    gInventory[j] = held;
}

static void CreateSortedInventory(ProgramWalk walk)
{
    gInventory = static_cast<ProgramFileRecord*>(AllocChecked(GPTR, sizeof(ProgramFileRecord) * kProgramRecordSlots));
    const int32_t count = BuildProgramInventory(walk);
    SortByIndex(0, count - 1, ProgramRecordLess, ProgramRecordSwap);
}

static void DestroyInventory()
{
    GlobalFree(gInventory);
    gInventory = nullptr;
    gInventoryCount = 0;
}

static std::vector<TableRow> LoadTable(UINT resourceId, int fieldCount)
{
    const std::string text = HelpTextResource(resourceId);
    return ParseProgramTable(text.data(), text.size(), fieldCount);
}

// Sorts the rows below the heading, shows every line in the list and returns the count.
static int ShowReport(HWND list, bool sortRows)
{
    if (sortRows && StringListCount > 2) SortByIndex(1, int32_t(StringListCount) - 1, StringListLess, StringListSwap);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ReportShowLines(list, StringListBase, StringListCount);
    return int(StringListCount);
}

// "DOS PROGRAMS"
static bool AddMsDosRow(const ProgramFileRecord& record, void* argument)
{
    const TableRow& row = *static_cast<const TableRow*>(argument);
    const char* const fields[] = {row[kMsDosProgram].c_str(), row[kMsDosWord].c_str(), row[kMsDosCompany].c_str()};
    FormatProgramRow(StringListNext(), kReportLineSlot, fields, 3);
    return false;  // every copy of the program is reported
}

int ListMsDosModeProgramsOf(HWND list, ProgramWalk walk)
{
    StringListCount = 0;
    const char* const titles[] = {"Program Name", "FileName", "Company"};
    FormatProgramHeading(StringListNext(), kReportLineSlot, titles, 3, false);
    CreateSortedInventory(walk);
    for (const TableRow& row : LoadTable(IDR_PROGRAMS_MSDOS, kMsDosFieldCount))
        MatchFileWord(gInventory, gInventoryCount, row[kMsDosWord].c_str(), AddMsDosRow, const_cast<TableRow*>(&row));
    DestroyInventory();
    return ShowReport(list, false);
}

// "DANGEROUS PROGRAMS"
static bool AddDangerousRow(const ProgramFileRecord& record, void* argument)
{
    const TableRow& row = *static_cast<const TableRow*>(argument);
    FILETIME written;
    written.dwLowDateTime = DWORD(record.lastWrite);
    written.dwHighDateTime = DWORD(record.lastWrite >> 32);
    SYSTEMTIME date;
    if (!FileTimeToSystemTime(&written, &date)) return false;
    if (!IsDangerousFileDate(date.wMonth, date.wYear)) return false;  // a newer copy: keep looking
    FormatDangerousRow(StringListNext(), kReportLineSlot, row[kDangerousUtility].c_str(), record.name, date.wMonth,
                       date.wDay, date.wYear);
    return true;  // one file per row
}

int ListDangerousProgramsOf(HWND list, ProgramWalk walk)
{
    StringListCount = 0;
    const char* const titles[] = {"Possible Problem Program", "File Name", "File Date"};
    FormatProgramHeading(StringListNext(), kReportLineSlot, titles, 3, false);
    CreateSortedInventory(walk);
    for (const TableRow& row : LoadTable(IDR_PROGRAMS_DANGEROUS, kDangerousFieldCount))
        MatchFileWord(gInventory, gInventoryCount, row[kDangerousWord].c_str(), AddDangerousRow,
                      const_cast<TableRow*>(&row));
    DestroyInventory();
    return ShowReport(list, true);
}

// "INCOMPATIBLE PROGRAMS": the table as it is, sorted; no disk is searched.
int ListMsDosModePrograms(HWND list)
{
    return ListMsDosModeProgramsOf(list, WalkFixedDrives);
}

int ListDangerousPrograms(HWND list)
{
    return ListDangerousProgramsOf(list, WalkFixedDrives);
}

int ListIncompatiblePrograms(HWND list)
{
    StringListCount = 0;
    const char* const titles[] = {"Program Name"};
    FormatProgramHeading(StringListNext(), kReportLineSlot, titles, 1, true);
    for (const TableRow& row : LoadTable(IDR_PROGRAMS_INCOMPATIBLE, 1)) {
        const char* const fields[] = {row[0].c_str()};
        FormatProgramRow(StringListNext(), kReportLineSlot, fields, 1);
    }
    return ShowReport(list, true);
}
