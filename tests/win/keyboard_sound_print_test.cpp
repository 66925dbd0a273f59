// The keyboard, sound card and printer tests against their real dialogs: keys pressed on
// the run's X display with xdotool, the sound test in a copy of this program with and
// without the noise files beside it, and the test page printed on the run's PDF queue.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/app_globals.h"
#include "box_watcher.h"
#include "hardware/hardware_tests.h"
#include "hardware/key_table.h"
#include "hardware/test_line.h"
#include "resources/ids_hardware.h"
#include "services/program_directory.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

// ---- Keyboard test ----

LONG gOwnerHelpCount;  // WM_HELP that reached the window owning the test

LRESULT CALLBACK OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HELP) ++gOwnerHelpCount;
    return DefWindowProcA(window, message, wParam, lParam);
}

// How this thread's messages are dispatched while a test runs: as the program's own loop
// does, or as a loop that serves modeless dialogs does, through IsDialogMessage, so the
// dialog manager sees every key first.
bool gDialogManagerLoop = true;

// Dispatches this thread's messages for ms; ends early when done holds.
bool PumpDialog(HWND dialog, DWORD ms, const std::function<bool()>& done = nullptr)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < ms;) {
        if (done && done()) return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            if (!gDialogManagerLoop || !IsWindow(dialog) || !IsDialogMessageA(dialog, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
    }
    return done && done();
}

struct HostCommand {
    std::string command;
    bool succeeded;
};

DWORD WINAPI RunHostCommandThread(LPVOID parameter)
{
    HostCommand* command = static_cast<HostCommand*>(parameter);
    command->succeeded = RunHostCommand(command->command);
    return 0;
}

int ButtonOf(uint16_t code)
{
    for (const KeyCode& key : kKeyTable)
        if (key.code == code) return key.buttonId;
    return 0;
}

struct KeyboardTestFixture : testing::Test {
    void SetUp() override
    {
        savedInstance_ = gInstance;
        savedMainDialog_ = MainDialog;
        gInstance = GetModuleHandleA(nullptr);
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = OwnerProcedure;
        windowClass.hInstance = gInstance;
        windowClass.lpszClassName = "KeyboardTestOwner";
        RegisterClassA(&windowClass);
        ASSERT_TRUE(CreateOwner());
        gOwnerHelpCount = 0;
    }
    // The main dialog the test opens over, away from the screen's centre.
    bool CreateOwner()
    {
        owner_ = CreateWindowA("KeyboardTestOwner", "Owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 300, 300, 320, 240,
                               nullptr, nullptr, gInstance, nullptr);
        MainDialog = owner_;
        return owner_ != nullptr;
    }
    void TearDown() override
    {
        if (IsWindow(dialog_)) DestroyWindow(dialog_);
        DestroyWindow(owner_);
        MainDialog = savedMainDialog_;
        gInstance = savedInstance_;
    }

    HWND Open()
    {
        dialog_ = StartKeyboardTest(owner_);
        return dialog_;
    }
    // Opens the test, presses OK and gives it the keyboard.
    ::testing::AssertionResult Start()
    {
        if (!Open()) return ::testing::AssertionFailure() << "no Keyboard Test dialog";
        SendMessageA(GetDlgItem(dialog_, IDOK), BM_CLICK, 0, 0);
        if (!RunHostCommand("xdotool search --name 'Wine desktop' windowfocus --sync"))
            return ::testing::AssertionFailure() << "xdotool could not focus the Wine desktop";
        // A click on the caption, as a user would make: after the mouse test's real clicks on
        // windows now gone, Wine was seen to give a window made foreground by a call only
        // the polled key state, not the key-down messages.
        RECT frame;
        GetWindowRect(dialog_, &frame);
        RunHostCommand("xdotool mousemove " + std::to_string((frame.left + frame.right) / 2) + " " +
                       std::to_string(frame.top + GetSystemMetrics(SM_CYCAPTION) / 2 + 2) + " click 1");
        SetForegroundWindow(dialog_);
        if (!PumpDialog(dialog_, 3000, [&] { return GetForegroundWindow() == dialog_ && GetFocus() == dialog_; }))
            return ::testing::AssertionFailure() << "the test does not hold the keyboard focus";
        return ::testing::AssertionSuccess();
    }
    // Runs xdotool with these arguments while the dialog's messages keep being dispatched
    // (its poll timer must run while a key is held down).
    ::testing::AssertionResult Press(const std::string& keys)
    {
        HostCommand command{"xdotool " + keys, false};
        HANDLE thread = CreateThread(nullptr, 0, RunHostCommandThread, &command, 0, nullptr);
        PumpDialog(dialog_, 40000, [&] { return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0; });
        WaitForSingleObject(thread, INFINITE);  // RunHostCommand gives up by itself after 30 s
        CloseHandle(thread);
        if (!command.succeeded) return ::testing::AssertionFailure() << "xdotool " << keys << " failed";
        return ::testing::AssertionSuccess();
    }
    std::set<int> HiddenKeys() const
    {
        std::set<int> hidden;
        for (const KeyCode& key : kKeyTable)
            if (!(GetWindowLongPtrA(GetDlgItem(dialog_, key.buttonId), GWL_STYLE) & WS_VISIBLE)) hidden.insert(key.buttonId);
        return hidden;
    }
    bool IsHidden(int id) const { return HiddenKeys().count(id) != 0; }

    HWND owner_ = nullptr, dialog_ = nullptr;
    HINSTANCE savedInstance_ = nullptr;
    HWND savedMainDialog_ = nullptr;
};

std::vector<std::pair<std::string, bool>> InstructionTexts(HWND dialog)
{
    std::vector<std::pair<std::string, bool>> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (GetDlgCtrlID(child) == IDC_LABEL) {
            char text[256] = "";
            GetWindowTextA(child, text, sizeof text);
            texts.emplace_back(text, IsWindowEnabled(child) != FALSE);
        }
    return texts;
}

RECT ScreenRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

}  // namespace

