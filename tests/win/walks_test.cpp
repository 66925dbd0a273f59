// The walks over the fixed drives, run over the harness's fixture drives: C: (the prefix's
// own drive, whose content the tests never count on), D:, F: and G: fixed, A: removable,
// E: CD-ROM. Folder trees on F: and G: (tests/fixtures/drives) carry *.HVW marker files:
//   F:\WALKF.HVW  F:\ALPHA\A1.HVW  F:\ALPHA\INNER\I1.HVW, I2.HVW  F:\ALPHA\INNER\DEEPEST\NOTES.TXT
//   F:\BETA\Long Walk Name.data, lower.hvw  F:\.HIDDEN\H.HVW  G:\GAMMA\G1.HVW
//   G:\GAMMA\SUB\S.TXT  G:\DELTA\D1.TXT  A:\FLOPPY.HVW  E:\CDROM.HVW
// and two links (tests/fixtures/drive_links.conf): F:\ALPHA\INNER\UP to its grandparent
// F:\ALPHA and F:\BETA\TOALPHA to F:\ALPHA. Wine lists a folder's entries sorted by name,
// so the orders below are fixed. Trees a test needs for itself are made through Win32
// ("\\?\" paths reach below the 260-character limit) and removed at its end.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "services/walks.h"
#include "wine_env.h"

typedef char Slot[kWalkPathLength];

// Deletes a folder tree through "\\?\" paths, so depth does not matter.
static void RemoveLongTree(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE listing = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLongTree(folder + L"\\" + name);
            else
                DeleteFileW((folder + L"\\" + name).c_str());
        } while (FindNextFileW(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryW(folder.c_str());
}

// A folder a test fills for itself, removed at its end whether the test passed or not.
struct TestTree {
    std::wstring root;  // "\\?\X:\..."
    ~TestTree() { RemoveLongTree(root); }
};

static bool CreateEmptyFile(const std::wstring& path)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);
    return true;
}

static std::string CurrentDirectory()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    return folder;
}

// The walks move the current directory; each test gets the harness's folder back.
class Walks : public testing::Test {
protected:
    void SetUp() override { saved_ = CurrentDirectory(); }
    void TearDown() override { SetCurrentDirectoryA(saved_.c_str()); }
    std::string saved_;
};

// Runs CollectFilesByName over a block with one guard slot past its end, which must stay
// untouched; returns the counted paths and, in spare, the last slot.
static std::vector<std::string> Collect(std::vector<const char*> texts, std::string* spare = nullptr)
{
    std::vector<Slot> needles(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) lstrcpynA(needles[i], texts[i], kWalkPathLength);
    std::vector<Slot> out(kCollectSlotCount + 1);
    for (Slot& slot : out) memset(slot, '#', kWalkPathLength);
    const int count = CollectFilesByName(out.data(), needles.data(), int(needles.size()));
    EXPECT_EQ(std::string(out[kCollectSlotCount], kWalkPathLength), std::string(kWalkPathLength, '#'));
    if (spare) *spare = out[kCollectSlotCount - 1];
    EXPECT_GE(count, 0);
    EXPECT_LT(count, kCollectSlotCount);
    std::vector<std::string> paths;
    for (int i = 0; i < count && i < kCollectSlotCount; ++i) paths.push_back(out[i]);
    return paths;
}

struct Visit {
    std::string directory;
    std::string name;
    DWORD attributes;
};

static int RecordVisit(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    static_cast<std::vector<Visit>*>(argument)->push_back({directory, found->cFileName, found->dwFileAttributes});
    return 0;
}

static std::vector<Visit> WalkAll()
{
    std::vector<Visit> visits;
    EXPECT_EQ(WalkFixedDrives(RecordVisit, &visits), 0);
    return visits;
}

// The directories of the visits on the given drives, each run of visits to the same
// directory collapsed into one.
static std::vector<std::string> DirectoriesVisited(const std::vector<Visit>& visits, const std::string& drives)
{
    std::vector<std::string> directories;
    for (const Visit& visit : visits) {
        if (drives.find(visit.directory[0]) == std::string::npos) continue;
        if (directories.empty() || directories.back() != visit.directory) directories.push_back(visit.directory);
    }
    return directories;
}

