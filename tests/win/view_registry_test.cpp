// The view registry with real windows on two threads: views register as they are created
// and unregister as they are destroyed, and a third thread posts through the registry as
// the tick does.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <vector>

#include "services/view_registry.h"
#include "test_windows.h"

namespace {

const char kViewClass[] = "HalvornRegistryView";
const UINT kNewData = WM_APP + 41;

// What one test view has received. Written by the view's own thread, read by the test.
struct ViewLog {
    int key;
    std::atomic<int> received{0};
    std::vector<int>* order;  // keys in the order views of the test thread received them
};

LRESULT CALLBACK ViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ViewLog* log = reinterpret_cast<ViewLog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    switch (message) {
    case WM_CREATE:
        log = static_cast<ViewLog*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(log));
        RegisterView(log->key, window);
        return 0;
    case WM_DESTROY:
        UnregisterView(window);
        return 0;
    case kNewData:
        ++log->received;
        if (log->order) log->order->push_back(log->key);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateView(ViewLog* log)
{
    static const ATOM registered = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = ViewProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kViewClass;
        return RegisterClassA(&wc);
    }();
    EXPECT_NE(registered, 0);
    return CreateWindowA(kViewClass, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), log);
}

// A view on a thread of its own that pumps until its window is destroyed.
struct OtherThreadView {
    ViewLog log;
    HWND window = nullptr;
    HANDLE created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;

    explicit OtherThreadView(int key) : log{key, {0}, nullptr}
    {
        thread = CreateThread(nullptr, 0, Run, this, 0, nullptr);
        WaitForSingleObject(created, 5000);
    }
    ~OtherThreadView()
    {
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        CloseHandle(created);
    }
    static DWORD WINAPI Run(LPVOID param)
    {
        OtherThreadView* self = static_cast<OtherThreadView*>(param);
        self->window = CreateView(&self->log);
        SetEvent(self->created);
        MSG message;
        while (IsWindow(self->window) && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
        return 0;
    }
};

// Posts kNewData through the registry from a thread that owns no view, as the tick does.
int PostFromAnotherThread()
{
    struct Post {
        static DWORD WINAPI Run(LPVOID) { return DWORD(PostToViews(kNewData, 0, 0)); }
    };
    HANDLE thread = CreateThread(nullptr, 0, Post::Run, nullptr, 0, nullptr);
    WaitForSingleObject(thread, 5000);
    DWORD posted = 0;
    GetExitCodeThread(thread, &posted);
    CloseHandle(thread);
    return int(posted);
}

}  // namespace

TEST(ViewRegistry, PostsOnceToEachViewOnEitherThreadAndNothingAfterUnregistering)
{
    std::vector<int> order;
    ViewLog high{30, {0}, &order}, low{10, {0}, &order};
    HWND highWindow = CreateView(&high), lowWindow = CreateView(&low);
    OtherThreadView other(20);
    ASSERT_TRUE(highWindow && lowWindow && other.window);
    EXPECT_EQ(RegisteredView(10), lowWindow);
    EXPECT_EQ(RegisteredView(20), other.window);
    EXPECT_EQ(RegisteredView(30), highWindow);

    EXPECT_EQ(PostFromAnotherThread(), 3);
    for (int i = 0; i < 100 && other.log.received < 1; ++i) PumpMessagesFor(20);
    PumpMessagesFor(100);  // time for a duplicate to arrive
    EXPECT_EQ(low.received, 1);
    EXPECT_EQ(other.log.received, 1);
    EXPECT_EQ(high.received, 1);
    EXPECT_EQ(order, (std::vector<int>{10, 30})) << "views are posted to in ascending key order";

    // A view unregistered without being destroyed, and one destroyed on its own thread,
    // receive nothing more; the remaining one still does.
    UnregisterView(highWindow);
    PostMessageA(other.window, WM_CLOSE, 0, 0);
    WaitForSingleObject(other.thread, 5000);
    EXPECT_EQ(RegisteredView(20), nullptr);
    EXPECT_EQ(PostFromAnotherThread(), 1);
    PumpMessagesFor(200);
    EXPECT_EQ(low.received, 2);
    EXPECT_EQ(other.log.received, 1);
    EXPECT_EQ(high.received, 1);

    // A second window under a taken key takes the key over; the first one unregistering
    // leaves it in place, so the post reaches the second.
    ViewLog second{10, {0}, nullptr};
    HWND secondWindow = CreateView(&second);
    DestroyWindow(lowWindow);
    EXPECT_EQ(PostFromAnotherThread(), 1);
    PumpMessagesFor(200);
    EXPECT_EQ(second.received, 1);
    EXPECT_EQ(low.received, 2);

    DestroyWindow(secondWindow);
    DestroyWindow(highWindow);
    EXPECT_EQ(RegisteredView(10), nullptr);
}
