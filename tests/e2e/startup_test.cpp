#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "box_watcher.h"
#include "halvorn_process.h"
#include "sampling/system_stats.h"
#include "wine_env.h"

namespace {

std::string TestName()
{
    return testing::UnitTest::GetInstance()->current_test_info()->name();
}

// A recognisable image: word i holds i * 7 + 1, so any change shows where it happened.
std::vector<unsigned char> PatternImage()
{
    std::vector<unsigned char> image(kSystemStatsLength);
    for (size_t i = 0; i < kSystemStatsWords; ++i) {
        uint32_t word = uint32_t(i * 7 + 1);
        memcpy(image.data() + 4 * i, &word, 4);
    }
    return image;
}

uint32_t WordAt(const std::vector<unsigned char>& image, size_t offset)
{
    uint32_t word = 0;
    if (offset + 4 <= image.size()) memcpy(&word, image.data() + offset, 4);
    return word;
}

const size_t kSessionEndsOffset = offsetof(SystemStats, sessionEnds);

TEST(Startup, SecondCopyIsRefusedAndTheFirstRunsOn)
{
    HalvornProcess first(TestName() + "_first");
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(first.WaitUntilRunning());

    HalvornProcess second(TestName() + "_second");
    ASSERT_TRUE(second.Start());
    BoxWatcher boxes(second.Id());
    SeenBox box;
    ASSERT_TRUE(boxes.WaitForBox("Pandrel 32 is already running", 15000, &box));
    EXPECT_EQ(box.text, "To avoid hampering system performance only one copy should be running at a time.");
    DWORD code = 99;
    ASSERT_TRUE(second.WaitForExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_FALSE(PathExists(second.StatsPath()));  // nothing else was created

    EXPECT_TRUE(first.IsRunning());
    EXPECT_NE(first.MainWindow(), nullptr);
    EXPECT_TRUE(first.Close());
}

TEST(Startup, SessionEndCountsAndSavesEachRequest)
{
    HalvornProcess halvorn(TestName());
    std::vector<unsigned char> image = PatternImage();
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), image.data(), image.size()));
    const uint32_t endsBefore = WordAt(image, kSessionEndsOffset);
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());

    for (uint32_t request = 1; request <= 2; ++request) {
        SCOPED_TRACE(request);
        DeleteFileA(halvorn.StatsPath().c_str());
        DWORD_PTR answer = 0;
        ASSERT_TRUE(SendMessageTimeoutA(halvorn.MainWindow(), WM_QUERYENDSESSION, 0, 0, SMTO_ABORTIFHUNG, 10000,
                                        &answer));
        EXPECT_NE(answer, 0u);  // the session may end
        std::vector<unsigned char> saved;
        ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved));
        ASSERT_EQ(saved.size(), kSystemStatsLength);
        EXPECT_EQ(WordAt(saved, kSessionEndsOffset), endsBefore + request);
    }
    // The session was not ended after all: the program runs on and saves again at exit.
    EXPECT_TRUE(halvorn.IsRunning());
    ASSERT_TRUE(halvorn.Close());
    std::vector<unsigned char> saved;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved));
    EXPECT_EQ(WordAt(saved, kSessionEndsOffset), endsBefore + 2);
}

// Receives the exit broadcast the companion listens for.
struct BroadcastListener {
    UINT message = RegisterWindowMessageA("PANDKIT");
    HWND window = nullptr;
    static std::vector<WPARAM>& Received()
    {
        static std::vector<WPARAM> received;
        return received;
    }
    static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp)
    {
        if (m == RegisterWindowMessageA("PANDKIT")) Received().push_back(wp);
        return DefWindowProcA(w, m, wp, lp);
    }
    BroadcastListener()
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HalvornTestListener";
        RegisterClassA(&wc);
        window = CreateWindowA("HalvornTestListener", "listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
        Received().clear();
    }
    ~BroadcastListener() { DestroyWindow(window); }
    void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
};

TEST(Startup, CleanExitSavesTheLoadedImageAndTellsTheCompanion)
{
    BroadcastListener listener;
    HalvornProcess halvorn(TestName());
    std::vector<unsigned char> image = PatternImage();
    ASSERT_TRUE(WriteWholeFile(halvorn.StatsPath(), image.data(), image.size()));
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    ASSERT_TRUE(halvorn.Close());
    std::vector<unsigned char> saved;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved));
    ASSERT_EQ(saved.size(), image.size());
    // Idle ticks only count observed seconds (word 0); the rest is the loaded image.
    EXPECT_TRUE(std::equal(saved.begin() + 4, saved.end(), image.begin() + 4));
    EXPECT_FALSE(PathExists(halvorn.StatsPath() + ".tmp"));

    listener.Pump();
    bool toldToEnd = false;
    for (WPARAM w : BroadcastListener::Received()) toldToEnd |= (w & 0xFFFFFFFFu) == 0xFFFFFFFFu;
    EXPECT_TRUE(toldToEnd);
}

