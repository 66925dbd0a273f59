// The view registry: the open windows that are told when a sampled second is ready (the
// status report and the monitors receive "NEWDATAREADY"), and the sampling thread's hidden
// window, to which the monitors chooser sends "MONITORACTIVE". A view registers its window
// under its dialog id when it opens (WM_INITDIALOG) and unregisters it when it is destroyed
// (WM_DESTROY); the tick posts through the registry and knows no view by name.
//
// Threads: a view registers and unregisters on the thread that owns its window (the status
// report on the primary thread, the monitors on the sampling thread); the sampling thread
// sets and clears the sampling window and posts every tick; the primary thread reads the
// sampling window (the chooser) and the status report's entry. Every call takes one lock,
// and posts are made under it, so once UnregisterView returns no message from the registry
// reaches that window any more.
#pragma once
#include <windows.h>

// How many views can be registered at once.
constexpr int kMaxViews = 16;

// Registers window as the view with this key (its dialog id, unique in the program), in
// place of any window registered under the key before. False when the registry is full.
bool RegisterView(int key, HWND window);

// Removes window from the registry wherever it is registered; nothing when it is not.
void UnregisterView(HWND window);

// The window registered under key; null when none is.
HWND RegisteredView(int key);

// Posts message to every registered view in ascending key order; how many were posted to.
int PostToViews(UINT message, WPARAM wParam, LPARAM lParam);

// The sampling thread's hidden window; null before it is created and after it is destroyed.
void SetSamplingWindow(HWND window);
HWND SamplingWindow();
