// The file inventory's rules and report lines: which directory entries are listed and how
// a row reads.
#pragma once
#include <cstddef>
#include <cstdint>

// Program kinds of the inventories.
enum ProgramKind { kProgramDos = 1, kProgramWindows31 = 2, kProgramWindows95 = 3 };

// More files than this carrying the archive bit are not listed one by one.
constexpr int kNotBackedUpLimit = 1000;

// The single line shown instead of the files when there are kNotBackedUpLimit or more.
extern const char kTooManyNotBackedUp[];

// A program inventory looks at a file named "*.exe" (any case) whose attributes carry the
// normal (0x80) or the archive bit (0x20); directories never count.
bool IsInventoriedProgram(const char* name, uint32_t attributes);

// A file (not a directory) whose archive bit (0x20) is set has not been backed up.
bool HasArchiveBit(uint32_t attributes);

// The heading: six cyan, underlined column titles.
void FormatInventoryHeading(char* slot, size_t size);

struct InventoryRow {
    const char* name;
    uint32_t size;  // low 32 bits
    const char* created;   // "mm/dd/yy"
    const char* accessed;
    const char* written;
    const char* where;     // the directory, or the full path
};

// One row: six yellow columns separated by tabs, cut to fit size bytes.
void FormatInventoryRow(char* slot, size_t size, const InventoryRow& row);
