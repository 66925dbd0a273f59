#include <windows.h>

#include "ui/quick_help.h"

#include <string>

#include "app/app_globals.h"
#include "resources/ids_tools.h"
#include "services/list_box.h"
#include "services/window_position.h"
#include "ui/help_text.h"
#include "ui/report_list.h"

namespace {

struct WrapTarget {
    HWND list;
    HDC dc;
};

int MeasureInList(void* context, const char* text, size_t length)
{
    SIZE size = {};
    GetTextExtentPoint32A(static_cast<WrapTarget*>(context)->dc, text, int(length), &size);
    return size.cx;
}

void AddToList(void* context, const char* text, size_t length)
{
    const std::string item(text, length);
    SendMessageA(static_cast<WrapTarget*>(context)->list, LB_ADDSTRING, 0, LPARAM(item.c_str()));
}

// The width items may take: the client area less the vertical scroll bar, counted
// whether or not it shows yet (it appears once the list outgrows its height, and the
// items must fit then too), and a small margin.
int UsableWidth(HWND list)
{
    RECT client;
    GetClientRect(list, &client);
    int width = client.right - client.left - 4;
    // The wrapped text will need the scroll bar, which an empty list hides (and then its
    // style no longer says it has one): leave room for it unless it already takes its room.
    SCROLLBARINFO info = {};
    info.cbSize = sizeof info;
    const bool shown = (GetWindowLongPtrA(list, GWL_STYLE) & WS_VSCROLL) && GetScrollBarInfo(list, OBJID_VSCROLL, &info) &&
                       !(info.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    if (!shown) width -= GetSystemMetrics(SM_CXVSCROLL);
    return width > 1 ? width : 1;
}

}  // namespace

void HelpTextShow(HWND list, const char* text, size_t length)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    WrapTarget target{list, GetDC(list)};
    HGDIOBJ oldFont = nullptr;
    if (HFONT font = HFONT(SendMessageA(list, WM_GETFONT, 0, 0))) oldFont = SelectObject(target.dc, font);
    WrapHelpText(text, length, UsableWidth(list), MeasureInList, AddToList, &target);
    if (oldFont) SelectObject(target.dc, oldFont);
    ReleaseDC(list, target.dc);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

std::string HelpTextResource(UINT helpId)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(helpId), MAKEINTRESOURCEA(10));  // RT_RCDATA
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* data = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!data) return std::string();
    const DWORD size = SizeofResource(module, found);
    // The resource is read-only and need not end in a NUL: copy at most its size.
    size_t length = 0;
    while (length < size && data[length]) ++length;
    return std::string(data, length);
}

void HelpTextLoad(HWND list, UINT helpId)
{
    const std::string text = HelpTextResource(helpId);
    HelpTextShow(list, text.c_str(), text.size());
}

// The Quick Help dialog: its topic and help id come in through the creation parameter.
struct QuickHelpRequest {
    const char* topic;
    UINT helpId;
};

static INT_PTR CALLBACK QuickHelpDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        const QuickHelpRequest* request = reinterpret_cast<const QuickHelpRequest*>(lParam);
        HWND list = GetDlgItem(dialog, IDC_QUICK_HELP_LIST);
        HelpTextLoad(list, request->helpId);
        SelectReportLine(request->topic, list);
        CenterWindow(dialog, MainDialog);
        return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
        return INT_PTR(ReportListColours(HDC(wParam), kReportTextCyan));
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

void ShowQuickHelpTopic(const char* topic, UINT helpId)
{
    QuickHelpRequest request{topic, helpId};
    DialogBoxParamA(gInstance ? gInstance : GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_QUICK_HELP), MainDialog,
                    QuickHelpDlgProc, LPARAM(&request));
}
