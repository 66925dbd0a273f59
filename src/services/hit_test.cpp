#include "services/hit_test.h"

bool RectHoldsPoint(const PlainRect& rect, PlainPoint point)
{
    return point.x >= rect.left && point.x <= rect.right && point.y >= rect.top && point.y <= rect.bottom;
}