static const char* const kMarkerPaths[] = {"F:\\WALKF.HVW", "F:\\ALPHA\\A1.HVW", "F:\\ALPHA\\INNER\\I1.HVW",
                                           "F:\\ALPHA\\INNER\\I2.HVW"};

TEST_F(Walks, CountDirsWithMatchCountsFoldersOfFixedDrivesOnly)
{
    struct Case {
        const char* pattern;
        int count;
    };
    const Case cases[] = {
        {"*.HVW", 5},       // F:\, F:\ALPHA, F:\ALPHA\INNER, F:\BETA, G:\GAMMA
        {"I?.HVW", 1},      // two matches in one folder count once
        {"INNER", 1},       // a folder is found like a file
        {"..\\A1.HVW", 1},  // read from each folder as the current one
        {"g:S.TXT", 1},     // relative to the walked folder of its own drive
        {"H.HVW", 0},       // only in F:\.HIDDEN, which is not entered
        {"FLOPPY.HVW", 0},  // removable A:
        {"CDROM.HVW", 0},   // CD-ROM E:
        {"NOSUCH.HVW", 0},
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
    std::vector<std::string> expected(std::begin(kMarkerPaths), std::end(kMarkerPaths));
    expected.insert(expected.end(), {shortLong, "F:\\BETA\\LOWER.HVW", "G:\\GAMMA\\G1.HVW"});

    EXPECT_EQ(Collect({"HVW", "LONG WALK"}), expected);
    EXPECT_EQ(CurrentDirectory(), "G:\\");
    for (const std::string& path : expected) {
        SCOPED_TRACE(path);
        EXPECT_TRUE(PathExists(path));
    }
    EXPECT_TRUE(Collect({"FLOPPY", "CDROM", "H.HVW"}).empty());
}

TEST_F(Walks, WalkFixedDrivesGoesBreadthFirstOverFixedDrivesOnly)
{
    SetCurrentDirectoryA("D:\\");
    const std::vector<Visit> visits = WalkAll();
    EXPECT_EQ(CurrentDirectory(), "D:\\");

    const std::vector<std::string> expected = {
        "F:\\", "F:\\ALPHA", "F:\\BETA", "F:\\ALPHA\\INNER", "F:\\ALPHA\\INNER\\DEEPEST",
        "G:\\", "G:\\DELTA", "G:\\GAMMA", "G:\\GAMMA\\SUB"};
    EXPECT_EQ(DirectoriesVisited(visits, "FG"), expected);

    // Every folder's entries come together, and only fixed drives are walked.
    const std::vector<std::string> all = DirectoriesVisited(visits, "CDEFGHIJKLMNOPQRSTUVWXYZAB");
    EXPECT_EQ(std::set<std::string>(all.begin(), all.end()).size(), all.size());
    std::set<char> drives;
    for (const std::string& directory : all) drives.insert(directory[0]);
    EXPECT_EQ(drives, (std::set<char>{'C', 'D', 'F', 'G'}));

    // Entries of folders that are not entered are still visited.
    bool sawHidden = std::any_of(visits.begin(), visits.end(),
                                 [](const Visit& v) { return v.directory == "F:\\" && v.name == ".HIDDEN"; });
    EXPECT_TRUE(sawHidden);
    const size_t innerEntries = std::count_if(visits.begin(), visits.end(),
                                              [](const Visit& v) { return v.directory == "F:\\ALPHA\\INNER"; });
    EXPECT_EQ(innerEntries, 6u);  // ".", "..", DEEPEST, I1.HVW, I2.HVW, UP
}

struct StopAt {
    const char* name;
    int value;
    std::vector<std::string> seen;
};

static int StopAtName(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    StopAt* stop = static_cast<StopAt*>(argument);
    stop->seen.push_back(std::string(directory) + "|" + found->cFileName);
    return strcmp(found->cFileName, stop->name) == 0 ? stop->value : 0;
}

TEST_F(Walks, VisitorsResultStopsTheWalkAndIsReturned)
{
    StopAt stopAtMarker = {"A1.HVW", 42, {}};
    EXPECT_EQ(WalkFixedDrives(StopAtName, &stopAtMarker), 42);
    ASSERT_FALSE(stopAtMarker.seen.empty());
    EXPECT_EQ(stopAtMarker.seen.back(), "F:\\ALPHA|A1.HVW");

    StopAt stopAtOnce = {"", -1, {}};
    EXPECT_EQ(WalkFixedDrives([](const WIN32_FIND_DATAA*, const char*, void* argument) {
                  static_cast<StopAt*>(argument)->seen.push_back("any");
                  return -1;
              }, &stopAtOnce), -1);
    EXPECT_EQ(stopAtOnce.seen.size(), 1u);
}

TEST_F(Walks, CollectFilesByNameCountsAtMost2499Paths)
{
    TestTree tree = {L"\\\\?\\G:\\CAPS"};
    ASSERT_TRUE(CreateDirectoryW(tree.root.c_str(), nullptr));
    for (int i = 1; i <= 2600; ++i) {
        wchar_t name[32];
        swprintf(name, 32, L"\\CAP%05d.HVC", i);
        ASSERT_TRUE(CreateEmptyFile(tree.root + name)) << i;
    }
    std::string spare;
    const std::vector<std::string> paths = Collect({".HVC"}, &spare);
    ASSERT_EQ(paths.size(), size_t(kCollectSlotCount - 1));
    std::set<std::string> distinct(paths.begin(), paths.end());
    distinct.insert(spare);
    EXPECT_EQ(distinct.size(), size_t(kCollectSlotCount));
    EXPECT_EQ(paths.front(), "G:\\CAPS\\CAP00001.HVC");
    EXPECT_EQ(paths.back(), "G:\\CAPS\\CAP02499.HVC");
    EXPECT_EQ(spare, "G:\\CAPS\\CAP02600.HVC");  // the last hit of all
}

TEST_F(Walks, LinksAreSeenButNotFollowed)
{
    // Wine shows a Unix link to a folder as a folder that is a reparse point.
    for (const char* link : {"F:\\ALPHA\\INNER\\UP", "F:\\BETA\\TOALPHA"}) {
        SCOPED_TRACE(link);
        WIN32_FIND_DATAA found;
        HANDLE listing = FindFirstFileA(link, &found);
        ASSERT_NE(listing, INVALID_HANDLE_VALUE);
        FindClose(listing);
        EXPECT_EQ(found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT),
                  DWORD(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT));
        EXPECT_TRUE(PathExists(std::string(link) + "\\A1.HVW"));
    }

    // Counts and collections over F: are those of the real folders (the tests above).
    const std::vector<Visit> visits = WalkAll();
    for (const std::string& directory : DirectoriesVisited(visits, "F")) {
        SCOPED_TRACE(directory);
        EXPECT_EQ(directory.find("\\UP"), std::string::npos);
        EXPECT_EQ(directory.find("\\TOALPHA"), std::string::npos);
    }
    for (const char* name : {"UP", "TOALPHA"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(std::count_if(visits.begin(), visits.end(), [&](const Visit& v) { return v.name == name; }), 1);
    }
}

TEST_F(Walks, FoldersTooDeepForAPathAreSkippedAndTheWalkGoesOn)
{
    // G:\DEEP\s234567 is 15 characters, and each d23456789 below adds 10: level 25 is 255
    // characters, the deepest that can still be searched ("\*.*" makes 259), and its
    // M.HVD would need 261. Every level holds an M.HVD; levels go on to 30.
    TestTree tree = {L"\\\\?\\G:\\DEEP"};
    std::wstring level = tree.root + L"\\s234567";
    ASSERT_TRUE(CreateDirectoryW(tree.root.c_str(), nullptr));
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
