// Printing the report viewer on the run's PDF queue (a private print server the harness
// starts), read back with pdftotext.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "box_watcher.h"
#include "resources/ids_tools.h"
#include "services/string_list.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"
#include "wine_env.h"

#include <commdlg.h>

namespace {

int gReportLines;
HWND gViewer;  // the viewer the report was last shown in

int FillReport(HWND__* list)
{
    gViewer = GetParent(list);
    StringListCount = 0;
    for (int i = 0; i < gReportLines; ++i)
        snprintf(StringListNext(), kReportLineSlot, "\x01" "CLine %03d\t\x01" "Yvalue %d", i, i);
    ReportShowLines(list, StringListBase, StringListCount);
    return gReportLines;
}

const ToolEntry kRows[] = {{"Print Test", FillReport, IDR_HELP_SYSTEM_MONITOR}};
const ToolTable kTable{kRows, 1, 4100};

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    return first == std::string::npos ? "" : s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A document's pages (pdftotext ends each with a form feed), each as its non-empty lines
// without surrounding spaces.
using Pages = std::vector<std::vector<std::string>>;

Pages SplitPages(const std::vector<unsigned char>& text)
{
    Pages pages;
    std::vector<std::string> page;
    std::string line;
    for (unsigned char c : text) {
        if (c != '\n' && c != '\f') line += char(c);
        else if (!Trim(line).empty()) page.push_back(Trim(line));
        if (c == '\n' || c == '\f') line.clear();
        if (c == '\f') pages.push_back(std::move(page)), page.clear();
    }
    return pages;
}

// Answers the print dialog of this process with command, noting whether PrintLock was
// held by the printing thread while the dialog was up.
struct DialogAnswer {
    int command;
    bool answered = false, lockHeld = false;
};

DWORD WINAPI AnswerPrintDialog(LPVOID parameter)
{
    DialogAnswer* answer = static_cast<DialogAnswer*>(parameter);
    HWND dialog = WaitForProcessWindow(GetCurrentProcessId(), "Print", 10000);
    if (!dialog) return 0;
    answer->lockHeld = !TryEnterCriticalSection(&PrintLock);
    if (!answer->lockHeld) LeaveCriticalSection(&PrintLock);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer->command, BN_CLICKED), 0);
    answer->answered = true;
    return 0;
}

class Printing : public testing::Test {
protected:
    static void SetUpTestSuite() { InitializeCriticalSection(&PrintLock); }
    void SetUp() override
    {
        const char* runDir = getenv("HALVORN_RUN_DIR");
        const char* pdfDir = getenv("HALVORN_PDF_DIR");
        std::vector<unsigned char> reason;
        if (runDir && ReadWholeFileBytes(UnixToWindowsPath(std::string(runDir) + "/cups-unavailable"), &reason))
            GTEST_SKIP() << "no print server: " << std::string(reason.begin(), reason.end());
        if (!pdfDir || !*pdfDir) GTEST_SKIP() << "no print server: HALVORN_PDF_DIR is not set";
        pdfDir_ = pdfDir;
    }
    void TearDown() override
    {
        if (IsWindow(gViewer)) SendMessageA(gViewer, WM_COMMAND, IDCANCEL, 0);
        gViewer = nullptr;
    }

    // The PDFs that have arrived (Unix paths).
    std::vector<std::string> Pdfs() const { return PrintedPdfs(pdfDir_); }
    int JobCount() const { return PrintJobCount(pdfDir_); }

    // Waits until count PDFs have arrived and pdftotext reads each (one still being
    // written does not); their pages.
    std::vector<Pages> ReadPdfs(size_t count) const
    {
        std::vector<Pages> documents;
        std::vector<std::string> done;
        WaitUntil([&] {
            for (const std::string& pdf : Pdfs()) {
                std::vector<unsigned char> bytes;
                if (std::find(done.begin(), done.end(), pdf) == done.end() &&
                    RunHostCommand("pdftotext -layout '" + pdf + "' '" + pdf + ".txt' 2>/dev/null") &&
                    ReadWholeFileBytes(UnixToWindowsPath(pdf + ".txt"), &bytes))
                    documents.push_back(SplitPages(bytes)), done.push_back(pdf);
            }
            return done.size() >= count;
        }, 15000);
        return documents;
    }

