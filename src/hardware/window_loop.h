// The message loop of a test that owns a full-screen window for its whole run.
#pragma once
#include <windows.h>

// Dispatches this thread's messages until *ended is set (the window's WM_DESTROY sets it and
// calls WakeWindowLoop). Never ends by a quit message, which belongs to the program's own
// loop: a quit met here destroys window, ends the loop and is posted again. Messages for
// dialog, when given, go through its keyboard handling first.
void RunWindowLoop(HWND window, const bool* ended, HWND* dialog = nullptr);

// Wakes a loop waiting in GetMessage with nothing posted, as when the window was closed by
// a message sent from another thread, so it sees the run is over.
void WakeWindowLoop();
