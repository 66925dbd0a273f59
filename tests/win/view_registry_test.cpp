// The view registry with real windows: views register as they are created and unregister
// as they are destroyed, and a thread that owns no view posts through the registry as the
// tick does.
#include <gtest/gtest.h>

#include <windows.h>

#include <utility>
#include <vector>

#include "services/view_registry.h"
#include "test_windows.h"

namespace {

const UINT kNewData = WM_APP + 41;
std::vector<int> gReceived;  // the tags of the views that received kNewData, in order

// A view registers under its key and records its tag, so two windows under one key differ.
struct View { int key, tag; };

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const View* view = static_cast<View*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, view->tag);
        RegisterView(view->key, window);
        return 0;
    }
    case WM_DESTROY: UnregisterView(window); return 0;
    case kNewData: gReceived.push_back(int(GetWindowLongPtrA(window, GWLP_USERDATA))); return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateView(int key, int tag)
{
    static const ATOM registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ViewProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "HalvornRegistryView";
        return RegisterClassA(&wc);
    }();
    View view{key, tag};
    return CreateWindowA(LPCSTR(UINT_PTR(registered)), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleA(nullptr), &view);
}

// Posts kNewData through the registry from another thread: how many posts it counted, and
// the tags of the views that received one (every post was queued before the thread ended).
std::pair<int, std::vector<int>> Post()
{
    struct Poster {
        static DWORD WINAPI Run(LPVOID) { return DWORD(PostToViews(kNewData, 0, 0)); }
    };
    gReceived.clear();
    HANDLE thread = CreateThread(nullptr, 0, Poster::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    DWORD posted = 0;
    GetExitCodeThread(thread, &posted);
    CloseHandle(thread);
    PumpMessagesFor(0);
    return {int(posted), gReceived};
}

}  // namespace

TEST(ViewRegistry, PostsOnceToEachViewInKeyOrderAndNothingAfterUnregistering)
{
    using Posted = std::pair<int, std::vector<int>>;
    HWND high = CreateView(30, 30), low = CreateView(10, 10);
    ASSERT_TRUE(high && low);
    EXPECT_EQ(RegisteredView(10), low);
    EXPECT_EQ(RegisteredView(20), nullptr);
    EXPECT_EQ(RegisteredView(30), high);
    EXPECT_EQ(Post(), Posted(2, {10, 30}));

    // A view unregistered without being destroyed receives nothing more.
    UnregisterView(high);
    EXPECT_EQ(RegisteredView(30), nullptr);
    EXPECT_EQ(Post(), Posted(1, {10}));

    // A second window under a taken key takes the key over; the first one unregistering
    // leaves it in place.
    HWND second = CreateView(10, 11);
    DestroyWindow(low);
    EXPECT_EQ(RegisteredView(10), second);
    EXPECT_EQ(Post(), Posted(1, {11}));

    DestroyWindow(second);
    DestroyWindow(high);
    EXPECT_EQ(RegisteredView(10), nullptr);
}
