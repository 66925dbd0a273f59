// Printing the report viewer: the report, then its Quick Help text, as two print jobs on
// the printer the user picks, in the printer's default font.
#pragma once
#include <windows.h>

// Holds PrintLock from before the print dialog until the second job ends. The report job
// prints the lines the report list shows (in their printed form) under the title
// static's text in capitals; the Quick Help job prints the help list's items under the
// help-title static's text in capitals. Cancelling the dialog prints nothing. A page or
// document that cannot be started or ended shows the "Error!" box and ends the printing.
void PrintReport(HWND viewer, HWND reportList, HWND title, HWND helpList, HWND helpTitle);
