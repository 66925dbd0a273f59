#pragma once
#include <windows.h>

// Counts keyboard and mouse input through the low-level hooks, for systems that refuse
// the journal-record hook. Installs on the calling thread, which must pump messages.
// True when at least one of the two hooks is installed.
bool InstallLowLevelInputHooks(HINSTANCE instance);
void RemoveLowLevelInputHooks();