TEST_F(KeyboardTestFixture, OpensTopmostOverTheMainDialogAsAKeyboardAndOkHandsItTheKeys)
{
    ASSERT_TRUE(Open());
    EXPECT_TRUE(GetWindowLongPtrA(dialog_, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(StartKeyboardTest(owner_), dialog_) << "a second test opened beside the first";
    const RECT d = ScreenRect(dialog_), o = ScreenRect(owner_);
    EXPECT_NEAR((d.left + d.right) / 2, (o.left + o.right) / 2, 1);
    EXPECT_NEAR((d.top + d.bottom) / 2, (o.top + o.bottom) / 2, 1);

    EXPECT_EQ(InstructionTexts(dialog_).size(), 8u);  // four steps, each enabled until the test starts
    for (const auto& text : InstructionTexts(dialog_)) EXPECT_TRUE(text.second) << text.first;

    // The keypad's Home (7) lies right of the editing block's Home, level with it or below.
    const RECT keypadHome = ScreenRect(GetDlgItem(dialog_, ButtonOf(Plain(0x24))));
    const RECT editingHome = ScreenRect(GetDlgItem(dialog_, ButtonOf(Extended(0x24))));
    EXPECT_GT(keypadHome.left, editingHome.right);
    EXPECT_GE(keypadHome.top, editingHome.top);

    ASSERT_TRUE(WaitUntilDrawn(dialog_));
    EXPECT_FALSE(SaveScreenshot("keyboard-test").empty());

    ASSERT_TRUE(Start());
    for (const KeyCode& key : kKeyTable) {
        HWND button = GetDlgItem(dialog_, key.buttonId);
        EXPECT_TRUE(IsWindowVisible(button) && !IsWindowEnabled(button)) << key.buttonId;
    }
    for (const auto& text : InstructionTexts(dialog_)) EXPECT_FALSE(text.second) << text.first;
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, IDOK)));
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog_, IDCANCEL)));
    EXPECT_EQ(GetFocus(), dialog_);
}

