// The walks over the fixed drives C:, D:, F:, G: (A: is removable, E: a CD-ROM). The fixture
// trees hold *.HVW markers: F:\WALKF.HVW, F:\ALPHA\A1.HVW, F:\ALPHA\INNER\I1.HVW and I2.HVW,
// F:\ALPHA\INNER\DEEPEST\NOTES.TXT, F:\BETA\Long Walk Name.data and lower.hvw, F:\.HIDDEN\H.HVW,
// G:\GAMMA\G1.HVW, G:\GAMMA\SUB\S.TXT, G:\DELTA\D1.TXT, A:\FLOPPY.HVW, E:\CDROM.HVW; and the
// links F:\ALPHA\INNER\UP (to F:\ALPHA) and F:\BETA\TOALPHA (to F:\ALPHA). Wine lists entries
// sorted by name, so the orders are fixed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "services/drives.h"
#include "services/walks.h"
#include "wine_env.h"

namespace {

typedef char Slot[kWalkPathLength];

std::string CurrentDirectory()
{
    char folder[MAX_PATH] = {};
    return std::string(folder, GetCurrentDirectoryA(sizeof folder, folder));
}

// Each test gets the current directory back and the tree it made removed.
class Walks : public testing::Test {
protected:
    void SetUp() override
    {
        saved_ = CurrentDirectory();
        // The links really lead to F:\ALPHA, so the exact lists below show they are not followed.
        for (const char* link : {"F:\\ALPHA\\INNER\\UP\\A1.HVW", "F:\\BETA\\TOALPHA\\A1.HVW"}) ASSERT_TRUE(PathExists(link));
    }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_.c_str());
        if (!tree_.empty()) RemoveTree(tree_);
    }
    // A folder in the root of a drive, reached through "\\?\" so trees may go below MAX_PATH.
    std::wstring MakeTree(const std::string& root)
    {
        tree_ = root;
        const std::wstring wide = L"\\\\?\\" + std::wstring(root.begin(), root.end());
        EXPECT_TRUE(CreateDirectoryW(wide.c_str(), nullptr));
        return wide;
    }
    std::string saved_, tree_;
};

bool CreateEmptyFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file != INVALID_HANDLE_VALUE && CloseHandle(file);
}

// CollectFilesByName into a block with a guard slot past its end, which must stay untouched;
// returns the counted paths and, in spare, the last slot.
std::vector<std::string> Collect(std::vector<const char*> texts, std::string* spare = nullptr)
{
    std::vector<Slot> needles(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) lstrcpynA(needles[i], texts[i], kWalkPathLength);
    std::vector<Slot> out(kCollectSlotCount + 1);
    memset(out.data(), '#', out.size() * sizeof(Slot));
    const int count = CollectFilesByName(out.data(), needles.data(), int(needles.size()));
    EXPECT_EQ(std::string(out[kCollectSlotCount], kWalkPathLength), std::string(kWalkPathLength, '#'));
    EXPECT_TRUE(count >= 0 && count < kCollectSlotCount) << count;
    if (spare) *spare = out[kCollectSlotCount - 1];
    return std::vector<std::string>(out.begin(), out.begin() + std::max(0, std::min(count, kCollectSlotCount - 1)));
}

struct Visit { std::string directory, name; };

// Every visit of WalkFixedDrives, in order.
std::vector<Visit> WalkAll()
{
    std::vector<Visit> visits;
    const auto record = [](const WIN32_FIND_DATAA* found, const char* directory, void* visits) {
        static_cast<std::vector<Visit>*>(visits)->push_back({directory, found->cFileName});
        return 0;
    };
    EXPECT_EQ(WalkFixedDrives(record, &visits), 0);
    return visits;
}

// Counting and collecting share one depth-first walk; which drives it enters is checked here.
TEST_F(Walks, CountDirsWithMatchCountsFoldersOfFixedDrivesOnly)
{
    struct Case { const char* pattern; int count; } cases[] = {
        {"*.HVW", 5},       // F:\, F:\ALPHA, F:\ALPHA\INNER, F:\BETA, G:\GAMMA
        {"I?.HVW", 1},      // two matches in one folder count once
        {"INNER", 1},       // a folder is found like a file
        {"..\\A1.HVW", 1},  // read from each folder as the current one
        {"g:S.TXT", 1},     // relative to the walked folder of its own drive
        {"H.HVW", 0},       // only in F:\.HIDDEN, which is not entered
        {"FLOPPY.HVW", 0},  // removable A:
        {"CDROM.HVW", 0},   // CD-ROM E:
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        SetCurrentDirectoryA("D:\\");
        EXPECT_EQ(CountDirsWithMatch(c.pattern), c.count);
        EXPECT_EQ(CurrentDirectory(), "G:\\");  // the root of the last fixed drive
    }
}

