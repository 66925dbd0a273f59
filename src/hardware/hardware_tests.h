// The interactive hardware tests: checks of the display, mouse, keyboard, sound card and
// printer that the user carries out. All run on the primary thread.
#pragma once
#include <windows.h>

// Full-screen test patterns chosen in the "Video Tests" dialog; returns when the test
// window closes.
void RunVideoTests();

// The full-screen mouse test; returns 1 when the user's clicks showed a fault, else 0.
DWORD RunMouseTest();

// Opens the modeless, topmost keyboard test over owner and returns it at once; it closes
// itself when every key has been seen, or on Cancel.
HWND StartKeyboardTest(HWND owner);

// Opens the modeless, topmost sound card test over owner.
void StartSoundTest(HWND owner);

// Prints one page of test lines on a printer the user chooses; returns 1 when the printer
// failed (including no printer to print on), 0 when the page printed or the user cancelled.
DWORD PrintTestPage(HWND owner);

// Selects into dc the font the test page prints with: the printer's own, or, where the
// test line is wider than the printable width in it, the same face scaled down until the
// whole line fits. Returns the font to delete after use (null when the printer's own font
// is used).
HFONT SelectTestPageFont(HDC dc);