// Each key hides its own button and nothing else happens: Esc does not cancel, Enter does
// not press OK, Tab does not move the focus, F1 opens no help, and of the two keys that
// share a virtual key each hides only its own button.
TEST_F(KeyboardTestFixture, EachKeyHidesOnlyItsOwnButtonAndNoKeyClosesMovesOrOpensHelp)
{
    const struct {
        const char* name;
        const char* keys;  // xdotool; polled keys are held long enough for the 50 ms poll
        uint16_t code;
    } cases[] = {
        {"Esc", "keydown Escape sleep 0.3 keyup Escape", Polled(0x1B)},
        {"Tab", "keydown Tab sleep 0.3 keyup Tab", Polled(0x09)},
        {"F1", "keydown F1 sleep 0.3 keyup F1", Polled(0x70)},
        {"Enter", "key Return", Plain(0x0D)},
        {"keypad Enter", "key KP_Enter", Extended(0x0D)},
        {"keypad Home", "key KP_Home", Plain(0x24)},
        {"editing Home", "key Home", Extended(0x24)},
        {"a letter", "keydown q sleep 0.3 keyup q", Polled('Q')},
    };
    BoxWatcher boxes;
    for (const bool dialogManager : {false, true}) {
        SCOPED_TRACE(dialogManager ? "a loop serving modeless dialogs" : "the program's loop");
        gDialogManagerLoop = dialogManager;
        ASSERT_TRUE(Start());
        std::set<int> pressed;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.name);
            const int button = ButtonOf(c.code);
            ASSERT_NE(button, 0);
            pressed.insert(button);
            ASSERT_TRUE(Press(c.keys));
            // Time for a wrong effect to show too: the test closing, help, the focus moving.
            EXPECT_TRUE(PumpDialog(dialog_, 2000, [&] { return !IsWindow(dialog_) || IsHidden(button); }))
                << "its button is still shown";
            PumpDialog(dialog_, 300);
            ASSERT_TRUE(IsWindow(dialog_)) << "the key closed the test";
            EXPECT_EQ(HiddenKeys(), pressed);
            EXPECT_EQ(GetFocus(), dialog_) << "the key moved the focus";
            EXPECT_EQ(gOwnerHelpCount, 0) << "the key asked the main dialog for help";
        }
        DestroyWindow(dialog_);
    }
    gDialogManagerLoop = true;
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Boxes()[0].caption << ": " << boxes.Boxes()[0].text;
}

