#include "box_watcher.h"

#include <algorithm>

#include "test_windows.h"

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

BoxWatcher::BoxWatcher(DWORD processId, int answer, DWORD patienceMs)
    : processId_(processId), answer_(answer), patienceMs_(patienceMs)
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
    return WaitUntil([&] {
        for (const SeenBox& box : Boxes()) {
            if (box.caption != caption) continue;
            if (found) *found = box;
            return true;
        }
        return false;
    }, timeoutMs);
}

DWORD WINAPI BoxWatcher::Run(LPVOID self)
{
    for (BoxWatcher* watcher = static_cast<BoxWatcher*>(self); !watcher->stop_; Sleep(20)) watcher->Poll();
    return 0;
}

BOOL CALLBACK BoxWatcher::Visit(HWND window, LPARAM self)
{
    BoxWatcher* watcher = reinterpret_cast<BoxWatcher*>(self);
    DWORD owner = 0;
    char className[64] = {};
    GetWindowThreadProcessId(window, &owner);
    GetClassNameA(window, className, sizeof className);
    HWND textControl = GetDlgItem(window, 0xFFFF);  // none in a dialog that is not a message box
    if (owner != watcher->processId_ || !IsWindowVisible(window) || strcmp(className, "#32770") != 0 || !textControl ||
        std::find(watcher->answered_.begin(), watcher->answered_.end(), window) != watcher->answered_.end())
        return TRUE;
    if (watcher->patienceMs_) {
        const auto seen = watcher->firstSeen_.emplace(window, GetTickCount()).first;
        if (GetTickCount() - seen->second < watcher->patienceMs_) return TRUE;
    }
    SeenBox box{WindowText(window), WindowText(textControl)};
    // A box can be visible before its caption and text are set: wait for the text, but
    // take a box that keeps an empty text for half a second as it is.
    if (box.text.empty()) {
        const auto pending = watcher->pending_.emplace(window, GetTickCount()).first;  // keeps the first sighting
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
    for (auto seen = firstSeen_.begin(); seen != firstSeen_.end();)
        seen = IsWindow(seen->first) ? std::next(seen) : firstSeen_.erase(seen);
}
