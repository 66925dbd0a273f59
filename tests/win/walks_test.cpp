// The walks over the fixed drives, run over the harness's fixture drives: C: (the prefix's
// own drive, whose content the tests never count on), D:, F: and G: fixed, A: removable,
// E: CD-ROM. Folder trees on F: and G: (tests/fixtures/drives) carry *.HVW marker files:
//   F:\WALKF.HVW  F:\ALPHA\A1.HVW  F:\ALPHA\INNER\I1.HVW, I2.HVW  F:\ALPHA\INNER\DEEPEST\NOTES.TXT
//   F:\BETA\Long Walk Name.data, lower.hvw  F:\.HIDDEN\H.HVW  G:\GAMMA\G1.HVW
//   G:\GAMMA\SUB\S.TXT  G:\DELTA\D1.TXT  A:\FLOPPY.HVW  E:\CDROM.HVW
// and two links (tests/fixtures/drive_links.conf): F:\ALPHA\INNER\UP to its grandparent
// F:\ALPHA and F:\BETA\TOALPHA to F:\ALPHA. Wine lists a folder's entries sorted by name,
// so the orders below are fixed. Trees a test needs for itself are made through "\\?\"
// paths (which reach below the 260-character limit) and removed at its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "services/walks.h"
#include "wine_env.h"

