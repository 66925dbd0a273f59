#pragma once
#include <windows.h>

// The watcher thread: counts file-system change notifications per drive and kind.
DWORD WINAPI FileWatchThread(LPVOID);

// Whether the drive of watched letter index (0 = C .. kWatchedLetters - 1) is watched as it
// is now: a removable or fixed drive. The status report and the File Changes dialog list
// exactly these drives.
bool IsWatchedDrive(int index);
