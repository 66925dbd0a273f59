#include <windows.h>

#include "ui/dialog_size.h"

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
