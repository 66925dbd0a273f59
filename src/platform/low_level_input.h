#pragma once
#include <windows.h>

#include <cstdint>

// Receives each key press or release and each mouse button press the low-level hooks see:
// message is the window message (key down, left button down, ...), virtualKey the key's
// virtual-key code (0 for the mouse), numLockOn whether Num Lock is on, and hitTest the
// answer of the window under the pointer to WM_NCHITTEST for a button press (HTCLIENT
// for keys; HTNOWHERE when no window answered).
using LowLevelInputSink = void (*)(uint32_t message, uint32_t virtualKey, bool numLockOn, int32_t hitTest);

// Counts keyboard and mouse input through the low-level hooks, for systems that refuse
// the journal-record hook. The hooks run on a thread of their own that does nothing but
// pump its messages, so a busy caller cannot make the system give up on them. True when
// at least one of the two hooks is installed; the thread then runs until
// RemoveLowLevelInputHooks, which removes the hooks and waits for the thread to end.
bool InstallLowLevelInputHooks(HINSTANCE instance, LowLevelInputSink sink);
void RemoveLowLevelInputHooks();
