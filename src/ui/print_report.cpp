#include <windows.h>

#include "ui/print_report.h"

#include <commdlg.h>

#include "app/app_globals.h"
#include "services/text_rules.h"
#include "ui/print_form.h"

namespace {

constexpr int kLeftMargin = 10;
constexpr int kTitleLength = 257;

// One document: pages of lineHeight-high lines, a header of the title in capitals and an
// empty line at the top of every page.
struct PrintJob {
    HDC dc;
    char header[kTitleLength];
    int lineHeight;
    int linesPerPage;
    int line;  // next line on the open page; 0 when no page is open

    bool Start(const char* documentName)
    {
        DOCINFOA info = {};
        info.cbSize = sizeof info;
        info.lpszDocName = documentName;
        if (StartDocA(dc, &info) <= 0) return false;
        TEXTMETRICA metrics = {};
        GetTextMetricsA(dc, &metrics);
        lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
        if (lineHeight < 1) lineHeight = 1;
        linesPerPage = GetDeviceCaps(dc, VERTRES) / lineHeight;
        // A page too short for the header and one line still prints one line per page.
        if (linesPerPage < 3) linesPerPage = 3;
        line = 0;
        return true;
    }

    bool Print(const char* text)
    {
        if (line == 0) {
            if (StartPage(dc) <= 0) return false;
            TextOutA(dc, kLeftMargin, 0, header, lstrlenA(header));
            line = 2;
        }
        TextOutA(dc, kLeftMargin, line * lineHeight, text, lstrlenA(text));
        if (++line >= linesPerPage) {
            line = 0;
            if (EndPage(dc) <= 0) return false;
        }
        return true;
    }

    bool Finish()
    {
        if (line != 0 && EndPage(dc) <= 0) return false;
        return EndDoc(dc) > 0;
    }
};

void ReadHeader(HWND titleStatic, char* header)
{
    char title[kTitleLength] = {};
    GetWindowTextA(titleStatic, title, kTitleLength - 1);
    CopyUpper(title, header, kTitleLength);
}

bool PrintReportJob(PrintJob& job, HWND reportList)
{
    const LRESULT count = SendMessageA(reportList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char line[kPrintLineLength] = {};
        char printed[kPrintLineLength];
        if (SendMessageA(reportList, LB_GETTEXTLEN, i, 0) >= LRESULT(sizeof line)) continue;
        SendMessageA(reportList, LB_GETTEXT, i, LPARAM(line));
        PrintableReportLine(line, printed, sizeof printed);
        if (!job.Print(printed)) return false;
    }
    return job.Finish();
}

bool PrintHelpJob(PrintJob& job, HWND helpList)
{
    const LRESULT count = SendMessageA(helpList, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char item[kPrintLineLength] = {};
        if (SendMessageA(helpList, LB_GETTEXTLEN, i, 0) >= LRESULT(sizeof item)) continue;
        SendMessageA(helpList, LB_GETTEXT, i, LPARAM(item));
        if (!job.Print(item)) return false;
    }
    return job.Finish();
}

void ShowPrintError(HWND viewer, HDC dc)
{
    AbortDoc(dc);
    MessageBoxA(viewer, "Unable to print due to error. If occurs again call Technical Support.", "Error!", MB_OK);
}

}  // namespace

void PrintReport(HWND viewer, HWND reportList, HWND title, HWND helpList, HWND helpTitle)
{
    EnterCriticalSection(&PrintLock);
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = viewer;
    dialog.Flags = PD_RETURNDC | PD_NOPAGENUMS | PD_NOSELECTION;
    if (!PrintDlgA(&dialog) || !dialog.hDC) {
        LeaveCriticalSection(&PrintLock);
        return;
    }
    PrintJob job = {dialog.hDC};
    bool ok = true;
    ReadHeader(title, job.header);
    if (job.Start(job.header)) ok = PrintReportJob(job, reportList);
    if (ok) {
        ReadHeader(helpTitle, job.header);
        // The help job has no name of its own. An empty name, not a null one: with a null
        // name Wine's spooler accepts the pages and then fails the job at EndDoc.
        if (job.Start("")) ok = PrintHelpJob(job, helpList);
    }
    if (!ok) ShowPrintError(viewer, dialog.hDC);
    DeleteDC(dialog.hDC);
    if (dialog.hDevMode) GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames) GlobalFree(dialog.hDevNames);
    LeaveCriticalSection(&PrintLock);
}
