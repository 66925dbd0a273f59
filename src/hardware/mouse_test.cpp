// The full-screen mouse test: a black window with a check button in each corner and one in
// the centre, and red instructions. The user checks the corner buttons with the left button
// and ends the test with a right click; mouse_rules decides what counts as a fault. Each
// run keeps its state in a record on RunMouseTest's stack.
#include <windows.h>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "hardware/window_loop.h"
#include "hardware/mouse_rules.h"

namespace {

struct MouseTestRun {
    MouseTestRules rules;
    bool isDestroyed;
};

const char kMouseClass[] = "MouseTests";
const int kMouseButtonSize = 20;
const char kMouseInstructions[] =
    "Click with the left mouse button only \non the buttons in the four corners,\nthen click with the left mouse "
    "button \non the center button.\nMove the cursor to the center of this text,\nthen click with the right mouse "
    "button\n to end the test.";

}  // namespace

static MouseTestRun* RunOf(HWND window)
{
    return reinterpret_cast<MouseTestRun*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

static LRESULT OnMouseCreate(HWND window, const CREATESTRUCTA* create)
{
    MouseTestRun* run = static_cast<MouseTestRun*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(run));
    MouseTestCreated(&run->rules);
    const int right = create->cx - kMouseButtonSize, bottom = create->cy - kMouseButtonSize;
    const struct { int id, x, y; } buttons[] = {
        {kMouseTopLeft, 0, 0},           {kMouseTopRight, right, 0},     {kMouseBottomLeft, 0, bottom},
        {kMouseBottomRight, right, bottom}, {kMouseCentre, right / 2, bottom / 2},
    };
    for (const auto& b : buttons) {
        if (!CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, b.x, b.y, kMouseButtonSize,
                             kMouseButtonSize, window, HMENU(INT_PTR(b.id)), gInstance, nullptr))
            return -1;
    }
    return 0;
}

static void OnMousePaint(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    RECT band = {client.right / 3, 50, client.right * 2 / 3, 200};
    SetTextColor(dc, RGB(255, 0, 0));
    SetBkColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, kMouseInstructions, -1, &band, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    EndPaint(window, &paint);
}

static void OnMouseDestroy(HWND window, MouseTestRun* run)
{
    run->isDestroyed = true;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    WakeWindowLoop();
}

static LRESULT CALLBACK MouseWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) return OnMouseCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    MouseTestRun* run = RunOf(window);
    if (!run) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        OnMousePaint(window);
        return 0;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:  // check buttons ask for their colours here
        SetTextColor(HDC(wParam), RGB(0, 0, 0));
        SetBkColor(HDC(wParam), RGB(0, 0, 0));
        return LRESULT(GetStockObject(BLACK_BRUSH));
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            MouseButtonChanged(&run->rules, LOWORD(wParam), IsDlgButtonChecked(window, LOWORD(wParam)) == BST_CHECKED);
        return 0;
    case WM_LBUTTONDOWN:  // only presses that miss every button reach the window
        MouseBackgroundLeftClick(&run->rules);
        return 0;
    // On the release, so that the release (and the context menu it brings) does not fall to
    // the window beneath once this one is gone.
    case WM_RBUTTONUP:
        if (MouseRightClick(&run->rules)) DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        OnMouseDestroy(window, run);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

DWORD RunMouseTest()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = MouseWindowProc;
    wc.hInstance = gInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kMouseClass;
    RegisterClassA(&wc);  // fails harmlessly on a second run: the class is still there

    MouseTestRun run = {};
    HWND window = CreateWindowExA(0, kMouseClass, "", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, gInstance, &run);
    if (!window) return run.rules.errorFlag;

    RunWindowLoop(window, &run.isDestroyed);
    return run.rules.errorFlag;
}
