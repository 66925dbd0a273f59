#include "services/center.h"

PlainPoint CenteredOrigin(const PlainRect& window, const PlainRect& over, bool hasOver, const PlainRect& desktop)
{
    const PlainRect& target = hasOver ? over : desktop;
    const long width = window.right - window.left;
    const long height = window.bottom - window.top;
    PlainPoint p;
    p.x = target.left + ((target.right - target.left) - width) / 2;
    p.y = target.top + ((target.bottom - target.top) - height) / 2;
    if (hasOver) {
        if (p.x + width > desktop.right) p.x = desktop.right - width;
        if (p.y + height > desktop.bottom) p.y = desktop.bottom - height;
    }
    if (p.x < 1) p.x = 0;
    if (p.y < 1) p.y = 0;
    return p;
}