TEST_F(Walks, CollectFilesByNameStoresShortNamesDepthFirst)
{
    char shortLong[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA("F:\\BETA\\Long Walk Name.data", shortLong, sizeof shortLong), 0u);
    const std::vector<std::string> expected = {"F:\\WALKF.HVW",           "F:\\ALPHA\\A1.HVW", "F:\\ALPHA\\INNER\\I1.HVW",
                                               "F:\\ALPHA\\INNER\\I2.HVW", shortLong,           "F:\\BETA\\LOWER.HVW",
                                               "G:\\GAMMA\\G1.HVW"};
    EXPECT_EQ(Collect({"HVW", "LONG WALK"}), expected);

    // Collecting for several needles at once gives each the list of a walk for it alone, and
    // a folder walk from F:\ gives that drive's part of it.
    const std::vector<std::string> needles = {"HVW", "LONG WALK", ".TXT", "NOWHERE"};
    std::vector<std::vector<std::string>> each, underF;
    CollectEachNameOnFixedDrives(needles, &each, nullptr, nullptr);
    CollectEachNameUnder("F:\\", needles, &underF, nullptr, nullptr);
    ASSERT_EQ(each.size(), needles.size());
    ASSERT_EQ(underF.size(), needles.size());
    for (size_t i = 0; i < needles.size(); ++i) {
        const std::vector<std::string> alone = Collect({needles[i].c_str()});
        EXPECT_EQ(each[i], alone) << needles[i];
        std::vector<std::string> onF;
        for (const std::string& path : alone)
            if (path[0] == 'F') onF.push_back(path);
        EXPECT_EQ(underF[i], onF) << needles[i];
    }
}

TEST_F(Walks, WalkFixedDrivesGoesBreadthFirstOverFixedDrivesOnly)
{
    SetCurrentDirectoryA("D:\\");
    const std::vector<Visit> visits = WalkAll();
    EXPECT_EQ(CurrentDirectory(), "D:\\");
    const std::vector<std::string> expected = {"F:\\", "F:\\ALPHA", "F:\\BETA", "F:\\ALPHA\\INNER", "F:\\ALPHA\\INNER\\DEEPEST",
                                               "G:\\", "G:\\DELTA", "G:\\GAMMA", "G:\\GAMMA\\SUB"};
    // Each folder's entries come together; only fixed drives are walked.
    std::vector<std::string> directories;
    std::set<char> drives;
    for (const Visit& visit : visits) {
        drives.insert(visit.directory[0]);
        if (strchr("FG", visit.directory[0]) && (directories.empty() || directories.back() != visit.directory))
            directories.push_back(visit.directory);
    }
    EXPECT_EQ(directories, expected);
    EXPECT_EQ(drives, (std::set<char>{'C', 'D', 'F', 'G'}));
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        EXPECT_EQ(IsFixedDrive(letter), DriveTypeOf(letter) == DRIVE_FIXED) << letter;
}

TEST_F(Walks, CollectFilesByNameCountsAtMost2499Paths)
{
    const std::wstring root = MakeTree("G:\\CAPS");
    for (int i = 1; i <= 2600; ++i) ASSERT_TRUE(CreateEmptyFile(root + L"\\CAP" + std::to_wstring(10000 + i) + L".HVC")) << i;
    std::string spare;
    const std::vector<std::string> paths = Collect({".HVC"}, &spare);
    ASSERT_EQ(paths.size(), size_t(kCollectSlotCount - 1));
    EXPECT_EQ(paths.front(), "G:\\CAPS\\CAP10001.HVC");
    EXPECT_EQ(paths.back(), "G:\\CAPS\\CAP12499.HVC");
    EXPECT_EQ(spare, "G:\\CAPS\\CAP12600.HVC");  // the last hit of all
    std::vector<std::vector<std::string>> each;
    CollectEachNameOnFixedDrives({"CAP1", ".HVC"}, &each, nullptr, nullptr);
    EXPECT_EQ(each, (std::vector<std::vector<std::string>>{paths, paths}));
}

TEST_F(Walks, FoldersTooDeepForAPathAreSkippedAndTheWalkGoesOn)
{
    // G:\DEEP\s234567 is 15 characters and each d23456789 adds 10: level 25 is 255, the
    // deepest that can be searched ("\*.*" makes 259), and its M.HVD would need 261.
    std::wstring level = MakeTree("G:\\DEEP") + L"\\s234567";
    for (int depth = 1; depth <= 30; ++depth, level += L"\\d23456789") {
        ASSERT_TRUE(CreateDirectoryW(level.c_str(), nullptr)) << depth;
        ASSERT_TRUE(CreateEmptyFile(level + L"\\M.HVD")) << depth;
    }
    EXPECT_EQ(CountDirsWithMatch("M.HVD"), 24);
    EXPECT_EQ(CountDirsWithMatch("*.HVW"), 5);  // G:\GAMMA, after G:\DEEP, is still walked
    const std::vector<std::string> paths = Collect({"M.HVD"});
    ASSERT_EQ(paths.size(), 24u);
    EXPECT_EQ(paths.back().size(), 245u + strlen("\\M.HVD"));
    size_t deepestMarker = 0;
    bool sawGammaSub = false;
    for (const Visit& visit : WalkAll()) {
        if (visit.name == "M.HVD") deepestMarker = std::max(deepestMarker, visit.directory.size());
        sawGammaSub |= visit.directory == "G:\\GAMMA\\SUB";
    }
    EXPECT_EQ(deepestMarker, 255u);  // the deepest searchable folder is walked, nothing deeper
    EXPECT_TRUE(sawGammaSub);
}

}  // namespace
