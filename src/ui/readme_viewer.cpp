#include <windows.h>

#include "ui/readme_viewer.h"

#include <cstdio>

#include "resources/ids_tools.h"
#include "services/files.h"
#include "services/paths.h"
#include "services/program_directory.h"
#include "services/string_list.h"
#include "ui/quick_help.h"
#include "ui/report_line.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"

// Caption lines (cyan), each the heading of a section of readme.txt, so that selecting
// one scrolls the text to its section.
static const char* const kContents[] = {
    REPORT_HEADING "Readme.txt Contents",
    REPORT_CAPTION "1. How to uninstall 95 Pandrel",
    REPORT_CAPTION "2. Frequently asked questions",
    REPORT_CAPTION "3. Getting technical support",
    REPORT_CAPTION "4. Changes to the manual",
    REPORT_CAPTION "5. Features not included in the manual",
    REPORT_CAPTION "6. Setup questions and problems",
    REPORT_CAPTION "7. Bugs, erratic behavior, problems",
    REPORT_CAPTION "8. Database updates",
};

HWND ShowReadme(HWND owner)
{
    HWND viewer = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_REPORT_VIEWER), owner,
                                     ReportViewerDlgProc, 0);
    if (!viewer) return nullptr;
    ShowWindow(viewer, SW_SHOW);
    char folder[MAX_PATH] = {};
    char path[MAX_PATH] = {};
    ProgramDirectory(nullptr, folder, sizeof folder);
    DWORD length = 0;
    char* text = nullptr;
    if (JoinPath(folder, "readme.txt", path, sizeof path) && FileSizeOf(path) != 0)
        text = ReadWholeFileQuietly(path, &length);
    if (!text || length == 0) {
        // The one box for a missing, empty or unreadable file; its text is the short line
        // and its title the advice.
        if (text) GlobalFree(text);
        MessageBoxA(nullptr, "Readme.txt Needed", "Readme.txt file not on disk. Reload from original diskettes.",
                    MB_OK);
        return viewer;
    }
    SetDlgItemTextA(viewer, IDC_VIEWER_TITLE, "README.TXT File");
    char helpTitle[64];
    snprintf(helpTitle, sizeof helpTitle, " Quick Help %s", "README.TXT File");
    SetDlgItemTextA(viewer, IDC_VIEWER_HELP_TITLE, helpTitle);
    StringListCount = 0;
    for (const char* line : kContents) lstrcpynA(StringListNext(), line, kReportLineSlot);
    ReportShowLines(GetDlgItem(viewer, IDC_VIEWER_REPORT), StringListBase, StringListCount);
    for (DWORD i = 0; i < length; ++i)
        if (text[i] == '\r') text[i] = ' ';
    HelpTextShow(GetDlgItem(viewer, IDC_VIEWER_HELP), text, length);
    GlobalFree(text);
    return viewer;
}
