#include <windows.h>

#include "services/center.h"
#include "services/window_position.h"

static PlainRect ToPlain(const RECT& r)
{
    return PlainRect{r.left, r.top, r.right, r.bottom};
}

void CenterWindow(HWND window, HWND over)
{
    RECT own{}, target{}, desktop{};
    GetWindowRect(window, &own);
    GetWindowRect(GetDesktopWindow(), &desktop);
    if (over) GetWindowRect(over, &target);
    PlainPoint p = CenteredOrigin(ToPlain(own), ToPlain(target), over != nullptr, ToPlain(desktop));
    SetWindowPos(window, nullptr, int(p.x), int(p.y), 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
}

void ScreenRectToClient(HWND window, RECT* rect)
{
    POINT corners[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    ScreenToClient(window, &corners[0]);
    ScreenToClient(window, &corners[1]);
    *rect = RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}
