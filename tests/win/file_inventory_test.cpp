// The file inventory over real files under Wine: program kinds from crafted headers, the
// archive-bit report at its limit, and dates left as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "info/file_inventory.h"
#include "folder_walk.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

// An executable image: "MZ" with its new header at 0x80 carrying signature and flags.
std::vector<unsigned char> Program(const char* signature, unsigned char flagsHigh)
{
    std::vector<unsigned char> image(0x200, 0);
    image[0] = 'M', image[1] = 'Z', image[0x18] = 0x40, image[0x3C] = 0x80;
    if (signature) {
        image[0x80] = signature[0], image[0x81] = signature[1];
        image[0x80 + 0x0D] = flagsHigh;
        image[0x80 + 0x20] = 0x10;  // a non-resident name table
        image[0x80 + 0x36] = 2;     // for Windows
    }
    return image;
}

// The first column (the file name) of each row below the heading.
std::vector<std::string> Names(HWND list)
{
    std::vector<std::string> names, lines = ListBoxLines(list);
    for (size_t i = 1; i < lines.size(); ++i) names.push_back(lines[i].substr(2, lines[i].find('\t') - 2));
    return names;
}

TEST(FileInventory, ListsProgramsByKindKeepingTheirDatesAndAThousandUnbackedFilesAsTooMany)
{
    HWND list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    WalkRoot() = FreshTestFolder("inventory_kinds");
    const std::string sub = WalkRoot() + "\\SUB", app32 = sub + "\\APP32.EXE";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::pair<std::string, std::vector<unsigned char>> files[] = {
        {WalkRoot() + "\\LIB16.EXE", Program("NE", 0x80)},  // a 16-bit library named .EXE
        {WalkRoot() + "\\APP16.EXE", Program("NE", 0x00)}, {app32, Program("PE", 0x00)},
        {sub + "\\DOSPROG.EXE", Program(nullptr, 0)},     {WalkRoot() + "\\NOTES.TXT", Program("PE", 0x00)},
    };
    for (const auto& f : files) ASSERT_TRUE(WriteWholeFile(f.first, f.second.data(), f.second.size()));
    HANDLE file = CreateFileA(app32.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    const FILETIME old = {0x12345600u, 0x01C00000u};  // some day in 1996
    ASSERT_TRUE(SetFileTime(file, nullptr, &old, nullptr));
    CloseHandle(file);
    const std::pair<int, std::vector<std::string>> kinds[] = {
        {kProgramDos, {"DOSPROG.EXE", "LIB16.EXE"}}, {kProgramWindows31, {"APP16.EXE"}}, {kProgramWindows95, {"APP32.EXE"}}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.first);
        ListProgramsOfKind(list, k.first, WalkRootDepthFirst);
        EXPECT_EQ(Names(list), k.second);
    }
    EXPECT_NE(ListBoxLines(list)[1].find("\t\x01" "Y512\t"), std::string::npos);  // its size, then its folder
    EXPECT_NE(ListBoxLines(list)[1].find("\x01" "Y" + sub), std::string::npos);
    WIN32_FIND_DATAA after;
    FindClose(FindFirstFileA(app32.c_str(), &after));
    EXPECT_EQ(CompareFileTime(&after.ftLastAccessTime, &old), 0) << "listing changed the last-access date";

    // Wine keeps the archive bit on every file, so each file here counts.
    WalkRoot() = FreshTestFolder("inventory_backup");
    ListProgramsOfKind(list, kProgramDos, WalkRootDepthFirst);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);  // none: not even the heading
    for (int i = 998; i >= 0; --i)
        ASSERT_TRUE(WriteWholeFile(WalkRoot() + "\\F" + std::to_string(1000 + i).substr(1) + ".DAT", "x", 1));
    ListFilesNotBackedUp(list, WalkRootDepthFirst);
    const std::vector<std::string> names = Names(list);
    ASSERT_EQ(names.size(), 999u);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_NE(ListBoxLines(list)[1].find("\x01" "Y" + WalkRoot() + "\\F000.DAT"), std::string::npos);
    ASSERT_TRUE(WriteWholeFile(WalkRoot() + "\\F999.DAT", "x", 1));
    ListFilesNotBackedUp(list, WalkRootDepthFirst);
    EXPECT_EQ(ListBoxLines(list), std::vector<std::string>{kTooManyNotBackedUp});
    DestroyWindow(list);
}

}  // namespace
