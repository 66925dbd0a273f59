#include "info/file_inventory_rows.h"

#include <cstdio>
#include <cstring>

#include "ui/report_line.h"

const char kTooManyNotBackedUp[] =
    REPORT_WARNING "More than 1000 files have not been backed up, run a complete backup first.";

constexpr uint32_t kAttributeDirectory = 0x10;
constexpr uint32_t kAttributeArchive = 0x20;
constexpr uint32_t kAttributeNormal = 0x80;

bool IsInventoriedProgram(const char* name, uint32_t attributes)
{
    if (attributes & kAttributeDirectory) return false;
    if (!(attributes & (kAttributeNormal | kAttributeArchive))) return false;
    const size_t length = strlen(name);
    if (length <= 4) return false;
    const char* extension = name + length - 4;
    for (int i = 0; i < 4; ++i) {
        const char c = extension[i] >= 'A' && extension[i] <= 'Z' ? char(extension[i] - 'A' + 'a') : extension[i];
        if (c != ".exe"[i]) return false;
    }
    return true;
}

bool HasArchiveBit(uint32_t attributes)
{
    return (attributes & kAttributeArchive) && !(attributes & kAttributeDirectory);
}

void FormatInventoryHeading(char* slot, size_t size)
{
    snprintf(slot, size, "%s",
             REPORT_HEADING "Name\t" REPORT_HEADING "Size\t" REPORT_HEADING "Created\t" REPORT_HEADING
             "Accessed\t" REPORT_HEADING "Written\t" REPORT_HEADING "Path");
}

void FormatInventoryRow(char* slot, size_t size, const InventoryRow& row)
{
    snprintf(slot, size,
             REPORT_VALUE "%s\t" REPORT_VALUE "%lu\t" REPORT_VALUE "%s\t" REPORT_VALUE "%s\t" REPORT_VALUE
             "%s\t" REPORT_VALUE "%s",
             row.name, static_cast<unsigned long>(row.size), row.created, row.accessed, row.written, row.where);
}
