#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "services/hit_test.h"
#include "services/list_box.h"
#include "services/report_search.h"

DWORD SelectedItemNumber(HWND dialog, int listId)
{
    const LRESULT selected = SendDlgItemMessageA(dialog, listId, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) return 0;
    const LRESULT length = SendDlgItemMessageA(dialog, listId, LB_GETTEXTLEN, WPARAM(selected), 0);
    if (length == LB_ERR) return 0;
    std::vector<char> line(size_t(length) + 1, '\0');
    SendDlgItemMessageA(dialog, listId, LB_GETTEXT, WPARAM(selected), reinterpret_cast<LPARAM>(line.data()));
    const char* tab = strchr(line.data(), '\t');
    return tab ? DWORD(strtoul(tab + 1, nullptr, 10)) : 0;
}

// A list's items read one at a time for FindWrappedLabel.
struct ListItems {
    HWND list;
    std::vector<char> text;
};

static const char* ListItemAt(void* context, int index)
{
    ListItems* items = static_cast<ListItems*>(context);
    const LRESULT length = SendMessageA(items->list, LB_GETTEXTLEN, WPARAM(index), 0);
    if (length == LB_ERR) return nullptr;
    items->text.assign(size_t(length) + 1, '\0');
    SendMessageA(items->list, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(items->text.data()));
    return items->text.data();
}

void SelectReportLine(const char* text, HWND list)
{
    char search[256];
    if (!ReportSearchText(text, search, sizeof search)) return;
    LRESULT found = SendMessageA(list, LB_FINDSTRING, WPARAM(-1), reinterpret_cast<LPARAM>(search));
    if (found == LB_ERR) {
        // A label wider than the list was wrapped over several items.
        ListItems items{list, {}};
        const int index = FindWrappedLabel(search, int(SendMessageA(list, LB_GETCOUNT, 0, 0)), ListItemAt, &items);
        if (index >= 0) found = index;
    }
    if (found != LB_ERR) {
        SendMessageA(list, LB_SETTOPINDEX, WPARAM(found), 0);
        SendMessageA(list, LB_SETCURSEL, WPARAM(found), 0);
    }
    InvalidateRect(list, nullptr, TRUE);
}

static HCURSOR HelpCursor()
{
    static HCURSOR cursor;
    static bool loaded;
    if (!loaded) {
        cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(900));
        if (!cursor) cursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        loaded = true;
    }
    return cursor;
}

BOOL HoverCursor(HWND dialog, const int* controlIds, int count)
{
    POINT cursor;
    GetCursorPos(&cursor);
    const PlainPoint point{cursor.x, cursor.y};
    bool over = false;
    for (int i = 0; i < count && !over; ++i) {
        RECT r;
        HWND control = GetDlgItem(dialog, controlIds[i]);
        if (control && GetWindowRect(control, &r)) over = RectHoldsPoint(PlainRect{r.left, r.top, r.right, r.bottom}, point);
    }
    SetCursor(over ? HelpCursor() : LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW)));
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, 1);
    return TRUE;
}
