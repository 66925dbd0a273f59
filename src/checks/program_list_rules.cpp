#include "checks/program_list_rules.h"

#include <cstring>

#include "checks/file_check_rules.h"
#include "services/dates.h"
#include "ui/report_line.h"

// ---- The inventory ----

static char UpperAscii(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

bool IsProgramFileName(const char* name)
{
    if (!name) return false;
    const size_t length = strnlen(name, kProgramNameLength);
    if (length == 0 || length >= 13) return false;
    if (strcmp(name, ".") == 0 || strcmp(name, "..") == 0) return false;
    char upper[kProgramNameLength] = {};
    for (size_t i = 0; i < length; ++i) upper[i] = UpperAscii(name[i]);
    for (const char* kind : {".EXE", ".COM", ".SYS", ".BAT", ".DRV"})
        if (strstr(upper, kind)) return true;
    return false;
}

void AddProgramFile(ProgramFileRecord* records, int32_t* count, const char* name, uint64_t lastWrite)
{
    if (!IsProgramFileName(name)) return;
    ProgramFileRecord* record = &records[*count < kProgramRecordCap ? *count : kProgramRecordCap];
    memset(record->name, 0, sizeof record->name);
    memcpy(record->name, name, strlen(name));
    record->lastWrite = lastWrite;
    if (*count < kProgramRecordCap) ++*count;
}

// Compares two spans byte by byte with ASCII letters folded to upper case; a span that is
// the beginning of the other sorts first.
static int CompareSpans(const char* a, size_t aLength, const char* b, size_t bLength)
{
    const size_t common = aLength < bLength ? aLength : bLength;
    for (size_t i = 0; i < common; ++i) {
        const unsigned char x = static_cast<unsigned char>(UpperAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(UpperAscii(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return aLength == bLength ? 0 : (aLength < bLength ? -1 : 1);
}

static size_t NameLength(const ProgramFileRecord& record)
{
    return strnlen(record.name, sizeof record.name);
}

static size_t BaseLength(const ProgramFileRecord& record)
{
    const size_t length = NameLength(record);
    const void* dot = memchr(record.name, '.', length);
    return dot ? size_t(static_cast<const char*>(dot) - record.name) : length;
}

bool ProgramRecordBefore(const ProgramFileRecord& a, const ProgramFileRecord& b)
{
    const int byBase = CompareSpans(a.name, BaseLength(a), b.name, BaseLength(b));
    if (byBase != 0) return byBase < 0;
    return CompareSpans(a.name, NameLength(a), b.name, NameLength(b)) < 0;
}

void MatchFileWord(const ProgramFileRecord* records, int32_t count, const char* word, ProgramMatchFn found,
                   void* argument)
{
    const size_t wordLength = strlen(word);
    for (int32_t i = 0; i < count; ++i) {
        const ProgramFileRecord& record = records[i];
        if (record.name[0] == '\0') continue;
        const int order = CompareSpans(word, wordLength, record.name, BaseLength(record));
        if (order < 0) return;  // the records are sorted by base name: none later can match
        if (order == 0 && found(record, argument)) return;
    }
}

// ---- The date rule ----

bool IsDangerousFileDate(unsigned month, unsigned year)
{
    return month < 7 && year < 1996;
}

// ---- Tables ----

std::vector<TableRow> ParseProgramTable(const char* text, size_t length, int fieldCount)
{
    std::vector<TableRow> rows;
    size_t start = 0;
    while (text && start < length) {
        const void* feed = memchr(text + start, '\n', length - start);
        size_t end = feed ? size_t(static_cast<const char*>(feed) - text) : length;
        const size_t next = end + 1;
        if (end > start && text[end - 1] == '\r') --end;
        if (end > start) {
            TableRow row(size_t(fieldCount > 0 ? fieldCount : 0));
            size_t field = 0, fieldStart = start;
            for (size_t i = start; i <= end && field < row.size(); ++i) {
                if (i == end || text[i] == '\t') {
                    row[field++].assign(text + fieldStart, i - fieldStart);
                    fieldStart = i + 1;
                }
            }
            rows.push_back(row);
        }
        start = next;
    }
    return rows;
}

// ---- Report lines ----

void FormatProgramHeading(char* slot, size_t size, const char* const* titles, int count, bool trailingTab)
{
    if (size == 0) return;
    FormatCheckHeadings(slot, size, titles, count);
    const size_t used = strlen(slot);
    if (trailingTab && used + 1 < size) {
        slot[used] = '\t';
        slot[used + 1] = '\0';
    }
}

void FormatProgramRow(char* slot, size_t size, const char* const* fields, int count)
{
    if (size == 0) return;
    slot[0] = '\0';
    if (count <= 0) return;
    const size_t markupLength = strlen(REPORT_VALUE);
    size_t needed = 0;
    for (int i = 0; i < count; ++i) needed += (i > 0 ? 1 : 0) + markupLength + strlen(fields[i] ? fields[i] : "");
    // Room for each field with its tab and markup when the whole row does not fit.
    const size_t share = needed < size ? size : (size - 1) / size_t(count);
    size_t used = 0;
    for (int i = 0; i < count; ++i) {
        const char* text = fields[i] ? fields[i] : "";
        const size_t limit = used + share < size - 1 ? used + share : size - 1;
        size_t room = limit - used;
        const size_t prefix = (i > 0 ? 1 : 0) + markupLength;
        if (room < prefix) break;
        if (i > 0) slot[used++] = '\t';
        memcpy(slot + used, REPORT_VALUE, markupLength);
        used += markupLength;
        room -= prefix;
        used += CopyOutsideText(text, strlen(text), slot + used, room + 1);
    }
    slot[used] = '\0';
}

void FormatDangerousRow(char* slot, size_t size, const char* utility, const char* fileName, unsigned month,
                        unsigned day, unsigned year)
{
    char lower[kProgramNameLength] = {};
    for (size_t i = 0; fileName && fileName[i] && i + 1 < sizeof lower; ++i) {
        const char c = fileName[i];
        lower[i] = c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
    }
    char date[16];
    FormatFileDate(month, day, year, date, sizeof date);
    const char* const fields[] = {utility, lower, date};
    FormatProgramRow(slot, size, fields, 3);
}
