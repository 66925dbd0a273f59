#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "report_canvas.h"
#include "resources/ids_ui.h"
#include "ui/about.h"
#include "ui/drawing.h"
#include "ui/shared_gdi.h"

namespace {

constexpr COLORREF kWhite = 0xFFFFFF, kBlack = 0, kFill = 0x336699;

class Drawing : public testing::Test {
protected:
    void SetUp() override
    {
        CreateSharedGdi();
        brush = CreateSolidBrush(kFill);
    }
    void TearDown() override
    {
        DeleteObject(brush);
        DeleteSharedGdi();
    }
    HBRUSH brush = nullptr;
    Canvas canvas{80, 60, 0x808080};
};

// The colours along the middle of each edge, outer then inner: top, left, bottom, right.
struct Edges {
    COLORREF top[2], left[2], bottom[2], right[2];
};

Edges EdgesOf(const Canvas& c, const RECT& r)
{
    const int mx = (r.left + r.right) / 2, my = (r.top + r.bottom) / 2;
    return Edges{{c.At(mx, r.top), c.At(mx, r.top + 1)},
                 {c.At(r.left, my), c.At(r.left + 1, my)},
                 {c.At(mx, r.bottom), c.At(mx, r.bottom - 1)},
                 {c.At(r.right, my), c.At(r.right - 1, my)}};
}

TEST_F(Drawing, BevelRaisedAndSunken)
{
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const RECT r{10, 10, 50, 40};
    for (bool raised : {true, false}) {
        SCOPED_TRACE(raised ? "raised" : "sunken");
        canvas.Clear(0x808080);
        DrawBevel(canvas.Dc(), brush, r, raised);
        Edges e = EdgesOf(canvas, r);
        const COLORREF lit[2] = {kWhite, kWhite};
        const COLORREF dark[2] = {kBlack, shadow};
        const COLORREF* topLeft = raised ? lit : dark;
        const COLORREF* bottomRight = raised ? dark : lit;
        for (int i = 0; i < 2; ++i) {
            SCOPED_TRACE(i == 0 ? "outer" : "inner");
            EXPECT_EQ(e.top[i], topLeft[i]);
            EXPECT_EQ(e.left[i], topLeft[i]);
            EXPECT_EQ(e.bottom[i], bottomRight[i]);
            EXPECT_EQ(e.right[i], bottomRight[i]);
        }
        EXPECT_EQ(canvas.At(30, 25), kFill);
        EXPECT_EQ(canvas.At(51, 25), 0x808080u);  // nothing beyond the right edge
    }
    // The button face keeps one pixel of the item free on every side.
    canvas.Clear(0x808080);
    DrawButtonFace(canvas.Dc(), brush, r, true);
    EXPECT_EQ(canvas.At(10, 25), 0x808080u);
    EXPECT_EQ(canvas.At(11, 25), kWhite);
    EXPECT_EQ(canvas.At(49, 25), kBlack);
}

TEST_F(Drawing, PictureButtonCentresItsBitmapRaisedOrPressed)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_MAIN_TIPS));
    ASSERT_NE(bitmap, nullptr);
    Canvas expected(32, 32);
    HDC memory = CreateCompatibleDC(expected.Dc());
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(expected.Dc(), 0, 0, 32, 32, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);

    for (UINT state : {0u, UINT(ODS_SELECTED)}) {
        SCOPED_TRACE(state ? "pressed" : "raised");
        canvas.Clear(0x808080);
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.itemAction = ODA_DRAWENTIRE;
        item.itemState = state;
        item.hDC = canvas.Dc();
        item.rcItem = RECT{0, 0, 75, 51};
        DrawPictureButton(nullptr, &item, HBRUSH(GetStockObject(BLACK_BRUSH)), IDB_MAIN_TIPS);
        // Centre (37, 25) less half the bitmap: (21, 9).
        int differences = 0;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) differences += canvas.At(21 + x, 9 + y) != expected.At(x, y);
        EXPECT_EQ(differences, 0);
        EXPECT_EQ(canvas.At(1, 25), state ? kBlack : kWhite);
        EXPECT_EQ(canvas.At(74, 25), state ? kWhite : kBlack);
        EXPECT_EQ(canvas.At(5, 5), kBlack);  // the face
    }
    // A bitmap that is not there leaves the bare face.
    canvas.Clear(0x808080);
    DRAWITEMSTRUCT item = {};
    item.hDC = canvas.Dc();
    item.rcItem = RECT{0, 0, 75, 51};
    DrawPictureButton(nullptr, &item, brush, 1);
    EXPECT_EQ(canvas.At(37, 25), kFill);
}

TEST(Art, EveryPictureAndTheCursorLoad)
{
    HINSTANCE module = GetModuleHandleA(nullptr);
    const int buttons[] = {IDB_MAIN_HARDWARE, IDB_MAIN_WINDOWS,    IDB_MAIN_CONFLICTS, IDB_MAIN_SPEED,
                           IDB_MAIN_TUNE,     IDB_MAIN_PRIORITIES, IDB_MAIN_APPEARANCE, IDB_MAIN_STATUS,
                           IDB_MAIN_TIPS,     IDB_MAIN_LIBRARY};
    for (int id : buttons) {
        SCOPED_TRACE(id);
        HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 32);
        EXPECT_EQ(info.bmHeight, 32);
        DeleteObject(bitmap);
    }
    HCURSOR cursor = LoadCursorA(module, MAKEINTRESOURCEA(IDR_HELP_CURSOR));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 0u);
    EXPECT_EQ(info.yHotspot, 0u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(About, ShowsTheProductInBoldBesideThePictureCentredOverItsOwner)
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 500, 400, nullptr, nullptr, nullptr,
                               nullptr);
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
    ASSERT_NE(dialog, nullptr);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    EXPECT_EQ(Text(dialog), "About Halvorn");
    EXPECT_NE(FindWindowExA(dialog, nullptr, "Static", "Version 1.00.00"), nullptr);
    EXPECT_NE(FindWindowExA(dialog, nullptr, "Static", "Quenfield Software Corporation"), nullptr);
    HWND name = GetDlgItem(dialog, IDC_ABOUT_NAME);
    EXPECT_EQ(Text(name), "Halvorn");
    HFONT bold = HFONT(SendMessageA(name, WM_GETFONT, 0, 0));
    LOGFONTA font = {};
    ASSERT_NE(GetObjectA(bold, sizeof font, &font), 0);
    EXPECT_EQ(font.lfHeight, 18);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");

    RECT box, over;
    GetWindowRect(dialog, &box);
    GetWindowRect(owner, &over);
    EXPECT_LE(labs((box.left + box.right) / 2 - (over.left + over.right) / 2), 1);
    EXPECT_LE(labs((box.top + box.bottom) / 2 - (over.top + over.bottom) / 2), 1);

    // The pyramid fills the frame: its tiers, sky and outlines are all inside.
    RECT frame;
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_PICTURE), &frame);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
    HDC dc = GetDC(dialog);
    int tiers = 0, sky = 0, outline = 0;
    for (int y = frame.top + 2; y < frame.bottom - 2; ++y)
        for (int x = frame.left + 2; x < frame.right - 2; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            tiers += c == 0x000080;
            sky += c == 0x808000;
            outline += c == 0x000000;
        }
    ReleaseDC(dialog, dc);
    EXPECT_GT(tiers, 500);
    EXPECT_GT(sky, 500);
    EXPECT_GT(outline, 100);

    SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    DestroyWindow(dialog);
    DestroyWindow(owner);
    EXPECT_EQ(GetObjectA(bold, sizeof font, &font), 0);  // the bold font went with the box
}

}  // namespace
