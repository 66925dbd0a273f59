// Bevelled faces for owner-drawn buttons and graph frames, and the picture button.
#pragma once
#include <windows.h>

#include <cstddef>

// Fills rect with brush and draws a two-pixel bevel on its edges: raised has white top and
// left edges and black/shadow bottom and right ones; sunken the other way round. The
// bottom and right edges are drawn on rect.bottom and rect.right themselves.
void DrawBevel(HDC dc, HBRUSH brush, RECT rect, bool raised);

// DrawBevel on rect shrunk by one pixel on every side.
void DrawButtonFace(HDC dc, HBRUSH brush, RECT rect, bool raised);

// Paints an owner-drawn button: the face raised (sunken while pressed) and the bitmap
// bitmapId of the program's resources centred on it. A bitmap that does not load is left
// out.
void DrawPictureButton(HWND button, const DRAWITEMSTRUCT* item, HBRUSH brush, int bitmapId);

// A picture button of a dialog: its control id and the bitmap it shows.
struct PictureButton {
    int id;
    int bitmapId;
};

// Paints item with DrawPictureButton when it is one of the table's buttons (rows of any
// type with an id and a bitmapId); any other item is left alone.
template <typename Row, size_t N>
void DrawTablePictureButton(const Row (&rows)[N], const DRAWITEMSTRUCT* item, HBRUSH brush)
{
    for (const Row& row : rows)
        if (int(item->CtlID) == row.id) DrawPictureButton(item->hwndItem, item, brush, row.bitmapId);
}
