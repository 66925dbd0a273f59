#include "box_watcher.h"

#include <algorithm>

std::string WindowText(HWND window)
{
    wchar_t wide[2048] = {};
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, sizeof wide / sizeof wide[0], LPARAM(wide), SMTO_ABORTIFHUNG, 2000,
                             &length))
        return std::string();
    char narrow[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, narrow, sizeof narrow, nullptr, nullptr);
    return narrow;
}

BoxWatcher::BoxWatcher(DWORD processId, int answer) : processId_(processId), answer_(answer)
{
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

BoxWatcher::~BoxWatcher()
{
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
}

std::vector<SeenBox> BoxWatcher::Boxes()
{
    EnterCriticalSection(&lock_);
    std::vector<SeenBox> copy = boxes_;
    LeaveCriticalSection(&lock_);
    return copy;
}

bool BoxWatcher::WaitForBox(const std::string& caption, DWORD timeoutMs, SeenBox* found)
{
    const DWORD start = GetTickCount();
    for (;;) {
        for (const SeenBox& box : Boxes()) {
            if (box.caption == caption) {
                if (found) *found = box;
                return true;
            }
        }
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
}

DWORD WINAPI BoxWatcher::Run(LPVOID self)
{
    BoxWatcher* watcher = static_cast<BoxWatcher*>(self);
    while (!watcher->stop_) {
        watcher->Poll();
        Sleep(20);
    }
    return 0;
}

BOOL CALLBACK BoxWatcher::Visit(HWND window, LPARAM self)
{
    BoxWatcher* watcher = reinterpret_cast<BoxWatcher*>(self);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != watcher->processId_ || !IsWindowVisible(window)) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (strcmp(className, "#32770") != 0) return TRUE;
    HWND textControl = GetDlgItem(window, 0xFFFF);
    if (!textControl) return TRUE;  // a dialog, not a message box
    if (std::find(watcher->answered_.begin(), watcher->answered_.end(), window) != watcher->answered_.end())
        return TRUE;
    SeenBox box{WindowText(window), WindowText(textControl)};
    // A box can be visible before its caption and text are set: wait for the text, but
    // take a box that keeps an empty text for half a second as it is.
    if (box.text.empty()) {
        auto pending = watcher->pending_.find(window);
        if (pending == watcher->pending_.end()) {
            watcher->pending_[window] = GetTickCount();
            return TRUE;
        }
        if (GetTickCount() - pending->second < 500) return TRUE;
    }
    watcher->pending_.erase(window);
    EnterCriticalSection(&watcher->lock_);
    watcher->boxes_.push_back(box);
    LeaveCriticalSection(&watcher->lock_);
    watcher->answered_.push_back(window);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(watcher->answer_, BN_CLICKED), 0);
    return TRUE;
}

void BoxWatcher::Poll()
{
    EnumWindows(Visit, LPARAM(this));
    // Forget boxes that have closed, so a new box that reuses a handle is seen.
    answered_.erase(std::remove_if(answered_.begin(), answered_.end(), [](HWND w) { return !IsWindow(w); }),
                    answered_.end());
}
