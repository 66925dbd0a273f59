#include <windows.h>

#include "app/main_dialog.h"

HWND CreateMainDialog()
{
    return nullptr;  // the main dialog and its tools come next
}
