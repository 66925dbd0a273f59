// The missing support file check over a fixture folder under Wine: which modules it reports,
// the question, the copies it makes and the ones it refuses, and the one-walk index against a
// walk per module.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "conflicts/conflict_rules.h"
#include "conflicts/support_files.h"
#include "crafted_programs.h"
#include "folder_walk.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

// A 16-bit Windows application referring to these modules.
std::vector<unsigned char> NeProgram(const std::vector<std::string>& modules)
{
    std::vector<unsigned char> b(0x300, 0);
    b[0] = 'M', b[1] = 'Z', b[0x18] = 0x40;
    PutLittleEndian32(b, 0x3C, 0x80);
    b[0x80] = 'N', b[0x81] = 'E', b[0x80 + 0x20] = 0x10, b[0x80 + 0x36] = 2;
    b[0x80 + 0x1E] = uint8_t(modules.size());
    b[0x80 + 0x28] = 0x40, b[0x80 + 0x2A] = 0x80;  // references at 0xC0, names at 0x100
    size_t at = 1;
    for (size_t i = 0; i < modules.size(); ++i) {
        b[0xC0 + 2 * i] = uint8_t(at);
        b[0x100 + at] = uint8_t(modules[i].size());
        memcpy(&b[0x100 + at + 1], modules[i].c_str(), modules[i].size());
        at += 1 + modules[i].size();
    }
    return b;
}

std::vector<unsigned char> Bytes(const std::string& path)
{
    std::vector<unsigned char> bytes;
    ReadWholeFileBytes(path, &bytes);
    return bytes;
}

FILETIME Times(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    return data.ftLastAccessTime;
}

// The fixture: APP.EXE needs HVMISSA.DLL and HVMISSB (found elsewhere), HVGONE.DLL (found
// nowhere), HVOWN.DLL (beside it), KERNEL32.dll (on the system path) and an API set; HVMISSB.DLL
// lies in two folders, LIBS reached first. OLD16.EXE needs only system modules.
struct Fixture {
    std::string apps, app, libA, libB, laterB;
    Fixture(const char* name)
    {
        WalkRoot() = FreshTestFolder(name);
        apps = WalkRoot() + "\\APPS", app = apps + "\\APP.EXE";
        const std::string libs = WalkRoot() + "\\LIBS", deep = WalkRoot() + "\\A\\B";
        for (const std::string& folder : {apps, libs, WalkRoot() + "\\A", deep})
            EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        libA = libs + "\\HVMISSA.DLL", libB = libs + "\\HVMISSB.DLL", laterB = deep + "\\HVMISSB.DLL";
        const std::vector<unsigned char> image =
            PeProgramImporting({"KERNEL32.dll", "HVMISSA.DLL", "HVGONE.DLL", "HVOWN.DLL", "api-ms-win-core-hv-l1-1-0.dll", "HVMISSB"});
        EXPECT_TRUE(WriteWholeFile(app, image.data(), image.size()));
        const std::vector<unsigned char> old = NeProgram({"USER", "GDI", "KERNEL"});
        EXPECT_TRUE(WriteWholeFile(apps + "\\OLD16.EXE", old.data(), old.size()));
        EXPECT_TRUE(WriteWholeFile(apps + "\\HVOWN.DLL", "own", 3));
        EXPECT_TRUE(WriteWholeFile(libA, "first A", 7));
        EXPECT_TRUE(WriteWholeFile(libB, "library B", 9));
        EXPECT_TRUE(WriteWholeFile(laterB, "later B", 7));
        HANDLE file = CreateFileA(app.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        const FILETIME old1996 = {0x12345600u, 0x01C00000u};
        EXPECT_TRUE(SetFileTime(file, &old1996, &old1996, &old1996));
        CloseHandle(file);
    }
};

HWND ReportList()
{
    return CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
}

TEST(FindMissingSupportFiles, NoCopiesNothingAndAsksOnceNamingTheProgram)
{
    Fixture fixture("conflicts_no");
    const std::vector<unsigned char> program = Bytes(fixture.app);
    const FILETIME accessed = Times(fixture.app);
    HWND list = ReportList();
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);
    EXPECT_EQ(FindMissingSupportFiles(nullptr, list, WalkRootBreadthFirst), 2);
    const std::vector<std::string> expected = {
        "\x06\x01" "CFile Name\t\x06\x01" "CStatus\t\x06\x01" "CFile Needed\t\x06\x01" "CPath",
        "\x01YAPP.EXE\t\x01RSkipped\t\x01YHVMISSA.DLL\t\x01Y" + fixture.apps,
        "\x01YAPP.EXE\t\x01RSkipped\t\x01YHVMISSB.DLL\t\x01Y" + fixture.apps,
    };
    EXPECT_EQ(ListBoxLines(list), expected);
    const std::vector<SeenBox> seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Software Conflict Found");
    EXPECT_EQ(seen[0].text, "A software conflict was found with the file:\n\nAPP.EXE\n\nWould you like Pandrel to fix this problem?");
    EXPECT_FALSE(PathExists(fixture.apps + "\\HVMISSA.DLL"));
    EXPECT_FALSE(PathExists(fixture.apps + "\\HVMISSB.DLL"));
    // The program file is read, never changed: its last-access time first, as reading its
    // bytes here moves it.
    const FILETIME after = Times(fixture.app);
    EXPECT_EQ(CompareFileTime(&accessed, &after), 0);
    EXPECT_EQ(Bytes(fixture.app), program);
    DestroyWindow(list);
}

