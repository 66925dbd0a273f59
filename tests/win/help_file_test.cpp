// Help for a missing help file: a box of the program's own, never the help program.
#include <gtest/gtest.h>

#include <string>

#include "box_watcher.h"
#include "services/help_file.h"
#include "services/program_directory.h"
#include "test_windows.h"
#include "wine_env.h"

TEST(ShowHelpFile, AMissingHelpFileIsReportedWithoutStartingHelp)
{
    char folder[MAX_PATH];
    ProgramDirectory(nullptr, folder, sizeof folder);
    ASSERT_FALSE(PathExists(std::string(folder) + "\\pd32.hlp"));
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    for (HWND window : {HWND(nullptr), owner}) {
        BoxWatcher boxes;
        EXPECT_FALSE(ShowHelpFile(window, HELP_CONTEXT, 29021));
        const std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].caption + "|" + seen[0].text, "Help|The help file pd32.hlp is not in the program's folder.");
    }
    DestroyWindow(owner);
    // A wrongly started help program would show its box titled "ERROR" within a second.
    EXPECT_FALSE(WaitUntil([] { return FindProcessWindow(0, nullptr, "ERROR") != nullptr; }, 1000))
        << "the help program was started";
}
