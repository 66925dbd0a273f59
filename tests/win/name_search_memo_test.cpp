// The remembered whole-disk search, over a folder tree of the test's own (the fixed drives
// of the test prefix also hold folders other tests write to, which keep it from being
// trusted): the same answers as a fresh walk after every kind of change, and no walk while
// nothing changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "services/name_search_memo.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

std::string gRoot;

void WalkTestTree(const std::vector<std::string>& needles, std::vector<std::vector<std::string>>* collected,
                  DirectoryNote note, void* state)
{
    CollectEachNameUnder(gRoot.c_str(), needles, collected, note, state);
}

std::vector<std::string> FreshWalk(const char* needle)
{
    std::vector<std::vector<std::string>> collected;
    CollectEachNameUnder(gRoot.c_str(), {needle}, &collected, nullptr, nullptr);
    return collected[0];
}

// Gives every folder of the tree a last-write time in 2001, as a tree left alone for years.
void SettleTree(const std::string& folder)
{
    HANDLE handle = CreateFileA(folder.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(handle, INVALID_HANDLE_VALUE) << folder;
    const FILETIME old = {0x2A4C5000, 0x01C07F3D};
    EXPECT_TRUE(SetFileTime(handle, nullptr, nullptr, &old));
    CloseHandle(handle);
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (listing == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && found.cFileName[0] != '.')
            SettleTree(folder + "\\" + found.cFileName);
    } while (FindNextFileA(listing, &found));
    FindClose(listing);
}

TEST(NameSearchMemo, AnswersAsAFreshWalkAndWalksOnlyAfterAChange)
{
    gRoot = FreshTestFolder("name_search_memo");
    for (const char* folder : {"\\A", "\\A\\B", "\\C"}) ASSERT_TRUE(CreateDirectoryA((gRoot + folder).c_str(), nullptr));
    for (const char* file : {"\\A\\B\\GAME.PIF", "\\A\\DRVSPACE.001", "\\C\\NOTES.TXT"})
        ASSERT_TRUE(WriteWholeFile(gRoot + file, "x", 1));
    SettleTree(gRoot);

    NameSearchMemo memo({".PIF", "DRVSPAC"}, WalkTestTree);
    EXPECT_EQ(memo.PathsNamed(".PIF"), FreshWalk(".PIF"));
    EXPECT_FALSE(memo.WasRemembered());
    // Each step changes the tree (or not) and asks again: every answer must be a fresh
    // walk's, and only an answer with nothing changed since the last walk may skip it.
    struct Step {
        const char* what;
        bool (*change)();
        bool changes;
    };
    const Step steps[] = {
        {"nothing changed", [] { return true; }, false},
        {"file added deep down", [] { return WriteWholeFile(gRoot + "\\A\\B\\MORE.PIF", "x", 1); }, true},
        {"folder renamed", [] { return MoveFileA((gRoot + "\\A\\B").c_str(), (gRoot + "\\A\\RENAMED").c_str()) != 0; }, true},
        {"file renamed to a hit", [] {
             return MoveFileA((gRoot + "\\C\\NOTES.TXT").c_str(), (gRoot + "\\C\\NOTES.PIF").c_str()) != 0;
         }, true},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        ASSERT_TRUE(step.change());
        EXPECT_EQ(memo.PathsNamed("DRVSPAC"), FreshWalk("DRVSPAC"));
        EXPECT_EQ(memo.WasRemembered(), !step.changes);
        // The changed folder was just written, which is not trusted until it settles; here
        // it is settled at once, as if two seconds had gone by, and the next answer walks.
        if (step.changes) {
            SettleTree(gRoot);
            EXPECT_EQ(memo.PathsNamed(".PIF"), FreshWalk(".PIF"));
            EXPECT_FALSE(memo.WasRemembered());
        }
        EXPECT_EQ(memo.PathsNamed(".PIF"), FreshWalk(".PIF"));
        EXPECT_TRUE(memo.WasRemembered());
    }
    EXPECT_EQ(FreshWalk(".PIF").size(), 3u);  // GAME, MORE (in RENAMED) and NOTES

    // A folder written a moment ago is not trusted: the next search walks again.
    ASSERT_TRUE(WriteWholeFile(gRoot + "\\C\\LATE.PIF", "x", 1));
    EXPECT_EQ(memo.PathsNamed(".PIF"), FreshWalk(".PIF"));
    EXPECT_EQ(memo.PathsNamed(".PIF"), FreshWalk(".PIF"));
    EXPECT_FALSE(memo.WasRemembered());
    // A needle outside the set is searched for on its own.
    EXPECT_EQ(memo.PathsNamed(".TXT"), FreshWalk(".TXT"));
    EXPECT_FALSE(memo.WasRemembered());
    RemoveTree(gRoot);
}

}  // namespace
