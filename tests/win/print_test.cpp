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
#include "test_windows.h"
#include "ui/report_list.h"
#include "ui/report_viewer.h"
#include "wine_env.h"

#include <commdlg.h>

namespace {

int gReportLines;

int FillReport(HWND__* list)
{
    StringListCount = 0;
    for (int i = 0; i < gReportLines; ++i)
        snprintf(StringListNext(), kStringListSlot, "\x01" "CLine %03d\t\x01" "Yvalue %d", i, i);
    ReportShowLines(list, StringListBase, StringListCount);
    return gReportLines;
}

const ToolEntry kRows[] = {{"Print Test", FillReport, IDR_HELP_SYSTEM_MONITOR}};
const ToolTable kTable{kRows, 1, 4100};

std::string ExpectedLine(int i)
{
    char text[64];
    snprintf(text, sizeof text, "Line %03d, value %d", i, i);
    return text;
}

std::string Trim(const std::string& s)
{
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// A document's pages, each as its non-empty lines without surrounding spaces.
using Pages = std::vector<std::vector<std::string>>;

Pages SplitPages(const std::vector<unsigned char>& text)
{
    Pages pages(1);
    std::string line;
    for (unsigned char c : text) {
        if (c == '\n' || c == '\f') {
            if (!Trim(line).empty()) pages.back().push_back(Trim(line));
            line.clear();
            if (c == '\f') pages.emplace_back();
        } else {
            line += char(c);
        }
    }
    if (!Trim(line).empty()) pages.back().push_back(Trim(line));
    if (pages.back().empty()) pages.pop_back();  // pdftotext ends every page with a form feed
    return pages;
}

// Answers the print dialog of this process with command, noting whether PrintLock was
// held by the printing thread while the dialog was up.
struct DialogAnswer {
    int command;
    bool answered = false;
    bool lockHeld = false;
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

DWORD WINAPI TryPrintLock(LPVOID)
{
    if (!TryEnterCriticalSection(&PrintLock)) return 0;
    LeaveCriticalSection(&PrintLock);
    return 1;
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
        for (const std::string& name : PdfNames()) DeleteFileA(UnixToWindowsPath(pdfDir_ + "/" + name).c_str());
    }

    void TearDown() override
    {
        if (HWND viewer = ReportViewerWindow()) SendMessageA(viewer, WM_COMMAND, IDCANCEL, 0);
    }

    std::vector<std::string> PdfNames() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA(UnixToWindowsPath(pdfDir_ + "/*.pdf").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do names.push_back(found.cFileName);
        while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    // Opens the viewer with lines report lines and prints it, answering the dialog.
    DialogAnswer Print(int lines, int command)
    {
        gReportLines = lines;
        OpenTool(nullptr, 4101, 4100, kTable);
        DialogAnswer answer{command};
        HANDLE answerer = CreateThread(nullptr, 0, AnswerPrintDialog, &answer, 0, nullptr);
        SendMessageA(ReportViewerWindow(), WM_COMMAND, IDM_VIEWER_PRINT, 0);
        WaitForSingleObject(answerer, 15000);
        CloseHandle(answerer);
        return answer;
    }

    // Waits until count PDFs have arrived and pdftotext reads each; their pages.
    std::vector<Pages> ReadPdfs(size_t count, DWORD timeoutMs)
    {
        std::vector<Pages> documents;
        std::vector<std::string> done;
        const DWORD start = GetTickCount();
        while (done.size() < count && GetTickCount() - start < timeoutMs) {
            for (const std::string& name : PdfNames()) {
                if (std::find(done.begin(), done.end(), name) != done.end()) continue;
                const std::string pdf = pdfDir_ + "/" + name, text = pdf + ".txt";
                // A PDF still being written does not read.
                if (!RunHostCommand("pdftotext -layout '" + pdf + "' '" + text + "' 2>/dev/null")) continue;
                std::vector<unsigned char> bytes;
                ReadWholeFileBytes(UnixToWindowsPath(text), &bytes);
                documents.push_back(SplitPages(bytes));
                done.push_back(name);
            }
            Sleep(100);
        }
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
        if (query.hDevMode) GlobalFree(query.hDevMode);
        if (query.hDevNames) GlobalFree(query.hDevNames);
        return lines - 2;
    }

    std::string pdfDir_;
};

}  // namespace

TEST_F(Printing, ReportAndQuickHelpPrintUnderCapitalTitlesWithoutBlankPages)
{
    const int body = BodyLinesPerPage();
    ASSERT_GT(body, 4) << "no default printer";
    struct Case {
        const char* name;
        int lines;
        size_t pages;
    } cases[] = {
        {"two and a half pages", 2 * body + body / 2, 3},
        {"exactly two pages", 2 * body, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoxWatcher boxes;
        for (const std::string& name : PdfNames()) DeleteFileA(UnixToWindowsPath(pdfDir_ + "/" + name).c_str());
        const DialogAnswer answer = Print(c.lines, IDOK);
        ASSERT_TRUE(answer.answered) << "no print dialog";
        EXPECT_TRUE(answer.lockHeld) << "PrintLock was free while the dialog was up";
        const std::vector<std::string> help = ListBoxLines(GetDlgItem(ReportViewerWindow(), IDC_VIEWER_HELP));
        const std::vector<Pages> documents = ReadPdfs(2, 15000);
        ASSERT_EQ(documents.size(), 2u) << "expected the report and the Quick Help as two PDFs";
        const bool helpFirst = !documents[0].empty() && documents[0][0][0] == "QUICK HELP PRINT TEST";
        const Pages& report = documents[helpFirst ? 1 : 0];
        const Pages& quickHelp = documents[helpFirst ? 0 : 1];

        ASSERT_EQ(report.size(), c.pages);
        int next = 0;
        for (size_t page = 0; page < report.size(); ++page) {
            SCOPED_TRACE(page);
            ASSERT_FALSE(report[page].empty());
            EXPECT_EQ(report[page][0], "PRINT TEST");
            const int expected = page + 1 < report.size() ? body : c.lines - body * int(page);
            EXPECT_EQ(int(report[page].size()) - 1, expected);
            for (size_t i = 1; i < report[page].size(); ++i) EXPECT_EQ(report[page][i], ExpectedLine(next++));
        }
        EXPECT_EQ(next, c.lines);

        // Every help page has its capital title; the items follow in order (the one-space
        // spacers print as empty lines, which pdftotext leaves out).
        size_t item = 0, printedItems = 0;
        for (const auto& page : quickHelp) {
            ASSERT_FALSE(page.empty());
            EXPECT_EQ(page[0], "QUICK HELP PRINT TEST");
            for (size_t i = 1; i < page.size(); ++i, ++printedItems) {
                while (item < help.size() && Trim(help[item]).empty()) ++item;
                ASSERT_LT(item, help.size());
                EXPECT_EQ(page[i], Trim(help[item++]));
            }
        }
        EXPECT_EQ(quickHelp.size(), (help.size() + body - 1) / body);
        EXPECT_GT(printedItems, 10u);
        EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].caption << ": " << boxes.Boxes()[0].text;
    }
}

TEST_F(Printing, CancellingTheDialogPrintsNothingAndReleasesTheLock)
{
    const std::string jobs = pdfDir_ + "/jobs.txt";
    auto jobCount = [&]() {
        std::vector<unsigned char> text;
        if (!RunHostCommand("lpstat -W all -o | wc -l > '" + jobs + "'")) return -1;
        ReadWholeFileBytes(UnixToWindowsPath(jobs), &text);
        return atoi(std::string(text.begin(), text.end()).c_str());
    };
    const int before = jobCount();
    ASSERT_GE(before, 0);
    const DialogAnswer answer = Print(5, IDCANCEL);
    ASSERT_TRUE(answer.answered);
    EXPECT_TRUE(answer.lockHeld);
    EXPECT_EQ(jobCount(), before);
    EXPECT_TRUE(PdfNames().empty());
    HANDLE other = CreateThread(nullptr, 0, TryPrintLock, nullptr, 0, nullptr);
    WaitForSingleObject(other, 5000);
    DWORD free = 0;
    GetExitCodeThread(other, &free);
    CloseHandle(other);
    EXPECT_EQ(free, 1u) << "PrintLock is still held";
}

