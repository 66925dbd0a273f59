// The rules of the program lists over plain data: which directory entries enter the
// program inventory and its cap, the order the inventory is sorted in, the matcher that
// finds a table's file word among the sorted records, the date rule of the dangerous
// utilities, the tables' text format and the report lines. The Win32 side walks the drives,
// loads the tables and shows the lines.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// ---- The inventory ----
// One program file: its name as found (names of up to 12 characters only) and its
// last-write time (a FILETIME: 100-ns intervals since 1601, as one 64-bit number).
constexpr size_t kProgramNameLength = 16;
struct ProgramFileRecord {
    char name[kProgramNameLength];
    uint64_t lastWrite;
};
static_assert(sizeof(ProgramFileRecord) == 24, "a record is 16 name bytes and a FILETIME");

// The inventory is one block of kProgramRecordSlots records; at most kProgramRecordCap are
// counted, and files past the cap land uncounted in the spare last record.
constexpr int32_t kProgramRecordSlots = 10000;
constexpr int32_t kProgramRecordCap = 9999;

// Whether a directory entry's name enters the inventory: shorter than 13 characters, not
// "." or "..", and its upper-cased name holds ".EXE", ".COM", ".SYS", ".BAT" or ".DRV".
bool IsProgramFileName(const char* name);

// Stores one file in records (kProgramRecordSlots of them) at *count and counts it while
// the count is below the cap; a name that does not qualify is ignored.
void AddProgramFile(ProgramFileRecord* records, int32_t* count, const char* name, uint64_t lastWrite);

// The inventory's order: by base name (up to the first "."), then by the whole name, both
// compared as ASCII without regard to case. All the files of one base name stand together,
// so "PYRO!.EXE" can never stand between the word "PYRO" and "PYRO.EXE"; the matcher's
// early stop uses the same comparison, so the two always agree.
bool ProgramRecordBefore(const ProgramFileRecord& a, const ProgramFileRecord& b);

// Calls found for every record among the count sorted records whose base name equals word
// (case-insensitive), in order, until found returns true or no later record can match.
// Records with an empty name are skipped. A word holding a "." never matches.
using ProgramMatchFn = bool (*)(const ProgramFileRecord& record, void* argument);
void MatchFileWord(const ProgramFileRecord* records, int32_t count, const char* word, ProgramMatchFn found,
                   void* argument);

// ---- The date rule ----
// A dangerous utility's file is reported only when its month is below 7 and its year below
// 1996, both at once: a file of October 1995 is not reported.
bool IsDangerousFileDate(unsigned month, unsigned year);

// ---- Tables ----
// A table text holds one row a line (line feeds; a carriage return before one is dropped),
// its fields separated by tabs; empty lines are skipped. Each row keeps exactly
// fieldCount fields: missing ones are empty, extra ones are dropped.
using TableRow = std::vector<std::string>;
std::vector<TableRow> ParseProgramTable(const char* text, size_t length, int fieldCount);

// The three tables' fields.
enum MsDosField { kMsDosProgram, kMsDosCompany, kMsDosWord, kMsDosFieldCount };
enum DangerousField { kDangerousUtility, kDangerousWord, kDangerousFieldCount };

// ---- Report lines ----
// Each builder writes one whole slot (size bytes, at least 1), always terminated; outside
// text is cut to fit and its control bytes become spaces.

// The underlined cyan column headings of a report, separated by tabs; with
// trailingTab, one more tab after the last.
void FormatProgramHeading(char* slot, size_t size, const char* const* titles, int count, bool trailingTab);

// A data row: each field preceded by 0x01 "Y", the fields separated by tabs. When the
// fields do not all fit, each keeps an even share of the slot, so a long first field
// cannot push the later ones out.
void FormatProgramRow(char* slot, size_t size, const char* const* fields, int count);

// The dangerous report's row: utility name, the file name in lower case and the date as
// "mm/dd/yy" (year less 1900).
void FormatDangerousRow(char* slot, size_t size, const char* utility, const char* fileName, unsigned month,
                        unsigned day, unsigned year);
