#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "box_watcher.h"
#include "halvorn_process.h"
#include "sampling/system_stats.h"

namespace {

std::string TestName()
{
    return testing::UnitTest::GetInstance()->current_test_info()->name();
}

// A recognisable image: word i holds i * 7 + 1, so any change shows where it happened.
std::vector<unsigned char> PatternImage()
{
    std::vector<unsigned char> image(kSystemStatsLength);
    for (uint32_t i = 0; i < kSystemStatsWords; ++i) {
        const uint32_t word = i * 7 + 1;
        memcpy(image.data() + 4 * i, &word, 4);
    }
    return image;
}

uint32_t SessionEndsIn(const std::string& path)
{
    std::vector<unsigned char> image;
    uint32_t word = 0;
    if (ReadWholeFileBytes(path, &image) && image.size() == kSystemStatsLength)
        memcpy(&word, image.data() + offsetof(SystemStats, sessionEnds), 4);
    return word;
}

TEST(Startup, SecondCopyIsRefusedAndTheFirstRunsOn)
{
    HalvornProcess first(TestName() + "_first"), second(TestName() + "_second");
    ASSERT_TRUE(first.Start() && first.WaitUntilRunning());
    // The user has lost the running copy from sight, as after "Close all programs".
    HWND firstDialog = first.WaitForDialog("Halvorn");
    ASSERT_NE(firstDialog, nullptr);
    ShowWindow(firstDialog, SW_MINIMIZE);
    ASSERT_TRUE(IsIconic(firstDialog));
    ASSERT_TRUE(second.Start());
    BoxWatcher boxes(second.Id());
    ASSERT_TRUE(boxes.WaitForBox("Pandrel 32 is already running", 15000));
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(PathExists(second.StatsPath()));  // nothing else was created
    EXPECT_TRUE(first.IsRunning());
    // After its box the refused copy hands the user back the running one.
    EXPECT_FALSE(IsIconic(firstDialog));
    EXPECT_TRUE(IsWindowVisible(firstDialog));
    EXPECT_EQ(GetForegroundWindow(), firstDialog);
    EXPECT_FALSE(SaveScreenshot("startup").empty());
    EXPECT_TRUE(first.Close());
}

TEST(Startup, SessionEndCountsAndSavesEachRequest)
{
    HalvornProcess halvorn(TestName());
    const std::vector<unsigned char> image = PatternImage();
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), image.data(), image.size()));
    const uint32_t endsBefore = SessionEndsIn(halvorn.StatsPath());
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    for (uint32_t request = 1; request <= 2; ++request) {
        SCOPED_TRACE(request);
        DeleteFileA(halvorn.StatsPath().c_str());
        const LRESULT answer = SendWithTimeout(halvorn.MainWindow(), WM_QUERYENDSESSION, 0, 0, 10000);
        ASSERT_NE(answer, -1);
        EXPECT_NE(answer, 0);  // the session may end
        EXPECT_EQ(SessionEndsIn(halvorn.StatsPath()), endsBefore + request);
    }
    // The session was not ended after all: the program runs on and saves again at exit.
    ASSERT_TRUE(halvorn.Close());
    EXPECT_EQ(SessionEndsIn(halvorn.StatsPath()), endsBefore + 2);
}

LRESULT CALLBACK RecordEndBroadcast(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RegisterWindowMessageA("PANDKIT") && (wParam & 0xFFFFFFFFu) == 0xFFFFFFFFu)
        SetWindowLongPtrA(window, GWLP_USERDATA, 1);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(Startup, CleanExitSavesTheLoadedImageAndTellsTheCompanion)
{
    WNDCLASSA listenerClass = {};
    listenerClass.lpfnWndProc = RecordEndBroadcast;
    listenerClass.lpszClassName = "HalvornTestListener";
    RegisterClassA(&listenerClass);
    HWND listener = CreateWindowA("HalvornTestListener", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HalvornProcess halvorn(TestName());
    const std::vector<unsigned char> image = PatternImage();
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), image.data(), image.size()));
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    ASSERT_TRUE(halvorn.Close());
    std::vector<unsigned char> saved;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved));
    ASSERT_EQ(saved.size(), image.size());
    // Idle ticks only count observed seconds (word 0); the rest is the loaded image.
    EXPECT_TRUE(std::equal(saved.begin() + 4, saved.end(), image.begin() + 4));
    EXPECT_FALSE(PathExists(halvorn.StatsPath() + ".tmp"));
    EXPECT_TRUE(WaitUntil([&] { return GetWindowLongPtrA(listener, GWLP_USERDATA) == 1; }, 5000, true))
        << "no end broadcast for the companion";
    DestroyWindow(listener);
}

TEST(Startup, TheDebugWordTracesEachStartupStage)
{
    // Start-up traces every stage, the equipment inventory each of its steps, in order.
    struct Case {
        const char* arguments;
        size_t traced;
    } cases[] = {{"xxdebugyy", 41}, {"/quiet", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        HalvornProcess halvorn(TestName());
        ASSERT_TRUE(halvorn.Start(c.arguments));
        BoxWatcher boxes(halvorn.Id());
        ASSERT_TRUE(halvorn.WaitUntilRunning());
        const std::vector<SeenBox> seen = boxes.Boxes();
        ASSERT_EQ(seen.size(), c.traced);
        for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i].caption, "Message #" + std::to_string(i + 1));
        if (!seen.empty()) {
            EXPECT_EQ(seen.front().text, "Main... = Initialize");
            EXPECT_EQ(seen[4].text, "Registry... = Start");
            EXPECT_EQ(seen.back().text, "Main... = Create Thread");
        }
        EXPECT_TRUE(halvorn.Close());
    }
}
// Watches the panel's icon for durationMs, or until it has changed enough times; returns
// how often it changed and adds each icon seen to distinct.
int IconChanges(HWND panel, DWORD durationMs, std::vector<HICON>* distinct, int enough = INT_MAX)
{
    int changes = 0;
    bool first = true;
    HICON last = nullptr;
    WaitUntil([&] {
        const HICON icon = HICON(SendWithTimeout(GetDlgItem(panel, 11001), STM_GETICON));
        changes += !first && icon != last;
        first = false;
        last = icon;
        if (std::find(distinct->begin(), distinct->end(), last) == distinct->end()) distinct->push_back(last);
        return changes >= enough;
    }, durationMs);
    return changes;
}

TEST(Startup, AnalyzingPanelAnimatesOnlyWhileVisible)
{
    HalvornProcess halvorn(TestName());
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND panel = FindProcessWindow(halvorn.Id(), "#32770");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), halvorn.SamplingWindow());
    EXPECT_FALSE(IsWindowVisible(panel));
    std::vector<HICON> distinct;
    // Still for as long as it takes the visible panel to change twice: the hidden one must not.
    EXPECT_EQ(IconChanges(panel, 2500, &distinct), 0);
    ShowWindow(panel, SW_SHOWNOACTIVATE);
    EXPECT_GE(IconChanges(panel, 3500, &distinct, 2), 2);
    SaveScreenshot("analyzing_panel");
    ShowWindow(panel, SW_HIDE);
    // Answered, the panel's thread has finished any frame it was drawing when it was hidden.
    SendWithTimeout(panel, WM_NULL);
    EXPECT_EQ(IconChanges(panel, 2500, &distinct), 0);
    // Two frames in turn (the template's own icon may be a third handle at first).
    EXPECT_GE(distinct.size(), 2u);
    EXPECT_LE(distinct.size(), 3u);
    EXPECT_TRUE(halvorn.Close());
}

}  // namespace
