// The printer test page: one page of the test line, repeated from the top of the page to
// the bottom, on a printer the user chooses.
#include <windows.h>
#include <cderr.h>
#include <commdlg.h>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "hardware/test_line.h"
#include "platform/host_system.h"

HFONT SelectTestPageFont(HDC dc)
{
    const int width = GetDeviceCaps(dc, HORZRES);
    SIZE extent = {};
    if (!GetTextExtentPoint32A(dc, PrinterTestLine(), kTestLineLength, &extent) || extent.cx <= width) return nullptr;
    // Too wide: printed as it is, the page would lose every character past the right edge,
    // the punctuation first. Scale the face's height by the overflow, then shrink in small
    // steps while it still does not fit (character widths do not scale exactly).
    LOGFONTA face = {};
    GetObjectA(GetCurrentObject(dc, OBJ_FONT), sizeof face, &face);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int height = MulDiv(metrics.tmHeight, width, extent.cx);
    HFONT font = nullptr;
    HGDIOBJ original = nullptr;
    for (int step = 0; step < 20 && height > 1; ++step, height = height * 9 / 10) {
        face.lfHeight = height;
        face.lfWidth = 0;
        HFONT candidate = CreateFontIndirectA(&face);
        if (!candidate) break;
        HGDIOBJ previous = SelectObject(dc, candidate);
        if (!original) original = previous;
        if (font) DeleteObject(font);
        font = candidate;
        if (GetTextExtentPoint32A(dc, PrinterTestLine(), kTestLineLength, &extent) && extent.cx <= width) return font;
    }
    // No size fitted: keep the printer's own font.
    if (original) SelectObject(dc, original);
    if (font) DeleteObject(font);
    return nullptr;
}

namespace {

// The page itself, in the document started on dc.
bool PrintPage(HDC dc)
{
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    if (lineHeight < 1) lineHeight = 1;
    const int lines = GetDeviceCaps(dc, VERTRES) / lineHeight;
    if (StartPage(dc) <= 0) {
        AbortDoc(dc);
        return false;
    }
    for (int i = 0; i < lines; ++i) TextOutA(dc, 0, lineHeight * i, PrinterTestLine(), kTestLineLength);
    if (EndPage(dc) <= 0) {
        AbortDoc(dc);
        return false;
    }
    return EndDoc(dc) > 0;
}

// Prints the page on dc; false when the printer reported a failure at any step. A page
// that failed is abandoned with its document.
bool PrintTestLines(HDC dc)
{
    DOCINFOA info = {};
    info.cbSize = sizeof info;
    info.lpszDocName = "Printer Test Page";
    if (StartDocA(dc, &info) <= 0) return false;
    HFONT font = SelectTestPageFont(dc);
    const bool printed = PrintPage(dc);
    if (font) DeleteObject(SelectObject(dc, GetStockObject(SYSTEM_FONT)));
    return printed;
}

// Whether a default printer exists, asked without any dialog.
bool HasDefaultPrinter()
{
    PRINTDLGA query = {};
    query.lStructSize = sizeof query;
    query.Flags = PD_RETURNDEFAULT;
    if (!PrintDlgA(&query)) return false;
    if (query.hDevMode) GlobalFree(query.hDevMode);
    if (query.hDevNames) GlobalFree(query.hDevNames);
    return true;
}

// Why the print dialog failed: 0 for the user's Cancel. Windows starts every dialog without
// an error and names each failure. Wine shows its own warning when there is no printer and
// then fails without an error, and it keeps the error of an earlier failed dialog through a
// later Cancel; there an unchanged error says nothing, and the printers are asked instead.
DWORD PrintDialogError(DWORD earlierError)
{
    const DWORD error = CommDlgExtendedError();
    if (!IsWineHost() || error != earlierError) return error;
    return HasDefaultPrinter() ? 0 : DWORD(PDERR_NODEFAULTPRN);
}

}  // namespace

DWORD PrintTestPage(HWND owner)
{
    EnterCriticalSection(&PrintLock);
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    DWORD failed = 0;
    const DWORD earlierError = CommDlgExtendedError();
    if (!PrintDlgA(&dialog)) {
        // Anything but the user's Cancel (no printer installed, no device context for it)
        // is a printer that cannot print.
        failed = PrintDialogError(earlierError) != 0 ? 1 : 0;
    } else if (!dialog.hDC) {
        failed = 1;
    } else {
        failed = PrintTestLines(dialog.hDC) ? 0 : 1;
    }
    if (dialog.hDC) DeleteDC(dialog.hDC);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    LeaveCriticalSection(&PrintLock);
    return failed;
}
