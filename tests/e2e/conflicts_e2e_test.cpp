// Fix Software Conflicts in the running program: from the main dialog, the missing support
// file check over every fixed drive finds the library a fixture program on F: needs on G:,
// asks about that program and copies the library into place.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "crafted_programs.h"
#include "halvorn_process.h"
#include "resources/ids_conflicts.h"
#include "resources/ids_main.h"
#include "wine_env.h"

namespace {

// Answers every "Software Conflict Found" box of the program: Yes for the one naming the
// fixture program, No for any other, and keeps their texts.
struct ConflictAnswers {
    DWORD processId;
    volatile LONG stop = 0;
    std::vector<std::string> texts;
    static DWORD WINAPI Run(LPVOID self)
    {
        ConflictAnswers* answers = static_cast<ConflictAnswers*>(self);
        while (!answers->stop) {
            HWND box = FindProcessWindow(answers->processId, "#32770", "Software Conflict Found");
            const std::string text = box ? WindowText(GetDlgItem(box, 0xFFFF)) : "";
            if (!text.empty()) {
                answers->texts.push_back(text);
                PostMessageA(box, WM_COMMAND, text.find("\n\nHVAPP.EXE\n\n") != std::string::npos ? IDYES : IDNO, 0);
                while (IsWindow(box) && !answers->stop) Sleep(20);
            }
            Sleep(20);
        }
        return 0;
    }
};

// A report line without its markup.
std::string Plain(const std::string& line)
{
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x01') ++i;
        else if (line[i] != '\x06') text += line[i];
    }
    return text;
}

}  // namespace

TEST(ConflictsE2e, IntegrityFindsAMissingLibraryOnAnotherDriveAndCopiesItIntoPlace)
{
    const std::string programFolder = "F:\\HVCONFLICT", libraryFolder = "G:\\HVLIBS";
    const std::string library = libraryFolder + "\\HVE2ELIB.DLL", placed = programFolder + "\\HVE2ELIB.DLL";
    RemoveTree(programFolder), RemoveTree(libraryFolder);
    ASSERT_TRUE(CreateDirectoryA(programFolder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA(libraryFolder.c_str(), nullptr));
    const std::vector<unsigned char> program = PeProgramImporting({"KERNEL32.dll", "HVE2ELIB.DLL"});
    ASSERT_TRUE(WriteWholeFile(programFolder + "\\HVAPP.EXE", program.data(), program.size()));
    ASSERT_TRUE(WriteWholeFile(library, "library bytes", 13));

    HalvornProcess halvorn("conflicts");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND dialog = halvorn.OpenFrom(main, IDC_MAIN_CONFLICTS, "Fix Software Conflicts");
    ASSERT_NE(dialog, nullptr);

    ConflictAnswers answers;
    answers.processId = halvorn.Id();
    HANDLE thread = CreateThread(nullptr, 0, ConflictAnswers::Run, &answers, 0, nullptr);
    const DWORD started = GetTickCount();
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONFLICTS_INTEGRITY, BN_CLICKED),
                    LPARAM(GetDlgItem(dialog, IDC_CONFLICTS_INTEGRITY)), 300000);
    const DWORD took = GetTickCount() - started;
    InterlockedExchange(&answers.stop, 1);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
    RecordProperty("integrity_ms", int(took));

    std::vector<std::string> lines;
    for (const std::string& line : ListBoxLines(GetDlgItem(dialog, IDC_CONFLICTS_REPORT))) lines.push_back(Plain(line));
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "File Name\tStatus\tFile Needed\tPath");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "HVAPP.EXE\tFixed\tHVE2ELIB.DLL\t" + programFolder), lines.end());
    EXPECT_NE(std::find(answers.texts.begin(), answers.texts.end(),
                        "A software conflict was found with the file:\n\nHVAPP.EXE\n\nWould you like Pandrel to fix this problem?"),
              answers.texts.end());
    std::vector<unsigned char> copied, original;
    EXPECT_TRUE(ReadWholeFileBytes(placed, &copied) && ReadWholeFileBytes(library, &original));
    EXPECT_EQ(copied, original);
    EXPECT_TRUE(WaitUntilDrawn(dialog));
    SaveScreenshot("fix-software-conflicts");

    // The same dialog's list of programs known not to work properly: its table, sorted.
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(IDC_CONFLICTS_LEGACY, BN_CLICKED),
                    LPARAM(GetDlgItem(dialog, IDC_CONFLICTS_LEGACY)), 60000);
    EXPECT_EQ(ListBoxLines(GetDlgItem(dialog, IDC_CONFLICTS_REPORT)).size(), 184u);
    EXPECT_TRUE(WaitUntilDrawn(dialog));
    SaveScreenshot("fix-software-conflicts-legacy");

    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000, true));
    EXPECT_TRUE(halvorn.Close());
    RemoveTree(programFolder), RemoveTree(libraryFolder);
}
