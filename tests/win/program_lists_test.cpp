// The program lists over a fixture folder of program files with known names and dates:
// each report names exactly the expected files, and nothing on the disk changes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "checks/program_lists.h"
#include "folder_walk.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

struct FixtureFile {
    const char* path;  // below the root
    WORD year, month, day;
};

// Every file's attributes, size and three times, to show the reports changed nothing.
std::string FileStates(const std::vector<FixtureFile>& files)
{
    std::string states;
    for (const FixtureFile& f : files) {
        WIN32_FILE_ATTRIBUTE_DATA data = {};
        GetFileAttributesExA((WalkRoot() + "\\" + f.path).c_str(), GetFileExInfoStandard, &data);
        states.append(reinterpret_cast<const char*>(&data), sizeof data);
    }
    return states;
}

TEST(ProgramLists, ReportExactlyTheTableProgramsFoundTheOldDangerousUtilitiesAndTheIncompatibleList)
{
    HWND list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    WalkRoot() = FreshTestFolder("program_lists");
    for (const char* folder : {"DOS", "OLD", "OLDER"})
        ASSERT_TRUE(CreateDirectoryA((WalkRoot() + "\\" + folder).c_str(), nullptr));
    const std::vector<FixtureFile> files = {
        {"SC.EXE", 2024, 5, 1},            // two MS-DOS rows have the word SC
        {"DS.EXE", 1995, 10, 20},          // an MS-DOS program; as a utility, too new
        {"XTREE.EXE", 1994, 3, 10},        // an old utility
        {"LONGNAMEPROGRAM.EXE", 1993, 1, 1},  // too long a name to be looked at
        {"FORMAT.COM", 2024, 1, 1}, {"DOS\\FORMAT.COM", 1995, 8, 2},  // too new: the scan goes on
        {"OLD\\FORMAT.EXE", 1995, 3, 1},   // the first old copy is reported
        {"OLDER\\FORMAT.SYS", 1990, 1, 5},  // and no other
        {"NDOS.COM", 1994, 1, 1},          // the word "NDOS.COM" matches nothing; "NDOS" matches it
    };
    for (const FixtureFile& f : files) {
        const std::string path = WalkRoot() + "\\" + f.path;
        ASSERT_TRUE(WriteWholeFile(path, "MZ", 2)) << f.path;
        SYSTEMTIME when = {f.year, f.month, 0, f.day, 12, 0, 0, 0};
        FILETIME written;
        ASSERT_TRUE(SystemTimeToFileTime(&when, &written));
        HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written)) << f.path;
        CloseHandle(file);
    }
    const std::string before = FileStates(files);

    EXPECT_EQ(ListMsDosModeProgramsOf(list, WalkRootDepthFirst), 4);
    const std::vector<std::string> msdos = {
        "\x06\x01" "CProgram Name\t\x06\x01" "CFileName\t\x06\x01" "CCompany",
        "\x01" "YDarkseed\t\x01" "YDS\t\x01" "YCyberdreams",
        "\x01" "YStar Crusader\t\x01" "YSC\t\x01" "YGameTek",
        "\x01" "YStrike Commander\t\x01" "YSC\t\x01" "YOrigin",
    };
    EXPECT_EQ(ListBoxLines(list), msdos);

    EXPECT_EQ(ListDangerousProgramsOf(list, WalkRootDepthFirst), 4);
    const std::vector<std::string> dangerous = {
        "\x06\x01" "CPossible Problem Program\t\x06\x01" "CFile Name\t\x06\x01" "CFile Date",
        "\x01" "YDOS Format\t\x01" "Yformat.exe\t\x01" "Y03/01/95",
        "\x01" "YNorton NDOS\t\x01" "Yndos.com\t\x01" "Y01/01/94",
        "\x01" "YXtree\t\x01" "Yxtree.exe\t\x01" "Y03/10/94",
    };
    EXPECT_EQ(ListBoxLines(list), dangerous);

    EXPECT_EQ(FileStates(files), before) << "a report changed a file";

    // The incompatible programs: the whole table, sorted below its heading; no disk searched.
    EXPECT_EQ(ListIncompatiblePrograms(list), 184);
    const std::vector<std::string> lines = ListBoxLines(list);
    ASSERT_EQ(lines.size(), 184u);
    EXPECT_EQ(lines[0], "\x06\x01" "CProgram Name\t");
    EXPECT_TRUE(std::is_sorted(lines.begin() + 1, lines.end(),
                               [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }));
    EXPECT_NE(std::find(lines.begin(), lines.end(), "\x01" "YFinale 2.0 for Windows "), lines.end());  // as it is
    DestroyWindow(list);
}

}  // namespace
