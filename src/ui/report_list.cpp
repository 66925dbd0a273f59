#include <windows.h>

#include "ui/report_list.h"

#include "ui/report_line.h"
#include "ui/report_table.h"
#include "ui/shared_gdi.h"

HBRUSH ReportListColours(HDC dc, COLORREF textColour)
{
    SetBkColor(dc, RGB(0, 0, 0));
    SetTextColor(dc, textColour);
    return HBRUSH(GetStockObject(BLACK_BRUSH));
}

void ReportShowLines(HWND list, const char* base, DWORD count)
{
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    char line[kReportLineSlot];
    for (DWORD i = 0; i < count; ++i) {
        lstrcpynA(line, base + size_t(i) * kReportLineSlot, sizeof line);
        SendMessageA(list, LB_ADDSTRING, 0, LPARAM(line));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

int ReportLoadTable(HWND list, UINT resourceId, char* (*nextSlot)(), char* const* base, const uint32_t* count)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(resourceId), MAKEINTRESOURCEA(10));  // RT_RCDATA
    if (!found) return 0;
    HGLOBAL loaded = LoadResource(module, found);
    const char* text = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!text) return 0;
    const int appended = AppendReportTable(text, SizeofResource(module, found), nextSlot);
    ReportShowLines(list, *base, *count);
    return appended;
}

static HBRUSH BrushOf(ReportBrush brush)
{
    switch (brush) {
    case ReportBrush::kBlack: return HBRUSH(GetStockObject(BLACK_BRUSH));
    case ReportBrush::kWhite: return HBRUSH(GetStockObject(WHITE_BRUSH));
    case ReportBrush::kLightGrey: return HBRUSH(GetStockObject(LTGRAY_BRUSH));
    case ReportBrush::kDarkGrey: return HBRUSH(GetStockObject(DKGRAY_BRUSH));
    case ReportBrush::kYellow: return SharedGdi.yellowBrush;
    case ReportBrush::kCyan: return SharedGdi.cyanBrush;
    case ReportBrush::kMagenta: return SharedGdi.magentaBrush;
    case ReportBrush::kGreen: return SharedGdi.greenBrush;
    case ReportBrush::kRed: return SharedGdi.redBrush;
    case ReportBrush::kBlue: return SharedGdi.blueBrush;
    }
    return HBRUSH(GetStockObject(BLACK_BRUSH));
}

static void Execute(void* context, const ReportDraw& draw)
{
    HDC dc = static_cast<HDC>(context);
    const RECT r{draw.rect.left, draw.rect.top, draw.rect.right, draw.rect.bottom};
    switch (draw.op) {
    case ReportOp::kTextColour: SetTextColor(dc, draw.colour); break;
    case ReportOp::kGreyTextColour: SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT)); break;
    case ReportOp::kText:
        SelectObject(dc, draw.underlined ? SharedGdi.underlinedFont : SharedGdi.normalFont);
        TextOutA(dc, r.left, r.top, draw.text, draw.textLength);
        break;
    case ReportOp::kFill: FillRect(dc, &r, BrushOf(draw.brush)); break;
    case ReportOp::kFrame: FrameRect(dc, &r, BrushOf(draw.brush)); break;
    }
}

void ReportDrawItem(HWND list, const DRAWITEMSTRUCT* item, int tabStopCount, const int* tabStops, uint32_t litLamps)
{
    if (item->itemAction != ODA_DRAWENTIRE || item->itemID == UINT(-1)) return;
    if (!(GetWindowLongA(list, GWL_STYLE) & LBS_HASSTRINGS)) return;  // items would not be text
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, item->itemID, 0);
    if (length == LB_ERR || length >= kReportLineSlot) return;
    char line[kReportLineSlot];
    if (SendMessageA(list, LB_GETTEXT, item->itemID, LPARAM(line)) != length) return;

    const RECT& rc = item->rcItem;
    const ReportItemLayout layout{ReportRect{int(rc.left), int(rc.top), int(rc.right), int(rc.bottom)}, tabStops,
                                  tabStopCount, litLamps};
    // Each item starts from the colour and font the list prepared.
    HDC dc = item->hDC;
    const COLORREF colour = GetTextColor(dc);
    HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT);
    ParseReportLine(line, size_t(length), layout, Execute, dc);
    SelectObject(dc, font);
    SetTextColor(dc, colour);
}

void ReportMeasureItem(HWND list, MEASUREITEMSTRUCT* item)
{
    HDC dc = GetDC(list);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    ReleaseDC(list, dc);
    item->itemHeight = UINT(metrics.tmHeight);
}

void ReportReplaceLine(HWND dialog, int listId, int index, const char* text)
{
    char line[kReportLineSlot];
    lstrcpynA(line, text, sizeof line);
    SendDlgItemMessageA(dialog, listId, LB_DELETESTRING, WPARAM(index), 0);
    SendDlgItemMessageA(dialog, listId, LB_INSERTSTRING, WPARAM(index), LPARAM(line));
}
