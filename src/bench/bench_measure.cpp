#include <windows.h>

#include "bench/bench_measure.h"

#include <mmsystem.h>

#include <cstdio>
#include <vector>

#include "app/app_globals.h"

namespace {

// The multimedia timer at 1 ms for the life of the scope.
struct TimerPeriod {
    TimerPeriod() { timeBeginPeriod(1); }
    ~TimerPeriod() { timeEndPeriod(1); }
};

// The process in the real-time class for the life of the scope, then back in the class it
// had (the system may grant a lower class than real time; that is fine).
struct RealTimeClass {
    HANDLE process = GetCurrentProcess();
    DWORD previous = GetPriorityClass(process);
    RealTimeClass() { SetPriorityClass(process, REALTIME_PRIORITY_CLASS); }
    ~RealTimeClass()
    {
        if (previous) SetPriorityClass(process, previous);
    }
};

// Fractional milliseconds since start. A modern processor finishes some workloads in about
// a millisecond, which the millisecond clock would round to 0 or 1.
struct Stopwatch {
    LARGE_INTEGER start{};
    Stopwatch() { QueryPerformanceCounter(&start); }
    double Milliseconds() const
    {
        LARGE_INTEGER now{}, frequency{};
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
    }
};

constexpr int kChainRepetitions = 300000;

// Each repetition sets every one of six variables to the sum of the others, then to their
// differences. The variables are volatile so that no step can be folded away.
template <typename T>
T RunChain()
{
    volatile T a, b, c, d, e, f;
    T total = 0;
    for (int i = 0; i < kChainRepetitions; ++i) {
        a = T(1 + (i & 7)), b = 2, c = 3, d = 4, e = 5, f = 6;
        a = b + c + d + e + f;
        b = a + c + d + e + f;
        c = a + b + d + e + f;
        d = a + b + c + e + f;
        e = a + b + c + d + f;
        f = a + b + c + d + e;
        a = b - c - d - e - f;
        b = a - c - d - e - f;
        c = a - b - d - e - f;
        d = a - b - c - e - f;
        e = a - b - c - d - f;
        f = a - b - c - d - e;
        total = total + f;
    }
    return total;
}

volatile double gChainSink;  // the chains' results go here, so they are needed

template <typename T>
BenchResult MeasureChain()
{
    TimerPeriod period;
    RealTimeClass realTime;
    Stopwatch watch;
    gChainSink = double(RunChain<T>());
    return BenchMeasured(watch.Milliseconds());
}

HANDLE CreateWriteThrough(const char* path)
{
    return CreateFileA(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
}

// The test file "mhtest????.tmp" in folder, made new under a name no other file has, and
// removed when the scope ends on whatever path it is left (the file deletes itself on
// close as well, should the program end first).
struct TemporaryFile {
    char path[MAX_PATH] = "";
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool Create(const char* folder, const BenchDiskHooks& hooks)
    {
        const DWORD seed = GetCurrentProcessId() * 31 + GetTickCount();
        for (DWORD attempt = 0; attempt < 100; ++attempt) {
            const int length = snprintf(path, sizeof path, "%smhtest%04lX.tmp", folder, (seed + attempt) & 0xFFFF);
            if (length <= 0 || length >= int(sizeof path)) break;
            handle = hooks.openFile(path);
            if (handle != INVALID_HANDLE_VALUE) return true;
            const DWORD error = GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) break;
        }
        path[0] = '\0';  // nothing of ours to remove
        return false;
    }
    ~TemporaryFile()
    {
        if (handle == INVALID_HANDLE_VALUE) return;
        CloseHandle(handle);
        DeleteFileA(path);
    }
};

bool BlockIo(HANDLE file, const DiskPlan& plan, const std::vector<uint32_t>& offsets)
{
    static char block[kBenchBlockLength];
    uint32_t position = 0;
    for (uint32_t i = 0; i < plan.blockCount; ++i) {
        if (offsets[i] != position && SetFilePointer(file, LONG(offsets[i]), nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
            return false;
        DWORD done = 0;
        const BOOL isDone = plan.isRead ? ReadFile(file, block, kBenchBlockLength, &done, nullptr)
                                        : WriteFile(file, block, kBenchBlockLength, &done, nullptr);
        if (!isDone || done != kBenchBlockLength) return false;
        position = offsets[i] + kBenchBlockLength;
    }
    return true;
}

bool Fill(HANDLE file, uint32_t length)
{
    static const char block[kBenchBlockLength] = {'m', 'h'};
    for (uint32_t written = 0; written < length; written += kBenchBlockLength) {
        DWORD done = 0;
        if (!WriteFile(file, block, kBenchBlockLength, &done, nullptr) || done != kBenchBlockLength) return false;
    }
    return FlushFileBuffers(file) != 0;
}

}  // namespace

const BenchDiskHooks kBenchSystemDisk = {GetDiskFreeSpaceExA, CreateWriteThrough};

BenchResult MeasureCpu()
{
    return MeasureChain<uint32_t>();
}

BenchResult MeasureFpu()
{
    return MeasureChain<float>();
}

BenchResult MeasureDisk(DiskPattern pattern, const BenchDiskHooks& hooks)
{
    const DiskPlan plan = DiskPlanOf(pattern);
    char folder[MAX_PATH];
    const DWORD folderLength = GetTempPathA(MAX_PATH, folder);
    if (folderLength == 0 || folderLength >= MAX_PATH) return BenchNotMeasured("No temporary folder");
    ULARGE_INTEGER available{}, total{}, free{};
    if (!hooks.freeSpace(folder, &available, &total, &free) || available.QuadPart < plan.minimumFreeBytes)
        return BenchNotMeasured("Not enough free disk space");

    TemporaryFile file;
    if (!file.Create(folder, hooks)) return BenchNotMeasured("No temporary file");
    if (plan.fillLength && !Fill(file.handle, plan.fillLength)) return BenchNotMeasured("Could not write the file");

    std::vector<uint32_t> offsets(plan.blockCount);
    BenchRandom random{GetTickCount()};
    DiskPlanOffsets(pattern, &random, offsets.data());
    if (SetFilePointer(file.handle, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return BenchNotMeasured("Could not use the file");

    TimerPeriod period;
    RealTimeClass realTime;
    Stopwatch watch;
    if (!BlockIo(file.handle, plan, offsets)) return BenchNotMeasured("Could not use the file");
    return BenchMeasured(watch.Milliseconds());
}

namespace {

const char kVideoClass[] = "videotest";
constexpr int kVideoWidth = 480, kVideoHeight = 360;

// The drawing window's class, registered the first time it is needed.
bool RegisterVideoClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(gInstance, kVideoClass, &existing)) return true;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = gInstance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32514));  // IDC_WAIT
    windowClass.hbrBackground = HBRUSH(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kVideoClass;
    return RegisterClassA(&windowClass) != 0;
}

// Lines of text in four fonts, scrolling the client area up by one line after each.
void DrawTextLines(HDC dc)
{
    static const struct {
        const char* face;
        int height;
    } kFonts[] = {{"Arial", 20}, {"Arial", 40}, {"Times New Roman", 20}, {"Times New Roman", 40}};
    static const char kLine[] = "Character Scrolling Test";
    RECT area = {0, 0, kVideoWidth, kVideoHeight};
    for (const auto& font : kFonts) {
        HFONT handle = CreateFontA(-font.height, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                   CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, font.face);
        HGDIOBJ old = SelectObject(dc, handle);
        for (int line = 0; line < 40; ++line) {
            for (int x = 0; x < kVideoWidth; x += kVideoWidth / 2)
                TextOutA(dc, x, kVideoHeight - font.height, kLine, int(sizeof kLine - 1));
            ScrollDC(dc, 0, -font.height, &area, &area, nullptr, nullptr);
        }
        SelectObject(dc, old);
        DeleteObject(handle);
    }
}

// Fans of lines from the four edges, a sweep of 3600 lines through the palette colours,
// then concentric arcs.
void DrawLineSweeps(HDC dc)
{
    static const COLORREF kPalette[16] = {0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080,
                                          0x808000, 0xC0C0C0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF,
                                          0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF};
    const int cx = kVideoWidth / 2, cy = kVideoHeight / 2;
    for (int x = 0; x <= kVideoWidth; x += 4) {
        MoveToEx(dc, 0, 0, nullptr), LineTo(dc, x, kVideoHeight);
        MoveToEx(dc, kVideoWidth, kVideoHeight, nullptr), LineTo(dc, x, 0);
    }
    for (int y = 0; y <= kVideoHeight; y += 4) {
        MoveToEx(dc, kVideoWidth, 0, nullptr), LineTo(dc, 0, y);
        MoveToEx(dc, 0, kVideoHeight, nullptr), LineTo(dc, kVideoWidth, y);
    }
    HPEN pen = nullptr;
    HGDIOBJ oldPen = GetCurrentObject(dc, OBJ_PEN);
    int penIndex = -1;
    for (int step = 0; step < 3600; ++step) {
        const int index = step / 5 % 15;
        if (index != penIndex) {
            HPEN next = CreatePen(PS_SOLID, 1, kPalette[index]);
            SelectObject(dc, next);
            if (pen) DeleteObject(pen);
            pen = next, penIndex = index;
        }
        const int edge = step % (2 * (kVideoWidth + kVideoHeight));
        const int x = edge < kVideoWidth ? edge : edge < kVideoWidth + kVideoHeight ? kVideoWidth
                      : edge < 2 * kVideoWidth + kVideoHeight ? 2 * kVideoWidth + kVideoHeight - edge : 0;
        const int y = edge < kVideoWidth ? 0 : edge < kVideoWidth + kVideoHeight ? edge - kVideoWidth
                      : edge < 2 * kVideoWidth + kVideoHeight ? kVideoHeight
                      : 2 * (kVideoWidth + kVideoHeight) - edge;
        MoveToEx(dc, cx, cy, nullptr), LineTo(dc, x, y);
    }
    SelectObject(dc, oldPen);
    if (pen) DeleteObject(pen);
    for (int r = 4; r < cy; r += 4) Arc(dc, cx - r, cy - r, cx + r, cy + r, cx + r, cy, cx - r, cy);
}

// Rectangles, rounded rectangles and ellipses, 150 each, each filled with a new brush.
void DrawFilledShapes(HDC dc)
{
    for (int kind = 0; kind < 3; ++kind) {
        for (int i = 0; i < 150; ++i) {
            HBRUSH brush = CreateSolidBrush(RGB(i * 37 % 256, i * 73 % 256, i * 151 % 256));
            HGDIOBJ old = SelectObject(dc, brush);
            const int left = i * 7 % (kVideoWidth - 100), top = i * 11 % (kVideoHeight - 80);
            if (kind == 0) Rectangle(dc, left, top, left + 100, top + 80);
            else if (kind == 1) RoundRect(dc, left, top, left + 100, top + 80, 20, 20);
            else Ellipse(dc, left, top, left + 100, top + 80);
            SelectObject(dc, old);
            DeleteObject(brush);
        }
    }
}

}  // namespace

BenchResult MeasureVideo(BenchWorkload workload)
{
    if (!RegisterVideoClass()) return BenchNotMeasured("No drawing window");
    HWND window = CreateWindowExA(WS_EX_TOPMOST, kVideoClass, "Pandrel Video Benchmark", WS_POPUP | WS_CAPTION | WS_VISIBLE,
                                  0, 0, kVideoWidth, kVideoHeight + GetSystemMetrics(SM_CYCAPTION), nullptr, nullptr,
                                  gInstance, nullptr);
    if (!window) return BenchNotMeasured("No drawing window");
    HDC dc = GetDC(window);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, HBRUSH(GetStockObject(WHITE_BRUSH)));
    GdiFlush();
    double milliseconds;
    {
        TimerPeriod period;
        Stopwatch watch;
        if (workload == BenchWorkload::kVideoText) DrawTextLines(dc);
        else if (workload == BenchWorkload::kVideoDrawing) DrawLineSweeps(dc);
        else DrawFilledShapes(dc);
        GdiFlush();
        milliseconds = watch.Milliseconds();
    }
    ReleaseDC(window, dc);
    DestroyWindow(window);
    return BenchMeasured(milliseconds);
}

