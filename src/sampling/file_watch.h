#pragma once
#include <windows.h>

// The watcher thread: counts file-system change notifications per drive and kind.
DWORD WINAPI FileWatchThread(LPVOID);
