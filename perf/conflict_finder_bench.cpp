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
#include "crafted_programs.h"
#include "folder_walk.h"

static const int kRounds = 5;
static const int kMissingModules = 50;
static const double kTargetRatio = 3.0;

static const int kFolders = 40, kFilesPerFolder = 50;

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
    WalkRoot() = folder;
    std::vector<std::string> imports;
    for (int i = 0; i < kMissingModules; ++i) imports.push_back("HVMISS" + std::to_string(100 + i) + ".DLL");
    const std::vector<unsigned char> image = PeProgramImporting(imports);
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
    const int rows = FindMissingSupportFiles(nullptr, list, WalkRootBreadthFirst);
    printf("conflict_finder_bench: the bare walk visits %ld entries; the check lists %d rows\n", entries, rows);
    std::vector<double> scan, baseline;
    for (int round = 0; round < kRounds; ++round) {
        double start = WallMs();
        long visited = 0;
        BareWalkFolder(folder.c_str(), &visited);
        baseline.push_back(WallMs() - start);
        start = WallMs();
        FindMissingSupportFiles(nullptr, list, WalkRootBreadthFirst);
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
