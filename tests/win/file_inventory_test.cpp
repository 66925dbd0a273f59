// The file inventory over real files under Wine: program kinds from crafted headers, the
// archive-bit report at its limit, and dates left as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "info/file_inventory.h"
#include "test_windows.h"
#include "ui/shared_gdi.h"
#include "wine_env.h"

namespace {

std::string gWalkRoot;

// Visits every entry below gWalkRoot depth-first, the way the fixed-drive walk visits a drive.
int WalkFolder(const std::string& directory, WalkVisitor visitor, void* argument)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int stop = 0;
    do {
        stop = visitor(&found, directory.c_str(), argument);
        const std::string name = found.cFileName;
        if (!stop && (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name[0] != '.')
            stop = WalkFolder(directory + "\\" + name, visitor, argument);
    } while (!stop && FindNextFileA(search, &found));
    FindClose(search);
    return stop;
}

int WalkTestFolder(WalkVisitor visitor, void* argument)
{
    return WalkFolder(gWalkRoot, visitor, argument);
}

// An executable image: "MZ" with its new header at 0x80 carrying signature and flags.
std::vector<unsigned char> Program(const char* signature, unsigned char flagsHigh)
{
    std::vector<unsigned char> image(0x200, 0);
    image[0] = 'M';
    image[1] = 'Z';
    image[0x18] = 0x40;
    image[0x3C] = 0x80;
    if (signature) {
        image[0x80] = signature[0];
        image[0x81] = signature[1];
        image[0x80 + 0x0D] = flagsHigh;
        image[0x80 + 0x20] = 0x10;  // a non-resident name table
        image[0x80 + 0x36] = 2;     // for Windows
    }
    return image;
}

struct InventoryFixture : testing::Test {
    void SetUp() override
    {
        CreateSharedGdi();
        list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(list);
        DeleteSharedGdi();
    }
    HWND list = nullptr;
};

// The first column (the file name) of each row below the heading.
std::vector<std::string> Names(HWND list)
{
    std::vector<std::string> names;
    const std::vector<std::string> lines = ListBoxLines(list);
    for (size_t i = 1; i < lines.size(); ++i) names.push_back(lines[i].substr(2, lines[i].find('\t') - 2));
    return names;
}

TEST_F(InventoryFixture, ProgramsAreListedByKindAndKeepTheirDates)
{
    gWalkRoot = FreshTestFolder("inventory_kinds");
    const std::string sub = gWalkRoot + "\\SUB";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    struct File {
        std::string path;
        std::vector<unsigned char> bytes;
    } files[] = {
        {gWalkRoot + "\\LIB16.EXE", Program("NE", 0x80)},
        {gWalkRoot + "\\APP16.EXE", Program("NE", 0x00)},
        {sub + "\\APP32.EXE", Program("PE", 0x00)},
        {sub + "\\DOSPROG.EXE", Program(nullptr, 0)},
        {gWalkRoot + "\\NOTES.TXT", Program("PE", 0x00)},
    };
    for (const File& f : files) ASSERT_TRUE(WriteWholeFile(f.path, f.bytes.data(), f.bytes.size()));

    HANDLE file = CreateFileA(files[2].path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    FILETIME old = {0x12345600u, 0x01C00000u};  // some day in 1996
    ASSERT_TRUE(SetFileTime(file, nullptr, &old, nullptr));
    CloseHandle(file);

    struct Case {
        int kind;
        std::vector<std::string> names;
    } cases[] = {{kProgramDos, {"DOSPROG.EXE", "LIB16.EXE"}}, {kProgramWindows31, {"APP16.EXE"}},
                 {kProgramWindows95, {"APP32.EXE"}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        ListProgramsOfKind(list, c.kind, WalkTestFolder);
        EXPECT_EQ(Names(list), c.names);
    }
    const std::vector<std::string> lines = ListBoxLines(list);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].substr(0, 8), "\x06\x01" "CName\t");
    EXPECT_NE(lines[1].find("\t\x01" "Y512\t"), std::string::npos);
    EXPECT_NE(lines[1].find("\x01" "Y" + sub), std::string::npos);

    WIN32_FIND_DATAA after;
    HANDLE found = FindFirstFileA(files[2].path.c_str(), &after);
    FindClose(found);
    EXPECT_EQ(after.ftLastAccessTime.dwLowDateTime, old.dwLowDateTime);
    EXPECT_EQ(after.ftLastAccessTime.dwHighDateTime, old.dwHighDateTime);

    gWalkRoot = FreshTestFolder("inventory_empty");
    ListProgramsOfKind(list, kProgramDos, WalkTestFolder);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(InventoryFixture, AThousandFilesNotBackedUpAreTooManyToList)
{
    // Wine keeps the archive bit on every file, so each file here counts.
    gWalkRoot = FreshTestFolder("inventory_backup");
    for (int i = 998; i >= 0; --i) {
        char name[32];
        snprintf(name, sizeof name, "\\F%04d.DAT", i);
        ASSERT_TRUE(WriteWholeFile(gWalkRoot + name, "x", 1));
    }
    ListFilesNotBackedUp(list, WalkTestFolder);
    const std::vector<std::string> names = Names(list);
    ASSERT_EQ(names.size(), 999u);
    EXPECT_EQ(names.front(), "F0000.DAT");
    EXPECT_EQ(names.back(), "F0998.DAT");
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_NE(ListBoxLines(list)[1].find("\x01" "Y" + gWalkRoot + "\\F0000.DAT"), std::string::npos);

    ASSERT_TRUE(WriteWholeFile(gWalkRoot + "\\F0999.DAT", "x", 1));
    ListFilesNotBackedUp(list, WalkTestFolder);
    EXPECT_EQ(ListBoxLines(list), std::vector<std::string>{kTooManyNotBackedUp});
}

}  // namespace
