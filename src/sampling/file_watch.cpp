#include <windows.h>

#include "sampling/file_watch.h"

DWORD WINAPI FileWatchThread(LPVOID)
{
    return 0;  // The watcher is not built yet; the thread ends at once.
}
