#include <windows.h>

#include "conflicts/support_files.h"

#include <string>
#include <vector>

#include "conflicts/conflict_rules.h"
#include "services/executable_header.h"
#include "services/executable_kind.h"
#include "services/string_list.h"
#include "services/walk_path.h"
#include "ui/report_list.h"

namespace {

// Reads up to length bytes at offset; returns the number read (0 on failure).
size_t ReadAt(HANDLE file, uint64_t offset, unsigned char* buffer, size_t length)
{
    OVERLAPPED at = {};
    at.Offset = DWORD(offset);
    at.OffsetHigh = DWORD(offset >> 32);
    DWORD read = 0;
    if (!ReadFile(file, buffer, DWORD(length), &read, &at)) return 0;
    return read;
}

int ReadNeModuleNames(const char* path, ModuleNames names)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    unsigned char head[kExecutableHeadLength];
    uint32_t offset = 0;
    NeLayout layout;
    unsigned char header[kNewHeaderLength];
    if (FindNewHeaderOffset(head, ReadAt(file, 0, head, sizeof head), &offset) &&
        ReadNeLayout(header, ReadAt(file, offset, header, sizeof header), offset, &layout)) {
        static unsigned char references[kNeTableLength], importedNames[kNeTableLength];
        const size_t referencesLength = ReadAt(file, layout.referencesOffset, references, sizeof references);
        const size_t importedNamesLength = ReadAt(file, layout.importedNamesOffset, importedNames, sizeof importedNames);
        count = ParseNeModuleNames(layout, references, referencesLength, importedNames, importedNamesLength, names);
    }
    CloseHandle(file);
    return count;
}

int ReadPeImportNames(const char* path, ModuleNames names)
{
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    LARGE_INTEGER size;
    HANDLE mapping = nullptr;
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
        uint64_t(size.QuadPart) <= SIZE_MAX &&
        (mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr)) != nullptr) {
        const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
        if (view) {
            count = ParsePeImportNames(static_cast<const unsigned char*>(view), uint64_t(size.QuadPart), names);
            UnmapViewOfFile(view);
        }
        CloseHandle(mapping);
    }
    CloseHandle(file);
    return count;
}

// True when Windows would find the module for a program in directory: a search in the
// system's default order or in the program's folder, as written, with ".DLL" or with ".EXE".
bool IsFoundBySearchPath(const char* module, const char* directory)
{
    static const char* const kExtensions[] = {nullptr, ".DLL", ".EXE"};
    char found[MAX_PATH];
    char* filePart = nullptr;
    for (const char* extension : kExtensions) {
        if (SearchPathA(nullptr, module, extension, sizeof found, found, &filePart)) return true;
        if (SearchPathA(directory, module, extension, sizeof found, found, &filePart)) return true;
    }
    return false;
}

struct ProgramFile {
    std::string directory, name;
};

// What one walk gathers: the name of every file and the program files among them.
struct DiskScan {
    FileNameIndex index;
    std::vector<ProgramFile> programs;
};

int VisitEntry(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    DiskScan* scan = static_cast<DiskScan*>(argument);
    if (!found->cFileName[0] || (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    scan->index.Add(found->cFileName, directory);
    char name[MAX_PATH];
    lstrcpynA(name, found->cFileName, sizeof name);
    CharUpperA(name);
    if (strstr(name, ".EXE")) scan->programs.push_back({directory, name});
    return 0;
}

// Asks about one program with owner as the box's owner: true for "Yes".
bool UserAgreesToFix(HWND owner, const char* program)
{
    char text[512];
    FormatConflictQuestion(text, sizeof text, program);
    return MessageBoxA(owner, text, "Software Conflict Found", MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Looks at each module of one program; adds a row for each that is missing and found
// elsewhere. The question is asked at most once, at the first such module.
int CheckProgramSupportFiles(HWND owner, DiskScan& scan, const ProgramFile& program, ModuleNames names)
{
    const int count = ListRequiredModules(program.name.c_str(), program.directory.c_str(), names);
    bool asked = false, agreed = false;
    int rows = 0;
    for (int i = 0; i < count && i < kModuleNameLimit; ++i) {
        const char* module = names[i];
        if (!module[0] || IsApiSetName(module)) continue;
        // A module found nowhere on the disks gives no row whatever the loader would do, so
        // the index (one lookup) is asked before the loader's search (six).
        char source[kWalkPathLength], foundName[kWalkPathLength];
        if (!scan.index.FindModule(module, source, foundName)) continue;
        if (IsFoundBySearchPath(module, program.directory.c_str())) continue;
        if (!asked) {
            agreed = UserAgreesToFix(owner, program.name.c_str());
            asked = true;
        }
        bool copied = false;
        char destination[kWalkPathLength];
        if (agreed && JoinWalkPath(program.directory.c_str(), foundName, destination))
            copied = CopyModuleIntoPlace(source, destination);
        FormatConflictRow(StringListNext(), kReportLineSlot, program.name.c_str(), StatusOfModule(agreed, copied),
                          foundName, program.directory.c_str());
        ++rows;
    }
    return rows;
}

}  // namespace

int ListRequiredModules(const char* programName, const char* directory, ModuleNames names)
{
    char path[kWalkPathLength];
    if (!JoinWalkPath(directory, programName, path)) return 0;
    // Reading the headers moves the last-access time; it is put back afterwards.
    const FileTimesKept times(path);
    int count = 0;
    switch (ExecutableKind(path)) {
    case kWindows16Application: count = ReadNeModuleNames(path, names); break;
    case kPortableExecutable: count = ReadPeImportNames(path, names); break;
    default: break;
    }
    return count;
}

bool CopyModuleIntoPlace(const char* source, const char* destination)
{
    if (GetFileAttributesA(destination) != INVALID_FILE_ATTRIBUTES) return false;
    return CopyFileA(source, destination, TRUE) != 0;
}

int FindMissingSupportFiles(HWND owner, HWND list, ConflictWalk walk)
{
    StringListCount = 0;
    FormatConflictHeading(StringListNext(), kReportLineSlot);
    DiskScan scan;
    walk(VisitEntry, &scan);
    std::vector<char> block(size_t(kModuleNameSlots) * kModuleNameLength);
    ModuleNames names = reinterpret_cast<ModuleNames>(block.data());
    int rows = 0;
    for (const ProgramFile& program : scan.programs) rows += CheckProgramSupportFiles(owner, scan, program, names);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    ReportShowLines(list, StringListBase, StringListCount);
    return rows;
}