namespace {

typedef char Slot[kWalkPathLength];

std::string CurrentDirectory()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

// The walks move the current directory; each test gets the harness's folder back, and
// the tree it made (root, "X:\NAME") removed.
class Walks : public testing::Test {
protected:
    void SetUp() override { saved_ = CurrentDirectory(); }
    void TearDown() override
    {
        SetCurrentDirectoryA(saved_.c_str());
        if (!tree_.empty()) RemoveTree(tree_);
    }
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

// Runs CollectFilesByName over a block with one guard slot past its end, which must stay
// untouched; returns the counted paths and, in spare, the last slot.
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
    std::vector<std::string> paths;
    for (int i = 0; i < count && i < kCollectSlotCount; ++i) paths.push_back(out[i]);
    EXPECT_EQ(CurrentDirectory(), "G:\\");  // the root of the last fixed drive
    return paths;
}

struct Visit {
    std::string directory, name;
};

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

// The directories of the visits on the given drives, each run of visits to the same
// directory collapsed into one.
std::vector<std::string> DirectoriesVisited(const std::vector<Visit>& visits, const std::string& drives)
{
    std::vector<std::string> directories;
    for (const Visit& visit : visits) {
        if (drives.find(visit.directory[0]) == std::string::npos) continue;
        if (directories.empty() || directories.back() != visit.directory) directories.push_back(visit.directory);
    }
    return directories;
}

TEST_F(Walks, CountDirsWithMatchCountsFoldersOfFixedDrivesOnly)
{
    struct Case {
        const char* pattern;
        int count;
    } cases[] = {
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
        EXPECT_EQ(CurrentDirectory(), "G:\\");
    }
}

TEST_F(Walks, CollectFilesByNameStoresShortNamesDepthFirst)
{
    char shortLong[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA("F:\\BETA\\Long Walk Name.data", shortLong, sizeof shortLong), 0u);
    ASSERT_STRNE(shortLong, "F:\\BETA\\Long Walk Name.data");
    const std::vector<std::string> expected = {"F:\\WALKF.HVW",           "F:\\ALPHA\\A1.HVW", "F:\\ALPHA\\INNER\\I1.HVW",
                                               "F:\\ALPHA\\INNER\\I2.HVW", shortLong,           "F:\\BETA\\LOWER.HVW",
                                               "G:\\GAMMA\\G1.HVW"};
    EXPECT_EQ(Collect({"HVW", "LONG WALK"}), expected);
    for (const std::string& path : expected) EXPECT_TRUE(PathExists(path)) << path;
    EXPECT_TRUE(Collect({"FLOPPY", "CDROM", "H.HVW"}).empty());
}

TEST_F(Walks, WalkFixedDrivesGoesBreadthFirstOverFixedDrivesOnly)
{
    SetCurrentDirectoryA("D:\\");
    const std::vector<Visit> visits = WalkAll();
    EXPECT_EQ(CurrentDirectory(), "D:\\");
    const std::vector<std::string> expected = {"F:\\", "F:\\ALPHA", "F:\\BETA", "F:\\ALPHA\\INNER", "F:\\ALPHA\\INNER\\DEEPEST",
                                               "G:\\", "G:\\DELTA", "G:\\GAMMA", "G:\\GAMMA\\SUB"};
    EXPECT_EQ(DirectoriesVisited(visits, "FG"), expected);
    // Every folder's entries come together, and only fixed drives are walked.
    const std::vector<std::string> all = DirectoriesVisited(visits, "ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    std::set<char> drives;
    for (const std::string& directory : all) drives.insert(directory[0]);
    EXPECT_EQ(drives, (std::set<char>{'C', 'D', 'F', 'G'}));
    // Entries of folders that are not entered (a hidden folder, links) are still visited.
    std::multiset<std::string> names;
    for (const Visit& v : visits) names.insert(v.directory + "|" + v.name);
    for (const char* entry : {"F:\\|.HIDDEN", "F:\\ALPHA\\INNER|UP", "F:\\BETA|TOALPHA"}) EXPECT_EQ(names.count(entry), 1u) << entry;
}

TEST_F(Walks, AVisitorsResultStopsTheWalkAndIsReturned)
{
    std::string last;
    const auto stopAtA1 = [](const WIN32_FIND_DATAA* found, const char* directory, void* last) {
        *static_cast<std::string*>(last) = std::string(directory) + "|" + found->cFileName;
        return strcmp(found->cFileName, "A1.HVW") == 0 ? 42 : 0;
    };
    EXPECT_EQ(WalkFixedDrives(stopAtA1, &last), 42);
    EXPECT_EQ(last, "F:\\ALPHA|A1.HVW");
}

TEST_F(Walks, CollectFilesByNameCountsAtMost2499Paths)
{
    const std::wstring root = MakeTree("G:\\CAPS");
    for (int i = 1; i <= 2600; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\CAP%05d.HVC", i);
        ASSERT_TRUE(CreateEmptyFile(root + name)) << i;
    }
    std::string spare;
    const std::vector<std::string> paths = Collect({".HVC"}, &spare);
    ASSERT_EQ(paths.size(), size_t(kCollectSlotCount - 1));
    EXPECT_EQ(paths.front(), "G:\\CAPS\\CAP00001.HVC");
    EXPECT_EQ(paths.back(), "G:\\CAPS\\CAP02499.HVC");
    EXPECT_EQ(spare, "G:\\CAPS\\CAP02600.HVC");  // the last hit of all
}

TEST_F(Walks, LinksAreSeenButNotFollowed)
{
    // Wine shows a Unix link to a folder as a folder that is a reparse point.
    for (const char* link : {"F:\\ALPHA\\INNER\\UP", "F:\\BETA\\TOALPHA"}) {
        WIN32_FIND_DATAA found = {};
        FindClose(FindFirstFileA(link, &found));
        EXPECT_EQ(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
                  DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) << link;
        EXPECT_TRUE(PathExists(std::string(link) + "\\A1.HVW")) << link;
    }
    // The walk ends, and no folder through a link is entered (the counts and collections
    // over F: above are those of the real folders).
    for (const std::string& directory : DirectoriesVisited(WalkAll(), "F"))
        EXPECT_TRUE(directory.find("\\UP") == std::string::npos && directory.find("\\TOALPHA") == std::string::npos)
            << directory;
}

TEST_F(Walks, FoldersTooDeepForAPathAreSkippedAndTheWalkGoesOn)
{
    // G:\DEEP\s234567 is 15 characters, and each d23456789 below adds 10: level 25 is 255
    // characters, the deepest that can still be searched ("\*.*" makes 259), and its
    // M.HVD would need 261. Every level holds an M.HVD; levels go on to 30.
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

    const std::vector<Visit> visits = WalkAll();
    size_t longest = 0;
    bool sawDeepestMarker = false;
    for (const Visit& visit : visits) {
        longest = std::max(longest, visit.directory.size());
        sawDeepestMarker |= visit.directory.size() == 255 && visit.name == "M.HVD";
    }
    EXPECT_EQ(longest, 255u);
    EXPECT_TRUE(sawDeepestMarker);
    const std::vector<std::string> onG = DirectoriesVisited(visits, "G");
    EXPECT_NE(std::find(onG.begin(), onG.end(), "G:\\GAMMA\\SUB"), onG.end());
}

}  // namespace
