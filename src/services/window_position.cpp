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
