#include <windows.h>

#include "ui/about.h"

#include "resources/ids_ui.h"
#include "services/window_position.h"

// Only one About box is open at a time (it is modal): its bold font lives here.
static HFONT gNameFont;

static void OnInitDialog(HWND dialog)
{
    gNameFont = CreateFontA(18, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif");
    SendDlgItemMessageA(dialog, IDC_ABOUT_NAME, WM_SETFONT, WPARAM(gNameFont), TRUE);
    CenterWindow(dialog, GetWindow(dialog, GW_OWNER));
}

// Stretches the picture into the frame control's rectangle.
static void OnPaint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_ABOUT));
    HDC memory = bitmap ? CreateCompatibleDC(dc) : nullptr;
    if (memory) {
        RECT frame;
        GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_PICTURE), &frame);
        ScreenRectToClient(dialog, &frame);
        BITMAP info = {};
        GetObjectA(bitmap, sizeof info, &info);
        HGDIOBJ old = SelectObject(memory, bitmap);
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchBlt(dc, frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top, memory, 0, 0,
                   info.bmWidth, info.bmHeight, SRCCOPY);
        SelectObject(memory, old);
        DeleteDC(memory);
    }
    if (bitmap) DeleteObject(bitmap);
    EndPaint(dialog, &paint);
}

INT_PTR CALLBACK AboutDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        return TRUE;
    case WM_PAINT:
        OnPaint(dialog);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        // The name's static uses the font until the box is gone.
        if (gNameFont) DeleteObject(gNameFont);
        gNameFont = nullptr;
        return FALSE;
    }
    return FALSE;
}
