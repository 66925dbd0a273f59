// The bottleneck analyzer (13800): for one measured quantity at a time, the spread of the
// sampled seconds over ten load bands, the stock pattern it matches best (shown with a
// short animation through the patterns before it) and what that pattern means.
#pragma once
#include <windows.h>

// Which quantities the analyzer lists.
enum class BottleneckVariant {
    kSystem,    // the 23 system quantities, title "System"
    kHardware,  // the seven hardware quantities of the wait-time view, title "Hardware"
};

// Runs the analyzer modally over owner.
void OpenBottleneckAnalyzer(HWND owner, BottleneckVariant variant);

// Its dialog procedure; the creation parameter is a BottleneckVariant.
INT_PTR CALLBACK BottleneckDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Time each pattern of the animation stays on screen, in milliseconds.
constexpr DWORD kPatternStepMs = 500;
