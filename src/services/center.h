#pragma once

struct PlainRect {
    long left, top, right, bottom;
};

struct PlainPoint {
    long x, y;
};

// Where the top-left corner of window goes so that its centre lies on the centre of over
// (or of desktop when hasOver is false). Coordinates below 1 become 0; when centring over
// a window, a position that would push the right or bottom edge past the desktop is pulled
// back so that the window ends at the desktop's edge.
PlainPoint CenteredOrigin(const PlainRect& window, const PlainRect& over, bool hasOver, const PlainRect& desktop);
