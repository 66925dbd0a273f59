// The full-screen video test patterns and their controller dialog. RunVideoTests owns an
// invisible full-screen window and the modeless "Video Tests" dialog it opens; the user
// picks a pattern there, the window hides the dialog and shows the pattern until a click,
// and OK or Cancel (or closing either window) ends the run. Each run keeps its state in a
// record on RunVideoTests' stack, reached from both windows.
#include <windows.h>

#include "app/app_globals.h"
#include "hardware/hardware_tests.h"
#include "hardware/window_loop.h"
#include "hardware/video_patterns.h"
#include "resources/ids_hardware.h"
#include "services/window_position.h"

namespace {

struct VideoTestRun {
    HWND window;
    HWND dialog;
    int pattern;   // IDC_VIDEO_HORIZONTAL .. IDC_VIDEO_CALIBRATION, the one on screen
    int rampFill;  // the colour ramps' fill on screen while they run, else -1
    bool isDestroyed;
};

struct Instruction {
    int pattern;
    const char* text;
};

const Instruction kInstructions[] = {
    {IDC_VIDEO_HORIZONTAL,
     "Check that the lines are horizontal and parallel. Check the corners carefully for distortion."},
    {IDC_VIDEO_VERTICAL, "Check that the lines are vertical and parallel. Check the corners carefully for distortion."},
    {IDC_VIDEO_DISTORTION, "Check that the lines form squares. Check the corners carefully for distortion."},
    {IDC_VIDEO_COLOR_DISTORTION,
     "Each color will flash for 1/2 second. Check for areas where the color is not uniform or where distortion is "
     "ocurring."},
    {IDC_VIDEO_CALIBRATION, "Check that colors match the description. Use the monitor controls to adjust the color."},
};

const char kVideoClass[] = "VideoTests";
const UINT_PTR kRampTimer = 1;

}  // namespace

static VideoTestRun* RunOf(HWND window)
{
    return reinterpret_cast<VideoTestRun*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// ---- The controller dialog -----------------------------------------------------------

static int CheckedPattern(HWND dialog)
{
    for (int id = IDC_VIDEO_HORIZONTAL; id <= IDC_VIDEO_CALIBRATION; ++id)
        if (IsDlgButtonChecked(dialog, id) == BST_CHECKED) return id;
    return IDC_VIDEO_HORIZONTAL;
}

static BOOL OnVideoDialogInit(HWND dialog, VideoTestRun* run)
{
    SetWindowLongPtrA(dialog, DWLP_USER, LONG_PTR(run));
    CheckRadioButton(dialog, IDC_VIDEO_HORIZONTAL, IDC_VIDEO_CALIBRATION, IDC_VIDEO_HORIZONTAL);
    CenterWindow(dialog, nullptr);
    return TRUE;
}

static void OnVideoDialogCommand(HWND dialog, VideoTestRun* run, int id, int code)
{
    for (const Instruction& instruction : kInstructions) {
        if (instruction.pattern == id && code == BN_CLICKED) {
            SetDlgItemTextA(dialog, IDC_VIDEO_INSTRUCTIONS, instruction.text);
            return;
        }
    }
    switch (id) {
    case IDC_VIDEO_START:
        SendMessageA(run->window, WM_COMMAND, WPARAM(CheckedPattern(dialog)), 0);
        break;
    case IDOK:
    case IDCANCEL:
        DestroyWindow(run->window);  // takes the dialog with it: the window owns it
        break;
    }
}

static INT_PTR CALLBACK VideoTestsDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    VideoTestRun* run = reinterpret_cast<VideoTestRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        return OnVideoDialogInit(dialog, reinterpret_cast<VideoTestRun*>(lParam));
    case WM_COMMAND:
        if (run) OnVideoDialogCommand(dialog, run, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        if (run) run->dialog = nullptr;
        return TRUE;
    }
    return FALSE;
}

// ---- The test window -----------------------------------------------------------------

static void ShowPattern(VideoTestRun* run, int pattern)
{
    run->pattern = pattern;
    KillTimer(run->window, kRampTimer);
    run->rampFill = -1;
    if (pattern == IDC_VIDEO_COLOR_DISTORTION) {
        // One fill per timer tick, so the window keeps answering (a click ends the ramps).
        run->rampFill = 0;
        SetTimer(run->window, kRampTimer, kRampFillMs, nullptr);
    }
    ShowWindow(run->dialog, SW_HIDE);
    ShowWindow(run->window, SW_SHOWMAXIMIZED);
    InvalidateRect(run->window, nullptr, TRUE);
}

