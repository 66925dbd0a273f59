#include <windows.h>

#include "services/view_registry.h"

namespace {

struct View {
    int key;
    HWND window;
};

// gViews[0..gViewCount) sorted by key, one entry per key; all four fields under gLock.
SRWLOCK gLock = SRWLOCK_INIT;
View gViews[kMaxViews];
int gViewCount;
HWND gSamplingWindow;

class Locked {
public:
    Locked() { AcquireSRWLockExclusive(&gLock); }
    ~Locked() { ReleaseSRWLockExclusive(&gLock); }
    Locked(const Locked&) = delete;
    Locked& operator=(const Locked&) = delete;
};

}  // namespace

bool RegisterView(int key, HWND window)
{
    Locked lock;
    int at = 0;
    while (at < gViewCount && gViews[at].key < key) ++at;
    if (at < gViewCount && gViews[at].key == key) {
        gViews[at].window = window;
        return true;
    }
    if (gViewCount == kMaxViews) return false;
    for (int i = gViewCount; i > at; --i) gViews[i] = gViews[i - 1];
    gViews[at] = View{key, window};
    ++gViewCount;
    return true;
}

void UnregisterView(HWND window)
{
    Locked lock;
    int kept = 0;
    for (int i = 0; i < gViewCount; ++i)
        if (gViews[i].window != window) gViews[kept++] = gViews[i];
    gViewCount = kept;
}

HWND RegisteredView(int key)
{
    Locked lock;
    for (int i = 0; i < gViewCount; ++i)
        if (gViews[i].key == key) return gViews[i].window;
    return nullptr;
}

int PostToViews(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Posting never waits for the receiving thread, so holding the lock meanwhile is safe.
    Locked lock;
    int posted = 0;
    for (int i = 0; i < gViewCount; ++i)
        if (PostMessageA(gViews[i].window, message, wParam, lParam)) ++posted;
    return posted;
}

void SetSamplingWindow(HWND window)
{
    Locked lock;
    gSamplingWindow = window;
}

HWND SamplingWindow()
{
    Locked lock;
    return gSamplingWindow;
}
