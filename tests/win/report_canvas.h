// A bitmap of the screen's format in a memory DC, for painting tests that read back exact
// pixel colours.
#pragma once
#include <windows.h>

struct Canvas {
    Canvas(int width, int height, COLORREF background = 0) : all{0, 0, width, height}
    {
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        old = SelectObject(dc, CreateCompatibleBitmap(screen, width, height));
        ReleaseDC(nullptr, screen);
        Clear(background);
    }
    ~Canvas()
    {
        DeleteObject(SelectObject(dc, old));
        DeleteDC(dc);
    }
    void Clear(COLORREF colour)
    {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    // How many pixels of rect have colour.
    int Count(const RECT& r, COLORREF colour) const
    {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x) n += At(x, y) == colour;
        return n;
    }
    RECT all;
    HDC dc;
    HGDIOBJ old;
};
