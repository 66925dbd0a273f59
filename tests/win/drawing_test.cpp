// Picture buttons on bevelled faces, painted and read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include "report_canvas.h"
#include "resources/ids_ui.h"
#include "ui/drawing.h"
#include "ui/shared_gdi.h"

TEST(Drawing, PictureButtonsCentreTheirPictureOnARaisedOrSunkenFace)
{
    constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0, kGrey = 0x808080, kFill = 0x336699;
    CreateSharedGdi();
    HBRUSH brush = CreateSolidBrush(kFill);
    Canvas canvas{80, 60, kGrey};
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    HDC picture = CreateCompatibleDC(canvas.dc);
    HGDIOBJ old = SelectObject(picture, LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_MAIN_TIPS)));
    for (bool pressed : {false, true}) {
        SCOPED_TRACE(pressed ? "pressed" : "raised");
        canvas.Clear(kGrey);
        DRAWITEMSTRUCT item = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, pressed ? UINT(ODS_SELECTED) : 0u, nullptr, canvas.dc,
                               {0, 0, 75, 51}};
        DrawPictureButton(nullptr, &item, brush, IDB_MAIN_TIPS);
        int differences = 0;  // centre (37, 25) less half the bitmap: (21, 9)
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) differences += canvas.At(21 + x, 9 + y) != GetPixel(picture, x, y);
        EXPECT_EQ(differences, 0);
        // A two-pixel bevel on the face one pixel inside the item, {1, 1, 74, 50}, whose bottom
        // and right edges lie on y 50 and x 74: outer then inner pixel of each edge.
        const COLORREF lit[2] = {kWhite, kWhite}, dark[2] = {kBlack, shadow};
        const COLORREF* topLeft = pressed ? dark : lit;
        const COLORREF* bottomRight = pressed ? lit : dark;
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(canvas.At(10, 1 + i), topLeft[i]);
            EXPECT_EQ(canvas.At(1 + i, 25), topLeft[i]);
            EXPECT_EQ(canvas.At(10, 50 - i), bottomRight[i]);
            EXPECT_EQ(canvas.At(74 - i, 25), bottomRight[i]);
        }
        EXPECT_EQ(canvas.At(0, 25), kGrey);
        EXPECT_EQ(canvas.At(75, 25), kGrey);
        EXPECT_EQ(canvas.At(5, 5), kFill);
        DrawPictureButton(nullptr, &item, brush, 1);  // no such picture: the bare face
        EXPECT_EQ(canvas.At(37, 25), kFill);
    }
    DeleteObject(SelectObject(picture, old));
    DeleteDC(picture);
    DeleteObject(brush);
    DeleteSharedGdi();
}
