#pragma once
#include <windows.h>

// On: installs the journal-record hook that counts keyboard and mouse input for the
// whole system, or, where the system refuses it, the low-level hooks; shows an error box
// only when neither can be installed. Off: removes whichever is installed (the low-level
// hooks with the thread they run on). Called on the primary thread, whose message loop
// the journal hook needs.
void SetInputHook(BOOL on);

// Installs the journal-record hook alone; true when it is in place.
bool InstallJournalInputHook();
