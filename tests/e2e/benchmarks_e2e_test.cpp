// The benchmarks of a running program, opened from Speed Up Hardware: the processor chart
// at once, a drawing chart on choice, and nothing left behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "halvorn_process.h"
#include "resources/ids_bench.h"
#include "resources/ids_main.h"
#include "shared_test_steps.h"
#include "wine_env.h"

TEST(BenchmarksE2e, OpensFromSpeedUpWithTheProcessorChartAndChartsDrawing)
{
    HalvornProcess halvorn("benchmarks");
    ASSERT_TRUE(halvorn.Start() && halvorn.WaitUntilRunning());
    HWND main = halvorn.WaitForDialog("Halvorn");
    ASSERT_NE(main, nullptr);
    HWND speed = halvorn.OpenFrom(main, IDC_MAIN_SPEED, "Speed Up Hardware");
    ASSERT_NE(speed, nullptr);
    HWND bench = halvorn.OpenFrom(speed, IDC_SPEED_BENCHMARK, "Benchmarks");
    ASSERT_NE(bench, nullptr);
    EXPECT_FALSE(IsWindowEnabled(speed)) << "the benchmarks are not modal over Speed Up Hardware";

    ASSERT_EQ(ListBoxLines(GetDlgItem(bench, IDC_BENCH_TESTS)).size(), 10u);
    EXPECT_EQ(SendWithTimeout(GetDlgItem(bench, IDC_BENCH_TESTS), LB_GETCURSEL), 0);
    HWND chart = GetDlgItem(bench, IDC_BENCH_CHART);
    std::vector<std::string> lines = ListBoxLines(chart);
    ASSERT_EQ(lines.size(), 17u);
    int measured = 0;
    for (const std::string& line : lines) measured += line.find("This PC\t~Y") != std::string::npos;
    EXPECT_EQ(measured, 1) << "the processor chart has no measured \"This PC\" bar";

    ChooseListItem(bench, IDC_BENCH_TESTS, 7);  // Video Drawing
    EXPECT_NE(ListBoxLines(chart), lines);
    EXPECT_EQ(ListBoxLines(chart).size(), 17u);
    EXPECT_EQ(halvorn.FindTopLevel("videotest"), nullptr);
    EXPECT_EQ(MhtestFileCount(), 0);
    EXPECT_TRUE(WaitUntilDrawn(bench));
    SaveScreenshot("benchmarks");

    PostMessageA(bench, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(bench); }, 5000, true));
    PostMessageA(speed, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(speed); }, 5000, true));
    ASSERT_TRUE(halvorn.Close());
}