TEST(Startup, FirstRunCreatesAZeroImage)
{
    HalvornProcess halvorn(TestName());
    BoxWatcher boxes;
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    ASSERT_TRUE(halvorn.Close());
    std::vector<unsigned char> saved;
    ASSERT_TRUE(ReadWholeFileBytes(halvorn.StatsPath(), &saved));
    ASSERT_EQ(saved.size(), kSystemStatsLength);
    EXPECT_TRUE(std::all_of(saved.begin() + 4, saved.end(), [](unsigned char b) { return b == 0; }));
}

TEST(Startup, DebugWordTracesEachStartupStage)
{
    HalvornProcess halvorn(TestName());
    ASSERT_TRUE(halvorn.Start("xxdebugyy"));
    BoxWatcher boxes(halvorn.Id());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    std::vector<SeenBox> seen = boxes.Boxes();
    // The equipment inventory traces each of its steps between "Get All Equipment" and
    // "Create Thread".
    const char* stages[] = {
        "Main... = Initialize", "Main... = Read Databases", "Main... = Start Performance Data",
        "Main... = Get All Equipment", "Registry... = Start", "Registry... = Printer Ports",
        "Registry... = Interrupt controllers", "Registry... = Timers", "Registry... = DMA Controllers",
        "Registry... = Keyboard", "Registry... = Serial Ports", "Registry... = Disk Controllers", "Registry... = BUS",
        "Registry... = Mouse", "Registry... = PS/2 Ports", "Registry... = Sound Devices", "Registry... = Game Ports",
        "Registry... = Processors", "Registry... = Motherboard", "Registry... = SCSI IDs", "Registry... = CD-ROM",
        "Registry... = SCSI Adaptors", "Registry... = Disk Controllers", "Registry... = Video Card Type",
        "Registry... = Video Card", "Registry... = Monitor", "Registry... = Modem Name", "Registry... = Done",
        "Static Data... = Start", "Static Data... = Disks", "Static Data... = Memory", "Static Data... = CPU Speed",
        "Static Data... = Mouse", "Static Data... = Keyboard", "Static Data... = Computer Name",
        "Static Data... = Printers", "Static Data... = Ports", "Static Data... = Versions",
        "Static Data... = Sound Devices", "Static Data... = Done", "Main... = Create Thread"};
    ASSERT_EQ(seen.size(), sizeof stages / sizeof stages[0]);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(seen[i].caption, "Message #" + std::to_string(i + 1));
        EXPECT_EQ(seen[i].text, stages[i]);
    }
    EXPECT_TRUE(halvorn.Close());
}

TEST(Startup, NoTraceWithoutTheDebugWord)
{
    HalvornProcess halvorn(TestName());
    ASSERT_TRUE(halvorn.Start("/quiet"));
    BoxWatcher boxes(halvorn.Id());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    EXPECT_TRUE(boxes.Boxes().empty());
    EXPECT_TRUE(halvorn.Close());
}

HICON PanelIcon(HWND panel)
{
    DWORD_PTR icon = 0;
    SendMessageTimeoutA(GetDlgItem(panel, 11001), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 2000, &icon);
    return HICON(icon);
}

// Samples the panel's icon every 100 ms and counts how often it changed.
int IconChanges(HWND panel, DWORD durationMs, std::vector<HICON>* distinct)
{
    int changes = 0;
    HICON last = PanelIcon(panel);
    for (DWORD waited = 0; waited < durationMs; waited += 100) {
        Sleep(100);
        HICON now = PanelIcon(panel);
        if (now != last) ++changes;
        if (distinct && std::find(distinct->begin(), distinct->end(), now) == distinct->end()) distinct->push_back(now);
        last = now;
    }
    return changes;
}

TEST(Startup, AnalyzingPanelAnimatesOnlyWhileVisible)
{
    HalvornProcess halvorn(TestName());
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    HWND panel = FindProcessWindow(halvorn.Id(), "#32770");
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(GetWindow(panel, GW_OWNER), halvorn.SamplingWindow());
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_EQ(IconChanges(panel, 2500, nullptr), 0);

    ShowWindow(panel, SW_SHOWNOACTIVATE);
    std::vector<HICON> distinct;
    int changes = IconChanges(panel, 3500, &distinct);
    EXPECT_GE(changes, 2);
    SaveScreenshot("analyzing_panel");
    ShowWindow(panel, SW_HIDE);
    Sleep(300);
    EXPECT_EQ(IconChanges(panel, 2500, nullptr), 0);
    // Two frames in turn (the template's own icon may be a third handle at first).
    EXPECT_GE(distinct.size(), 2u);
    EXPECT_LE(distinct.size(), 3u);
    EXPECT_TRUE(halvorn.Close());
}

TEST(Startup, ScreenshotOfTheRunningProgram)
{
    HalvornProcess halvorn(TestName());
    ASSERT_TRUE(halvorn.Start());
    ASSERT_TRUE(halvorn.WaitUntilRunning());
    std::string picture = SaveScreenshot("startup");
    EXPECT_FALSE(picture.empty());
    EXPECT_TRUE(halvorn.Close());
}

}  // namespace