static void EndPattern(VideoTestRun* run)
{
    KillTimer(run->window, kRampTimer);
    run->rampFill = -1;
    ShowWindow(run->window, SW_HIDE);
    ShowWindow(run->dialog, SW_SHOW);
    SetForegroundWindow(run->dialog);
}

static void OnRampTick(VideoTestRun* run)
{
    if (run->rampFill < 0) return;
    if (++run->rampFill >= kRampFillCount) {
        EndPattern(run);
        return;
    }
    InvalidateRect(run->window, nullptr, FALSE);
}

static void PaintLines(HDC dc, const RECT& client, bool isHorizontal, bool isVertical)
{
    if (isHorizontal)
        for (int y = 0; y < client.bottom; y += kPatternLineSpacing) PatBlt(dc, 0, y, client.right, 1, BLACKNESS);
    if (isVertical)
        for (int x = 0; x < client.right; x += kPatternLineSpacing) PatBlt(dc, x, 0, 1, client.bottom, BLACKNESS);
}

static void FillWith(HDC dc, const RECT& rect, PatternColor color)
{
    SetDCBrushColor(dc, RGB(color.red, color.green, color.blue));
    FillRect(dc, &rect, HBRUSH(GetStockObject(DC_BRUSH)));
}

static void PaintCalibration(HDC dc, const RECT& client)
{
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, OPAQUE);
    for (int i = 0; i < kCalibrationColorCount; ++i) {
        const CalibrationSwatch s = CalibrationSwatchAt(i, client.right, client.bottom);
        const RECT cell = {s.cell.left, s.cell.top, s.cell.right, s.cell.bottom};
        RECT band = {s.nameBand.left, s.nameBand.top, s.nameBand.right, s.nameBand.bottom};
        FillWith(dc, cell, kCalibrationColors[i].color);
        DrawTextA(dc, kCalibrationColors[i].name, -1, &band, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
}

static void OnVideoPaint(HWND window, VideoTestRun* run)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    if (run->rampFill >= 0) {
        FillWith(dc, client, RampFill(run->rampFill));
    } else {
        switch (run->pattern) {
        case IDC_VIDEO_HORIZONTAL: PaintLines(dc, client, true, false); break;
        case IDC_VIDEO_VERTICAL: PaintLines(dc, client, false, true); break;
        case IDC_VIDEO_DISTORTION: PaintLines(dc, client, true, true); break;
        case IDC_VIDEO_CALIBRATION: PaintCalibration(dc, client); break;
        }
    }
    EndPaint(window, &paint);
}

static LRESULT OnVideoCreate(HWND window, const CREATESTRUCTA* create)
{
    VideoTestRun* run = static_cast<VideoTestRun*>(create->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, LONG_PTR(run));
    run->window = window;
    run->dialog = CreateDialogParamA(gInstance, MAKEINTRESOURCEA(IDD_VIDEO_TESTS), window, VideoTestsDlgProc, LPARAM(run));
    if (!run->dialog) return -1;
    ShowWindow(run->dialog, SW_SHOW);
    return 0;
}

static void OnVideoDestroy(HWND window, VideoTestRun* run)
{
    KillTimer(window, kRampTimer);
    if (run->dialog) DestroyWindow(run->dialog);
    run->isDestroyed = true;
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    WakeWindowLoop();
}

static LRESULT CALLBACK VideoWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) return OnVideoCreate(window, reinterpret_cast<CREATESTRUCTA*>(lParam));
    VideoTestRun* run = RunOf(window);
    if (!run) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_COMMAND:
        if (wParam >= IDC_VIDEO_HORIZONTAL && wParam <= IDC_VIDEO_CALIBRATION) ShowPattern(run, int(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kRampTimer) OnRampTick(run);
        return 0;
    case WM_ERASEBKGND:
        if (run->rampFill >= 0) return 1;  // the fill covers the whole window
        break;
    case WM_PAINT:
        OnVideoPaint(window, run);
        return 0;
    // On the button's release: a press that hid the window would leave its release, and the
    // context menu a right release brings, to whatever window lies beneath.
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
        EndPattern(run);
        return 0;
    case WM_DESTROY:
        OnVideoDestroy(window, run);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunVideoTests()
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = VideoWindowProc;
    wc.hInstance = gInstance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    wc.lpszClassName = kVideoClass;
    RegisterClassA(&wc);  // fails harmlessly on a second run: the class is still there

    VideoTestRun run = {};
    run.pattern = IDC_VIDEO_HORIZONTAL;
    run.rampFill = -1;
    HWND window = CreateWindowExA(0, kVideoClass, "", WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, gInstance, &run);
    if (!window) return;

    RunWindowLoop(window, &run.isDestroyed, &run.dialog);
}