TEST_F(KeyboardTestFixture, TheLastKeySeenClosesTheTest)
{
    const struct {
        const char* name;
        const char* keys;
        uint16_t code;
    } cases[] = {
        {"a key seen from its message", "key KP_Home", Plain(0x24)},
        {"a polled key", "keydown Escape sleep 0.3 keyup Escape", Polled(0x1B)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(Start());
        for (const KeyCode& key : kKeyTable)  // as if every other key had been pressed
            if (key.code != c.code) ShowWindow(GetDlgItem(dialog_, key.buttonId), SW_HIDE);
        PumpDialog(dialog_, 200);
        ASSERT_TRUE(IsWindow(dialog_)) << "closed with one key button still shown";
        ASSERT_TRUE(Press(c.keys));
        EXPECT_TRUE(PumpDialog(dialog_, 3000, [&] { return !IsWindow(dialog_); })) << "still open after the last key";
    }
}

// Cancel ends the test at once; the close box asks for the same through the dialog's queue.
TEST_F(KeyboardTestFixture, CancelTheCloseBoxAndTheOwnerClosingEndTheRunningTest)
{
    const struct {
        const char* name;
        std::function<void(HWND)> close;
        bool atOnce;
    } cases[] = {
        {"Cancel", [](HWND d) { SendMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); }, true},
        {"the X of the title bar", [](HWND d) { SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }, false},
        {"the owner closing", [](HWND d) { DestroyWindow(GetWindow(d, GW_OWNER)); }, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        if (!IsWindow(owner_)) ASSERT_TRUE(CreateOwner());
        ASSERT_TRUE(Start());
        c.close(dialog_);
        if (c.atOnce) EXPECT_FALSE(IsWindow(dialog_));
        else EXPECT_TRUE(PumpDialog(dialog_, 2000, [&] { return !IsWindow(dialog_); }));
        ASSERT_FALSE(IsWindow(dialog_));
        const HWND closed = dialog_;
        EXPECT_NE(Open(), closed) << "a new test did not replace the closed one";
        DestroyWindow(dialog_);
    }
}

// ---- Sound card test ----

// Run in a copy of this program: opens the sound card test and serves it until it closes.
TEST(SoundTestHelper, DISABLED_ServeUntilClosed)
{
    gInstance = GetModuleHandleA(nullptr);
    StartSoundTest(nullptr);
    HWND dialog = FindProcessWindow(GetCurrentProcessId(), nullptr, "Sound Card Test");
    ASSERT_NE(dialog, nullptr);
    PumpMessagesFor(60000, dialog);
    EXPECT_FALSE(IsWindow(dialog));
}

TEST(SoundTest, ChannelsShowNoBoxWithOrWithoutTheNoiseFilesAndOkCloses)
{
    char self[MAX_PATH], built[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    ProgramDirectory(nullptr, built, sizeof built);
    const char* waves[] = {"r_noise.wav", "l_noise.wav", "b_noise.wav"};
    for (const bool withFiles : {false, true}) {
        SCOPED_TRACE(withFiles ? "with the noise files" : "without them");
        const std::string folder = FreshTestFolder(withFiles ? "sound_with_files" : "sound_without_files");
        const std::string copy = folder + "\\win_tests.exe";
        ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
        for (const char* wave : waves)
            if (withFiles) ASSERT_TRUE(CopyFileA((std::string(built) + "\\" + wave).c_str(), (folder + "\\" + wave).c_str(), FALSE)) << wave;
        PROCESS_INFORMATION helper;
        ASSERT_TRUE(StartProcess("\"" + copy + "\" --gtest_also_run_disabled_tests --gtest_filter=SoundTestHelper.*",
                                 &helper, 0, folder.c_str()));
        BoxWatcher boxes(helper.dwProcessId);
        HWND dialog = WaitForProcessWindow(helper.dwProcessId, "Sound Card Test", 15000);
        if (!dialog) EndHelperProcess(&helper);
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 5000));  // set up and shown
        EXPECT_TRUE(GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        for (int id : {IDC_SOUND_RIGHT, IDC_SOUND_LEFT, IDC_SOUND_STEREO}) SendWithTimeout(GetDlgItem(dialog, id), BM_CLICK);
        // Time for a box to show up, were the program to show one.
        EXPECT_FALSE(WaitUntil([&] { return !boxes.Boxes().empty(); }, 1000))
            << boxes.Boxes()[0].caption << ": " << boxes.Boxes()[0].text;
        SendWithTimeout(GetDlgItem(dialog, IDOK), BM_CLICK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }, 5000)) << "OK did not close the test";
        EXPECT_EQ(WaitForSingleObject(helper.hProcess, 15000), WAIT_OBJECT_0);
        DWORD exitCode = 1;
        GetExitCodeProcess(helper.hProcess, &exitCode);
        EXPECT_EQ(exitCode, 0u);
        EndHelperProcess(&helper);
    }
}

// ---- Printer test page ----

namespace {

// A PDF's text as pdftotext gives it: the number of pages (a form feed ends each) and every
// non-empty line without surrounding spaces.
struct PdfText {
    int pages = 0;
    std::vector<std::string> lines;
};

PdfText ReadPdfText(const std::vector<unsigned char>& text)
{
    PdfText pdf;
    std::string line;
    for (unsigned char c : text) {
        if (c != '\n' && c != '\f') {
            line += char(c);
            continue;
        }
        const size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos) pdf.lines.push_back(line.substr(first, line.find_last_not_of(' ') - first + 1));
        line.clear();
        pdf.pages += c == '\f';
    }
    return pdf;
}

// Answers every window titled "Print" of this process (the print dialog, and the box the
// platform may show in its place) with a command until told to stop, noting whether
// PrintLock was held while one was up.
struct PrintAnswerer {
    int command;
    volatile LONG stop = 0;
    bool answered = false, lockHeld = false;
    std::vector<HWND> done;
};

