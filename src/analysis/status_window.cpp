#include <windows.h>

#include "analysis/status_window.h"

#include "ui/drawing.h"
#include "ui/shared_gdi.h"

bool LimitDialogSize(UINT message, LPARAM lParam)
{
    if (message == WM_GETMINMAXINFO) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMaxSize.x = info->ptMaxTrackSize.x = kDialogMaxWidth;
        info->ptMaxSize.y = info->ptMaxTrackSize.y = kDialogMaxHeight;
        return true;
    }
    if (message == WM_WINDOWPOSCHANGING) {
        WINDOWPOS* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(position->flags & SWP_NOSIZE)) {
            if (position->cx > kDialogMaxWidth) position->cx = kDialogMaxWidth;
            if (position->cy > kDialogMaxHeight) position->cy = kDialogMaxHeight;
        }
        return true;
    }
    return false;
}

void DrawCaptionedButton(const DRAWITEMSTRUCT* item, HBRUSH brush, int bitmapId)
{
    DrawPictureButton(item->hwndItem, item, brush, bitmapId);
    if (FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), MAKEINTRESOURCEA(2))) return;  // RT_BITMAP
    char caption[64];
    GetWindowTextA(item->hwndItem, caption, sizeof caption);
    RECT face = item->rcItem;
    if (item->itemState & ODS_SELECTED) OffsetRect(&face, 1, 1);
    HGDIOBJ oldFont = SelectObject(item->hDC, SharedGdi.normalFont ? HGDIOBJ(SharedGdi.normalFont) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(item->hDC, TRANSPARENT);
    SetTextColor(item->hDC, brush == GetStockObject(BLACK_BRUSH) ? RGB(255, 255, 255) : RGB(0, 0, 0));
    DrawTextA(item->hDC, caption, -1, &face, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    SelectObject(item->hDC, oldFont);
}
