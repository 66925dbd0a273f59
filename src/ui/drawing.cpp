#include <windows.h>

#include "ui/drawing.h"

#include "ui/shared_gdi.h"

static void Line(HDC dc, HGDIOBJ pen, int x0, int y0, int x1, int y1)
{
    SelectObject(dc, pen);
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

void DrawBevel(HDC dc, HBRUSH brush, RECT r, bool raised)
{
    HGDIOBJ white = GetStockObject(WHITE_PEN);
    HGDIOBJ black = GetStockObject(BLACK_PEN);
    HGDIOBJ shadow = SharedGdi.shadowPen ? HGDIOBJ(SharedGdi.shadowPen) : black;
    HGDIOBJ topOuter = raised ? white : black;
    HGDIOBJ topInner = raised ? white : shadow;
    HGDIOBJ bottomOuter = raised ? black : white;
    HGDIOBJ bottomInner = raised ? shadow : white;

    FillRect(dc, &r, brush);
    HGDIOBJ oldPen = SelectObject(dc, white);
    Line(dc, topOuter, r.left, r.top, r.right, r.top);
    Line(dc, topInner, r.left + 1, r.top + 1, r.right - 1, r.top + 1);
    Line(dc, topOuter, r.left, r.top, r.left, r.bottom);
    Line(dc, topInner, r.left + 1, r.top + 1, r.left + 1, r.bottom - 1);
    Line(dc, bottomOuter, r.left, r.bottom, r.right, r.bottom);
    Line(dc, bottomInner, r.left + 1, r.bottom - 1, r.right - 1, r.bottom - 1);
    Line(dc, bottomOuter, r.right, r.top, r.right, r.bottom);
    Line(dc, bottomInner, r.right - 1, r.top + 1, r.right - 1, r.bottom - 1);
    SelectObject(dc, oldPen);
}

void DrawButtonFace(HDC dc, HBRUSH brush, RECT r, bool raised)
{
    InflateRect(&r, -1, -1);
    DrawBevel(dc, brush, r, raised);
}

void DrawPictureButton(HWND button, const DRAWITEMSTRUCT* item, HBRUSH brush, int bitmapId)
{
    const RECT& r = item->rcItem;
    DrawButtonFace(item->hDC, brush, r, !(item->itemState & ODS_SELECTED));

    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId));
    if (!bitmap) return;
    BITMAP info = {};
    GetObjectA(bitmap, sizeof info, &info);
    HDC memory = CreateCompatibleDC(item->hDC);
    if (memory) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        const int x = (r.left + r.right) / 2 - info.bmWidth / 2;
        const int y = (r.top + r.bottom) / 2 - info.bmHeight / 2;
        BitBlt(item->hDC, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    DeleteObject(bitmap);
}