    // Lines per page below the header, as the default printer's font and page give them.
    static int BodyLinesPerPage()
    {
        PRINTDLGA query = {};
        query.lStructSize = sizeof query;
        query.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
        if (!PrintDlgA(&query) || !query.hDC) return 0;
        TEXTMETRICA metrics = {};
        GetTextMetricsA(query.hDC, &metrics);
        const int lines = GetDeviceCaps(query.hDC, VERTRES) / (metrics.tmHeight + metrics.tmExternalLeading);
        DeleteDC(query.hDC);
        GlobalFree(query.hDevMode);
        GlobalFree(query.hDevNames);
        return lines - 2;
    }

    std::string pdfDir_;
};

}  // namespace

TEST_F(Printing, ReportAndQuickHelpPrintUnderCapitalTitlesWithoutBlankPagesOrNothingOnCancel)
{
    const int body = BodyLinesPerPage();
    ASSERT_GT(body, 4) << "no default printer";
    const struct {
        const char* name;
        int lines, command;
        size_t pages;
    } cases[] = {
        {"two and a half pages", 2 * body + body / 2, IDOK, 3},
        {"exactly two pages", 2 * body, IDOK, 2},
        {"cancelled", 5, IDCANCEL, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::string& pdf : Pdfs()) DeleteFileA(UnixToWindowsPath(pdf).c_str());
        const int jobsBefore = JobCount();
        ASSERT_GE(jobsBefore, 0);
        BoxWatcher boxes;
        gReportLines = c.lines;
        OpenTool(nullptr, 4101, 4100, kTable);
        DialogAnswer answer{c.command};
        HANDLE thread = CreateThread(nullptr, 0, AnswerPrintDialog, &answer, 0, nullptr);
        SendMessageA(gViewer, WM_COMMAND, IDM_VIEWER_PRINT, 0);
        WaitForSingleObject(thread, 15000);
        CloseHandle(thread);
        ASSERT_TRUE(answer.answered) << "no print dialog";
        EXPECT_TRUE(answer.lockHeld) << "PrintLock was free while the dialog was up";
        EXPECT_EQ(PrintLock.RecursionCount, 0) << "PrintLock is still held";  // it was taken on this thread
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].caption << ": " << boxes.Boxes()[0].text;
        if (c.pages == 0) {
            EXPECT_EQ(JobCount(), jobsBefore);
            continue;
        }

        const std::vector<std::string> help = ListBoxLines(GetDlgItem(gViewer, IDC_VIEWER_HELP));
        const std::vector<Pages> documents = ReadPdfs(2);
        ASSERT_EQ(documents.size(), 2u) << "expected the report and the Quick Help as two PDFs";
        const bool helpFirst = !documents[0].empty() && documents[0][0][0] == "QUICK HELP PRINT TEST";
        const Pages& report = documents[helpFirst ? 1 : 0];
        const Pages& quickHelp = documents[helpFirst ? 0 : 1];
        // Each page is headed by its title in capitals; the lines follow in order with ", "
        // between fields, a full page of them on every page but the last.
        const auto linesUnder = [](const Pages& document, const std::string& title) {
            std::vector<std::string> lines;
            for (const auto& page : document) {
                EXPECT_EQ(page.empty() ? "" : page[0], title);
                if (!page.empty()) lines.insert(lines.end(), page.begin() + 1, page.end());
            }
            return lines;
        };
        ASSERT_EQ(report.size(), c.pages);
        for (size_t page = 0; page + 1 < report.size(); ++page) EXPECT_EQ(int(report[page].size()) - 1, body) << page;
        std::vector<std::string> wanted, wantedHelp;
        for (int i = 0; i < c.lines; ++i) {
            char line[64];
            snprintf(line, sizeof line, "Line %03d, value %d", i, i);
            wanted.push_back(line);
        }
        EXPECT_EQ(linesUnder(report, "PRINT TEST"), wanted);
        EXPECT_EQ(quickHelp.size(), (help.size() + body - 1) / body);
        for (const std::string& item : help)  // one-space spacers print as lines pdftotext leaves out
            if (!Trim(item).empty()) wantedHelp.push_back(Trim(item));
        EXPECT_EQ(linesUnder(quickHelp, "QUICK HELP PRINT TEST"), wantedHelp);
        EXPECT_GT(wantedHelp.size(), 10u);
    }
}