BOOL CALLBACK AnswerPrintWindow(HWND window, LPARAM parameter)
{
    PrintAnswerer* answerer = reinterpret_cast<PrintAnswerer*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char title[32] = "";
    GetWindowTextA(window, title, sizeof title);
    if (owner != GetCurrentProcessId() || strcmp(title, "Print") != 0 || !IsWindowVisible(window) ||
        std::find(answerer->done.begin(), answerer->done.end(), window) != answerer->done.end())
        return TRUE;
    answerer->lockHeld = !TryEnterCriticalSection(&PrintLock);
    if (!answerer->lockHeld) LeaveCriticalSection(&PrintLock);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answerer->command, BN_CLICKED), 0);
    answerer->done.push_back(window);
    answerer->answered = true;
    return TRUE;
}

DWORD WINAPI AnswerPrintWindows(LPVOID parameter)
{
    PrintAnswerer* answerer = static_cast<PrintAnswerer*>(parameter);
    for (const DWORD start = GetTickCount(); !answerer->stop && GetTickCount() - start < 30000; Sleep(50))
        EnumWindows(AnswerPrintWindow, LPARAM(answerer));
    return 0;
}

DWORD WINAPI TryPrintLock(LPVOID)
{
    if (!TryEnterCriticalSection(&PrintLock)) return 0;
    LeaveCriticalSection(&PrintLock);
    return 1;
}

// Whether another thread can take PrintLock now.
bool IsPrintLockFree()
{
    HANDLE thread = CreateThread(nullptr, 0, TryPrintLock, nullptr, 0, nullptr);
    DWORD free = 0;
    if (WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0) GetExitCodeThread(thread, &free);
    CloseHandle(thread);
    return free == 1;
}

// Holds the printers the spooler lists (the subkeys of one key) aside under HKCU, and puts
// them back when it goes.
class PrintersHidden {
public:
    PrintersHidden()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kAside);
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrinters, 0, KEY_ALL_ACCESS, &printers_) != ERROR_SUCCESS ||
            RegCreateKeyExA(HKEY_CURRENT_USER, kAside, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &aside_, nullptr) !=
                ERROR_SUCCESS ||
            RegCopyTreeA(printers_, nullptr, aside_) != ERROR_SUCCESS)
            return;
        hidden_ = true;
        char name[256];
        DWORD length = sizeof name;
        while (RegEnumKeyExA(printers_, 0, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
               RegDeleteTreeA(printers_, name) == ERROR_SUCCESS)
            length = sizeof name;
    }
    ~PrintersHidden()
    {
        if (hidden_ && RegCopyTreeA(aside_, nullptr, printers_) == ERROR_SUCCESS) RegDeleteTreeA(HKEY_CURRENT_USER, kAside);
        if (aside_) RegCloseKey(aside_);
        if (printers_) RegCloseKey(printers_);
    }
    PrintersHidden(const PrintersHidden&) = delete;
    PrintersHidden& operator=(const PrintersHidden&) = delete;
    bool Hidden() const { return hidden_; }

private:
    static constexpr const char* kPrinters = "System\\CurrentControlSet\\Control\\Print\\Printers";
    static constexpr const char* kAside = "Software\\Halvorn test printers aside";
    HKEY printers_ = nullptr, aside_ = nullptr;
    bool hidden_ = false;
};

// Puts a file where the spooler keeps its job files while it lives, so no document can
// start; the folder comes back when it goes.
class SpoolFolderBlocked {
public:
    SpoolFolderBlocked()
    {
        char system[MAX_PATH];
        GetSystemDirectoryA(system, sizeof system);
        folder_ = std::string(system) + "\\spool\\printers";
        if (!MoveFileA(folder_.c_str(), (folder_ + ".aside").c_str())) return;
        moved_ = true;
        HANDLE file = CreateFileA(folder_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        blocked_ = file != INVALID_HANDLE_VALUE;
        CloseHandle(file);
    }
    ~SpoolFolderBlocked()
    {
        if (!moved_) return;
        DeleteFileA(folder_.c_str());
        MoveFileA((folder_ + ".aside").c_str(), folder_.c_str());
    }
    bool Blocked() const { return blocked_; }

private:
    std::string folder_;
    bool moved_ = false, blocked_ = false;
};

class PrinterTestPage : public testing::Test {
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
        for (const std::string& pdf : Pdfs()) DeleteFileA(UnixToWindowsPath(pdf).c_str());
    }

