#include "box_watcher.h"

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
    for (const DWORD start = GetTickCount();; Sleep(20)) {
        for (const SeenBox& box : Boxes()) {
            if (box.caption != caption) continue;
            if (found) *found = box;
            return true;
        }
        if (GetTickCount() - start > timeoutMs) return false;
    }
}

DWORD WINAPI BoxWatcher::Run(LPVOID self)
{
    BoxWatcher* watcher = static_cast<BoxWatcher*>(self);
    for (; !watcher->stop_; Sleep(20)) {
        // Forget boxes that have closed, so a new box that reuses a handle is seen.
        for (auto box = watcher->answered_.begin(); box != watcher->answered_.end();)
            box = IsWindow(box->first) ? std::next(box) : watcher->answered_.erase(box);
        EnumWindows(Visit, LPARAM(watcher));
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
    HWND textControl = GetDlgItem(window, 0xFFFF);
    if (strcmp(className, "#32770") != 0 || !textControl) return TRUE;  // not a message box
    const DWORD now = GetTickCount();
    auto answered = watcher->answered_.find(window);
    if (answered != watcher->answered_.end()) {
        // Wine has been seen to drop an answer posted while the box was being set up:
        // a box still open half a second later is answered again.
        if (now - answered->second >= 500) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(watcher->answer_, BN_CLICKED), 0);
            answered->second = now;
        }
        return TRUE;
    }
    SeenBox box{WindowText(window), WindowText(textControl)};
    // A box can be visible before its caption and text are set: wait for the text, but
    // take a box that keeps an empty text for half a second as it is.
    if (box.text.empty()) {
        auto pending = watcher->pending_.emplace(window, now).first;
        if (now - pending->second < 500) return TRUE;
    }
    watcher->pending_.erase(window);
    EnterCriticalSection(&watcher->lock_);
    watcher->boxes_.push_back(box);
    LeaveCriticalSection(&watcher->lock_);
    watcher->answered_[window] = now;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(watcher->answer_, BN_CLICKED), 0);
    return TRUE;
}
