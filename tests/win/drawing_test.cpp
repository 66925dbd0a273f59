#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "report_canvas.h"
#include "resources/ids_ui.h"
#include "ui/about.h"
#include "ui/drawing.h"
#include "ui/shared_gdi.h"
#include "wine_env.h"

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

struct AboutCheck {
    HWND owner;
    HWND dialog = nullptr;
    std::string caption, name, version, maker;
    LOGFONTA nameFont = {};
    HFONT fontHandle = nullptr;
    RECT dialogRect = {}, ownerRect = {};
    int pictureColours = 0;  // distinct colours of the pyramid seen inside the frame
};

std::string Text(HWND window)
{
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

BOOL CALLBACK FindStatic(HWND child, LPARAM argument)
{
    auto* check = reinterpret_cast<AboutCheck*>(argument);
    const std::string text = Text(child);
    if (text == "Version 1.00.00") check->version = text;
    if (text == "Quenfield Software Corporation") check->maker = text;
    return TRUE;
}

// Runs beside the modal box: looks at it, then presses OK.
DWORD WINAPI InspectAbout(LPVOID argument)
{
    auto* check = static_cast<AboutCheck*>(argument);
    for (int i = 0; i < 100 && !check->dialog; ++i) {
        Sleep(50);
        check->dialog = FindWindowA("#32770", "About Halvorn");
    }
    if (!check->dialog) return 1;
    Sleep(300);  // let it paint
    check->caption = Text(check->dialog);
    HWND name = GetDlgItem(check->dialog, IDC_ABOUT_NAME);
    check->name = Text(name);
    check->fontHandle = HFONT(SendMessageA(name, WM_GETFONT, 0, 0));
    GetObjectA(check->fontHandle, sizeof check->nameFont, &check->nameFont);
    EnumChildWindows(check->dialog, FindStatic, LPARAM(check));
    GetWindowRect(check->dialog, &check->dialogRect);
    GetWindowRect(check->owner, &check->ownerRect);

    RECT frame;
    GetWindowRect(GetDlgItem(check->dialog, IDC_ABOUT_PICTURE), &frame);
    MapWindowPoints(nullptr, check->dialog, reinterpret_cast<POINT*>(&frame), 2);
    HDC dc = GetDC(check->dialog);
    bool seen[3] = {};
    for (int y = frame.top + 2; y < frame.bottom - 2; ++y)
        for (int x = frame.left + 2; x < frame.right - 2; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            seen[0] |= c == 0x000080;  // tiers
            seen[1] |= c == 0x808000;  // sky
            seen[2] |= c == 0x000000;  // outlines
        }
    ReleaseDC(check->dialog, dc);
    check->pictureColours = seen[0] + seen[1] + seen[2];
    SaveScreenshot("about");
    PostMessageA(check->dialog, WM_COMMAND, IDOK, 0);
    return 0;
}

TEST(About, ShowsTheProductInBoldBesideThePictureCentredOverItsOwner)
{
    HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 100, 80, 500, 400, nullptr, nullptr, nullptr,
                               nullptr);
    AboutCheck check{owner};
    HANDLE inspector = CreateThread(nullptr, 0, InspectAbout, &check, 0, nullptr);
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDlgProc, 0);
    WaitForSingleObject(inspector, 10000);
    CloseHandle(inspector);
    DestroyWindow(owner);

    ASSERT_NE(check.dialog, nullptr);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(check.caption, "About Halvorn");
    EXPECT_EQ(check.name, "Halvorn");
    EXPECT_EQ(check.version, "Version 1.00.00");
    EXPECT_EQ(check.maker, "Quenfield Software Corporation");
    EXPECT_EQ(check.nameFont.lfHeight, 18);
    EXPECT_EQ(check.nameFont.lfWeight, FW_BOLD);
    EXPECT_STREQ(check.nameFont.lfFaceName, "MS Sans Serif");
    EXPECT_EQ(check.pictureColours, 3);
    const long dx = (check.dialogRect.left + check.dialogRect.right) / 2 - (check.ownerRect.left + check.ownerRect.right) / 2;
    const long dy = (check.dialogRect.top + check.dialogRect.bottom) / 2 - (check.ownerRect.top + check.ownerRect.bottom) / 2;
    EXPECT_LE(labs(dx), 1);
    EXPECT_LE(labs(dy), 1);
    // The bold font went with the box.
    LOGFONTA gone;
    EXPECT_EQ(GetObjectA(check.fontHandle, sizeof gone, &gone), 0);
}

}  // namespace
