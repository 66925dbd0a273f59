// Helper of the whole-cost run (perf/whole_cost.sh), run beside a halvorn.exe that is
// running: "open" waits for the main dialog, sends it the Status Report command (as its
// button does) and waits until the report shows; "close" ends the program the way closing
// its main window does and waits until it has exited. Prints what it did; exits 0 when it
// was done within a minute, 1 otherwise. "handles" prints the handle count the system keeps
// for each running halvorn.exe and res16.exe, one "name id count" line each (the endurance
// run's real-time form asks it every minute; Wine answers GetProcessHandleCount of another
// process with 0 but counts handles in its process list).
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "resources/ids_main.h"

static HWND FindVisibleDialog(const char* title)
{
    for (HWND w = FindWindowExA(nullptr, nullptr, "#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title))
        if (IsWindowVisible(w)) return w;
    return nullptr;
}

template <typename Condition>
static bool WaitFor(Condition condition, DWORD timeoutMs)
{
    for (const DWORD start = GetTickCount(); GetTickCount() - start < timeoutMs; Sleep(100))
        if (condition()) return true;
    return condition();
}

static int Open()
{
    HWND main = nullptr;
    if (!WaitFor([&] { return (main = FindVisibleDialog("Halvorn")) != nullptr; }, 60000)) {
        printf("report_probe: the main dialog did not show\n");
        return 1;
    }
    PostMessageA(main, WM_COMMAND, IDC_MAIN_STATUS, 0);
    if (!WaitFor([] { return FindVisibleDialog("Status Report") != nullptr; }, 60000)) {
        printf("report_probe: the status report did not open\n");
        return 1;
    }
    printf("report_probe: status report open\n");
    return 0;
}

static int Close()
{
    HWND main = FindWindowA("PANDREL", nullptr);
    DWORD id = 0;
    GetWindowThreadProcessId(main, &id);
    HANDLE process = id ? OpenProcess(SYNCHRONIZE, FALSE, id) : nullptr;
    if (!main || !process) {
        printf("report_probe: no running program to close\n");
        return 1;
    }
    PostMessageA(main, WM_CLOSE, 0, 0);
    const bool ended = WaitForSingleObject(process, 60000) == WAIT_OBJECT_0;
    CloseHandle(process);
    printf(ended ? "report_probe: program closed\n" : "report_probe: the program did not end\n");
    return ended ? 0 : 1;
}

typedef LONG(WINAPI* QuerySystemInformation)(ULONG, PVOID, ULONG, PULONG);

static int PrintHandles()
{
    const auto query = reinterpret_cast<QuerySystemInformation>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    if (!query) return 1;
    std::vector<unsigned char> buffer(1 << 20);
    for (;;) {
        ULONG needed = 0;
        const LONG status = query(5, buffer.data(), ULONG(buffer.size()), &needed);  // the process list
        if (status == LONG(0xC0000004)) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 65536));
            continue;
        }
        if (status != 0) return 1;
        break;
    }
    for (size_t offset = 0;;) {
        const auto* record = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        char name[MAX_PATH] = "";
        if (record->ImageName.Buffer)
            WideCharToMultiByte(CP_ACP, 0, record->ImageName.Buffer, record->ImageName.Length / sizeof(WCHAR), name,
                                sizeof name - 1, nullptr, nullptr);
        if (_stricmp(name, "halvorn.exe") == 0 || _stricmp(name, "res16.exe") == 0)
            printf("%s %lu %lu\n", name, static_cast<unsigned long>(reinterpret_cast<ULONG_PTR>(record->UniqueProcessId)),
                   static_cast<unsigned long>(record->HandleCount));
        if (record->NextEntryOffset == 0) break;
        offset += record->NextEntryOffset;
    }
    return 0;
}

int main(int argc, char** argv)
{
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc == 2 && strcmp(argv[1], "open") == 0) return Open();
    if (argc == 2 && strcmp(argv[1], "close") == 0) return Close();
    if (argc == 2 && strcmp(argv[1], "handles") == 0) return PrintHandles();
    printf("usage: report_probe.exe open|close|handles\n");
    return 2;
}
