#pragma once
#include "services/center.h"

// Whether point lies on rect, its edges included (right and bottom too, unlike the usual
// half-open window rectangles): the hover rule for the help cursor.
bool RectHoldsPoint(const PlainRect& rect, PlainPoint point);
