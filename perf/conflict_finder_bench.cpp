// Times the missing support file check over a tree of its own (2,000 data files in 40
// folders and one program that imports fifty libraries found nowhere) against one bare walk
// of the same tree. Every name is looked up in the index the check builds in its single
// walk, so the check should cost little more than that walk (target at most 3x), where a
// walk per missing module would cost fifty. The tree is written into a folder on the first
// fixed drive after C: and removed at the end.
#include <windows.h>

#include "bare_walk.h"
#include "bench_clock.h"
#include "bench_targets.h"

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "conflicts/support_files.h"

static const int kRounds = 5;
static const int kMissingModules = 50;
static const double kTargetRatio = 3.0;

static void Put32(std::vector<unsigned char>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
}

// A PE32+ program importing the modules: one section at virtual 0x2000 holding the import
// descriptors (file 0x200) and the names (file 0x800 on).
static std::vector<unsigned char> PeProgram(const std::vector<std::string>& imports)
{
    std::vector<unsigned char> b(0x2000, 0);
    b[0] = 'M', b[1] = 'Z', b[0x18] = 0x40;
    Put32(b, 0x3C, 0x80);
    memcpy(&b[0x80], "PE\0\0", 4);
    b[0x86] = 1, b[0x94] = 0xF0;
    b[0x98] = 0x0B, b[0x99] = 0x02;
    Put32(b, 0x98 + 108, 16);
    Put32(b, 0x98 + 112 + 8, 0x2000);
    const size_t section = 0x98 + 0xF0;
    Put32(b, section + 8, 0x1E00), Put32(b, section + 12, 0x2000), Put32(b, section + 16, 0x1E00);
    Put32(b, section + 20, 0x200);
    for (size_t i = 0; i < imports.size(); ++i) {
        const size_t name = 0x800 + 32 * i;
        memcpy(&b[name], imports[i].c_str(), imports[i].size());
        Put32(b, 0x200 + 20 * i + 12, uint32_t(name - 0x200 + 0x2000));
    }
    return b;
}

static const int kFolders = 40, kFilesPerFolder = 50;

static std::string gRoot;

// Visits every entry below gRoot breadth-first, the way the fixed-drive walk visits a drive.
static int WalkBenchTree(WalkVisitor visitor, void* argument)
{
    std::vector<std::string> folders = {gRoot};
    for (size_t next = 0; next < folders.size(); ++next) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folders[next] + "\\*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            if (found.cFileName[0] == '.') continue;
            if (int stop = visitor(&found, folders[next].c_str(), argument)) {
                FindClose(search);
                return stop;
            }
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) folders.push_back(folders[next] + "\\" + found.cFileName);
        }
        FindClose(search);
    }
    return 0;
}

static void WriteFileBytes(const std::string& path, const void* bytes, DWORD size)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file != INVALID_HANDLE_VALUE) WriteFile(file, bytes, size, &written, nullptr), CloseHandle(file);
}

static std::string BenchFolder()
{
    for (char letter = 'D'; letter <= 'Z'; ++letter) {
        const char root[] = {letter, ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_FIXED) return std::string(root) + "HVFINDERBENCH";
    }
    return "C:\\HVFINDERBENCH";
}

int main()
{
    const std::string folder = BenchFolder(), program = folder + "\\HVBENCH.EXE";
    gRoot = folder;
    std::vector<std::string> imports;
    for (int i = 0; i < kMissingModules; ++i) imports.push_back("HVMISS" + std::to_string(100 + i) + ".DLL");
    const std::vector<unsigned char> image = PeProgram(imports);
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteFileBytes(program, image.data(), DWORD(image.size()));
    for (int f = 0; f < kFolders; ++f) {
        const std::string sub = folder + "\\DATA" + std::to_string(f);
        CreateDirectoryA(sub.c_str(), nullptr);
        for (int i = 0; i < kFilesPerFolder; ++i) WriteFileBytes(sub + "\\FILE" + std::to_string(i) + ".TXT", "x", 1);
    }
    const bool placed = GetFileAttributesA(program.c_str()) != INVALID_FILE_ATTRIBUTES;
    static char names[kModuleNameSlots][kModuleNameLength];
    const int listed = placed ? ListRequiredModules("HVBENCH.EXE", folder.c_str(), names) : 0;
    printf("conflict_finder_bench: %s imports %d modules found nowhere\n", program.c_str(), listed);

    HWND list = CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0, 0, 400, 300, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    long entries = 0;
    BareWalkFolder(folder.c_str(), &entries);
    const int rows = FindMissingSupportFiles(nullptr, list, WalkBenchTree);
    printf("conflict_finder_bench: the bare walk visits %ld entries; the check lists %d rows\n", entries, rows);
    std::vector<double> scan, baseline;
    for (int round = 0; round < kRounds; ++round) {
        double start = WallMs();
        long visited = 0;
        BareWalkFolder(folder.c_str(), &visited);
        baseline.push_back(WallMs() - start);
        start = WallMs();
        FindMissingSupportFiles(nullptr, list, WalkBenchTree);
        scan.push_back(WallMs() - start);
    }
    const double ratio = MedianOf(scan) / std::max(MedianOf(baseline), 0.001);
    printf("scan, %d missing     median %8.1f ms   bare walk %8.1f ms   ratio %.2f (target at most %.2f: %s)\n",
           kMissingModules, MedianOf(scan), MedianOf(baseline), ratio, kTargetRatio,
           CheckTarget("scan with 50 missing modules", listed == kMissingModules && ratio <= kTargetRatio));
    DestroyWindow(list);
    DeleteFileA(program.c_str());
    for (int f = 0; f < kFolders; ++f) {
        const std::string sub = folder + "\\DATA" + std::to_string(f);
        for (int i = 0; i < kFilesPerFolder; ++i) DeleteFileA((sub + "\\FILE" + std::to_string(i) + ".TXT").c_str());
        RemoveDirectoryA(sub.c_str());
    }
    RemoveDirectoryA(folder.c_str());
    return FinishBenchmark("conflict_finder_bench");
}
