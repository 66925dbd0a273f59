// What every dialog of picture buttons on light grey answers alike.
#pragma once
#include <windows.h>

#include "services/help_file.h"
#include "ui/drawing.h"

// Help and the context menu open the dialog's help topic, draw requests paint the table's
// buttons (rows of any type with an id and a bitmapId), OK and Cancel end the dialog. True
// when message was one of these; the dialog procedure then returns TRUE.
template <typename Row, size_t N>
bool OnPictureButtonDialog(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam, const Row (&rows)[N],
                           DWORD helpContext)
{
    switch (message) {
    case WM_HELP:
    case WM_CONTEXTMENU:
        ShowHelpFile(dialog, HELP_CONTEXT, helpContext);
        return true;
    case WM_DRAWITEM:
        DrawTablePictureButton(rows, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), HBRUSH(GetStockObject(LTGRAY_BRUSH)));
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return false;
        EndDialog(dialog, LOWORD(wParam));
        return true;
    }
    return false;
}