BenchResult MeasureBenchTest(int test, char* leftOut, size_t leftOutLength)
{
    if (leftOutLength) leftOut[0] = '\0';
    switch (kBenchTests[test].workload) {
    case BenchWorkload::kCpu:
        return MeasureCpu();
    case BenchWorkload::kFpu:
        return MeasureFpu();
    case BenchWorkload::kDiskRead:
        return MeasureDisk(DiskPattern::kSequentialRead);
    case BenchWorkload::kDiskWrite:
        return MeasureDisk(DiskPattern::kSequentialWrite);
    case BenchWorkload::kDiskRandomRead:
        return MeasureDisk(DiskPattern::kRandomRead);
    case BenchWorkload::kDiskRandomWrite:
        return MeasureDisk(DiskPattern::kRandomWrite);
    case BenchWorkload::kVideoText:
    case BenchWorkload::kVideoDrawing:
    case BenchWorkload::kVideoObjects:
        return MeasureVideo(kBenchTests[test].workload);
    case BenchWorkload::kOverallScore:
        break;
    }
    BenchResult parts[kBenchScorePartCount];
    for (int i = 0; i < kBenchScorePartCount; ++i) parts[i] = MeasureBenchTest(i, nullptr, 0);
    return BenchOverallScore(parts, leftOut, leftOutLength);
}