// Answers the question with Yes after making a file of the first module's name appear in
// the program's folder, the way another program could while the question waits.
struct RacingAnswer {
    std::string appeared;
    static DWORD WINAPI Run(LPVOID self)
    {
        const RacingAnswer* answer = static_cast<RacingAnswer*>(self);
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindProcessWindow(GetCurrentProcessId(), "#32770", "Software Conflict Found")) != nullptr; }, 20000);
        if (!box) return 1;
        WriteWholeFile(answer->appeared, "appeared", 8);
        PostMessageA(box, WM_COMMAND, IDYES, 0);
        return 0;
    }
};

TEST(FindMissingSupportFiles, YesCopiesFromTheFirstFolderReachedAndNeverOverwrites)
{
    Fixture fixture("conflicts_yes");
    HWND list = ReportList();
    RacingAnswer answer = {fixture.apps + "\\HVMISSA.DLL"};
    HANDLE thread = CreateThread(nullptr, 0, RacingAnswer::Run, &answer, 0, nullptr);
    EXPECT_EQ(FindMissingSupportFiles(nullptr, list, WalkRootBreadthFirst), 2);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    const std::vector<std::string> lines = ListBoxLines(list);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], "\x01YAPP.EXE\t\x01RNot copied\t\x01YHVMISSA.DLL\t\x01Y" + fixture.apps);
    EXPECT_EQ(lines[2], "\x01YAPP.EXE\t\x01GFixed\t\x01YHVMISSB.DLL\t\x01Y" + fixture.apps);
    EXPECT_EQ(Bytes(fixture.apps + "\\HVMISSB.DLL"), Bytes(fixture.libB));
    EXPECT_EQ(Bytes(answer.appeared), (std::vector<unsigned char>{'a', 'p', 'p', 'e', 'a', 'r', 'e', 'd'}));
    // With both in place a second scan finds nothing missing.
    BoxWatcher boxes(GetCurrentProcessId(), IDNO);
    EXPECT_EQ(FindMissingSupportFiles(nullptr, list, WalkRootBreadthFirst), 0);
    EXPECT_TRUE(boxes.Boxes().empty());
    DestroyWindow(list);
}

// The first entry named like the candidate, by a walk that stops there.
struct Candidate {
    std::string name, path;
};

int MatchFileByName(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    Candidate* candidate = static_cast<Candidate*>(argument);
    if (candidate->name.empty() || (found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        lstrcmpiA(found->cFileName, candidate->name.c_str()) != 0)
        return 0;
    candidate->path = std::string(directory) + "\\" + found->cFileName;
    return 1;
}

int AddToIndex(const WIN32_FIND_DATAA* found, const char* directory, void* argument)
{
    if (!(found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) static_cast<FileNameIndex*>(argument)->Add(found->cFileName, directory);
    return 0;
}

TEST(FileNameIndex, AnswersAsAWalkPerModuleDoes)
{
    Fixture fixture("conflicts_index");
    ASSERT_TRUE(CreateDirectoryA((WalkRoot() + "\\HVDIR.DLL").c_str(), nullptr));  // a folder is no module
    FileNameIndex index;
    WalkRootBreadthFirst(AddToIndex, &index);
    for (const char* module : {"hvmissa.dll", "HVMISSB", "HVGONE.DLL", "HVOWN", "app", "HVDIR", "OLD16.EXE"}) {
        SCOPED_TRACE(module);
        Candidate walked;
        for (const std::string suffix : {"", ".DLL", ".EXE"}) {
            walked.name = module + suffix;
            if (WalkRootBreadthFirst(MatchFileByName, &walked)) break;
        }
        char path[kWalkPathLength], found[kWalkPathLength];
        EXPECT_EQ(index.FindModule(module, path, found), !walked.path.empty());
        EXPECT_EQ(path, walked.path);
    }
}

}  // namespace