    // Prints the test page, answering the print dialog with command.
    DWORD Print(int command, PrintAnswerer* answerer)
    {
        answerer->command = command;
        HANDLE thread = CreateThread(nullptr, 0, AnswerPrintWindows, answerer, 0, nullptr);
        const DWORD flag = PrintTestPage(nullptr);
        answerer->stop = 1;
        WaitForSingleObject(thread, 5000);
        CloseHandle(thread);
        return flag;
    }

    std::vector<std::string> Pdfs() const { return PrintedPdfs(pdfDir_); }
    int JobCount() const { return PrintJobCount(pdfDir_); }

    // The text of the one PDF that arrives, once pdftotext can read it.
    PdfText ReadPdf() const
    {
        std::vector<unsigned char> bytes;
        WaitUntil([&] {
            const std::vector<std::string> pdfs = Pdfs();
            return pdfs.size() == 1 &&
                   RunHostCommand("pdftotext -layout '" + pdfs[0] + "' '" + pdfs[0] + ".txt' 2>/dev/null") &&
                   ReadWholeFileBytes(UnixToWindowsPath(pdfs[0] + ".txt"), &bytes);
        }, 15000);
        return ReadPdfText(bytes);
    }

    std::string pdfDir_;
};

}  // namespace

TEST_F(PrinterTestPage, PrintsOnePageOfTheTestLineFromTopToBottom)
{
    PrintAnswerer answerer;
    EXPECT_EQ(Print(IDOK, &answerer), 0u);
    ASSERT_TRUE(answerer.answered) << "no print dialog";
    EXPECT_TRUE(answerer.lockHeld) << "PrintLock was free while the dialog was up";
    EXPECT_TRUE(IsPrintLockFree());
    const PdfText pdf = ReadPdf();
    EXPECT_EQ(pdf.pages, 1);
    // A full page of lines, each with all 92 characters: the PDF printer's own font is wider
    // than the page for them, and a smaller size of it is used.
    EXPECT_GE(pdf.lines.size(), 70u);  // 76 on the run's letter-size queue
    EXPECT_EQ(pdf.lines, std::vector<std::string>(pdf.lines.size(), PrinterTestLine()));
}

// Cancel is no fault of the printer; no printer, or a printer that cannot start the
// document, is. Either way nothing is printed and PrintLock is given back.
TEST_F(PrinterTestPage, FlagsAFailedPrinterButNotTheUsersCancel)
{
    const struct {
        const char* name;
        int command;
        int obstacle;  // 0 none, 1 no printer installed, 2 the spooler cannot start a document
        DWORD flag;
    } cases[] = {
        {"cancelled", IDCANCEL, 0, 0},
        {"no printer installed", IDOK, 1, 1},
        {"cancelled after that failure", IDCANCEL, 0, 0},
        {"the document cannot start", IDOK, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int jobsBefore = JobCount();
        ASSERT_GE(jobsBefore, 0);
        PrintAnswerer answerer;
        DWORD flag = 2;
        if (c.obstacle == 1) {
            PrintersHidden hidden;
            ASSERT_TRUE(hidden.Hidden());
            flag = Print(c.command, &answerer);
        } else if (c.obstacle == 2) {
            SpoolFolderBlocked blocked;
            ASSERT_TRUE(blocked.Blocked());
            flag = Print(c.command, &answerer);
        } else {
            flag = Print(c.command, &answerer);
        }
        EXPECT_EQ(flag, c.flag);
        EXPECT_TRUE(answerer.answered) << "no print dialog or box";
        EXPECT_TRUE(IsPrintLockFree());
        EXPECT_EQ(JobCount(), jobsBefore);
        EXPECT_TRUE(Pdfs().empty());
    }
}
