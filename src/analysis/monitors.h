// The monitors: small windows that show the latest live sample, refreshed on every
// "NEWDATAREADY". They are created, painted and destroyed on the sampling thread, which
// also writes the live sample, so they always see one second's consistent values. Each
// registers in the view registry under its dialog id while it is open. The chooser
// (primary thread) only sends "MONITORACTIVE" and flips the keep-on-top flag.
#pragma once
#include <windows.h>

// Whether monitors are kept above every other window; on at start-up. Applied to every
// open monitor whenever one is opened.
extern volatile bool KeepMonitorsOnTop;

// The "Keep on Top" command of the lamp monitors' and the priority map's system menu (any
// monitor obeys it as WM_SYSCOMMAND): turns the keep-on-top flag over and applies it to
// every open monitor at once. The menu item is checked while the flag is on.
constexpr UINT kMonitorOnTopCommand = 0x0110;

// Opens the monitor numbered which (2801..2806) on the sampling thread: a lamp monitor or
// the priority map is created, or brought to the top when already open; the usage
// monitor is created, or closed when already open. Other numbers do nothing. Each lamp
// button's window text is "1" while it is lit and "0" (or empty before the first refresh)
// while it is not.
void OpenMonitor(WPARAM which);

// The monitor number (2801..2806) the chooser's button controlId asks for; 0 when the
// control is no monitor's button.
WPARAM MonitorOfChooserControl(int controlId);
