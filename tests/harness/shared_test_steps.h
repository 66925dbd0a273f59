// Steps several Win32 and end-to-end tests share: choosing a list box line as a user would,
// the PDF print queue's output, and the hardware optimizer's fixture Windows 95 machine.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "test_windows.h"
#include "wine_env.h"

// Selects line index of a dialog's list box and tells the dialog, as a click on it does; in
// this process or another.
inline void ChooseListItem(HWND dialog, int listId, int index)
{
    HWND list = GetDlgItem(dialog, listId);
    SendWithTimeout(list, LB_SETCURSEL, WPARAM(index));
    SendWithTimeout(dialog, WM_COMMAND, MAKEWPARAM(listId, LBN_SELCHANGE), LPARAM(list), 15000);
}

// The PDFs the print queue has written into pdfDir (Unix paths).
inline std::vector<std::string> PrintedPdfs(const std::string& pdfDir)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(UnixToWindowsPath(pdfDir + "/*.pdf").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        names.push_back(pdfDir + "/" + found.cFileName);
    FindClose(search);
    return names;
}

// Jobs the print server has seen, finished ones included; -1 when it cannot be asked.
inline int PrintJobCount(const std::string& pdfDir)
{
    std::vector<unsigned char> text;
    if (!RunHostCommand("lpstat -W all -o | wc -l > '" + pdfDir + "/jobs.txt'")) return -1;
    ReadWholeFileBytes(UnixToWindowsPath(pdfDir + "/jobs.txt"), &text);
    return atoi(std::string(text.begin(), text.end()).c_str());
}

// The optimizer's fixture machine: its device tree and file-system keys imported from a
// .reg, and its system.ini, win.ini and c:\msdos.sys (read-only, hidden, system) put in
// place. Callers save what it overwrites.
inline constexpr char kMsdosSys[] = "c:\\msdos.sys";
inline constexpr DWORD kBootFileAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

inline std::string WindowsFile(const char* name)
{
    char folder[MAX_PATH];
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\" + name;
}

inline std::string OptimizerFixture(const std::string& name)
{
    const std::string file = __FILE__;
    return UnixToWindowsPath(file.substr(0, file.rfind("harness/")) + "fixtures/optimizer/" + name);
}

inline testing::AssertionResult PlaceOptimizerFixture()
{
    PROCESS_INFORMATION regedit;
    if (!StartProcess("regedit.exe /S \"" + OptimizerFixture("win95.reg") + "\"", &regedit))
        return testing::AssertionFailure() << "regedit did not start";
    EndHelperProcess(&regedit, 30000);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\control\\FileSystem\\CDFS", "CacheSize",
                     RRF_RT_REG_BINARY, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return testing::AssertionFailure() << "the fixture machine was not imported";
    const struct { const char* name; std::string target; } files[] = {
        {"system.ini", WindowsFile("system.ini")}, {"win.ini", WindowsFile("win.ini")}, {"msdos.sys", kMsdosSys}};
    for (const auto& f : files) {
        std::vector<unsigned char> bytes;
        SetFileAttributesA(f.target.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!ReadWholeFileBytes(OptimizerFixture(f.name), &bytes) || !WriteWholeFile(f.target, bytes.data(), bytes.size()))
            return testing::AssertionFailure() << f.target << " was not written";
    }
    if (!SetFileAttributesA(kMsdosSys, kBootFileAttributes)) return testing::AssertionFailure() << "msdos.sys attributes";
    return testing::AssertionSuccess();
}

// The index of the line of a list box (in this process or another) that ends with a tab and
// id, as the process and thread lists name their entries; -1 when there is none.
inline int ListLineOf(HWND list, DWORD id)
{
    const std::string tail = "\t" + std::to_string(id);
    const std::vector<std::string> lines = ListBoxLines(list);
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].size() > tail.size() && lines[i].compare(lines[i].size() - tail.size(), tail.size(), tail) == 0)
            return int(i);
    return -1;
}

// Chooses the line of a dialog's list that names id, as a click does.
inline testing::AssertionResult ChooseListLineOf(HWND dialog, int listId, DWORD id)
{
    const int line = ListLineOf(GetDlgItem(dialog, listId), id);
    if (line < 0) return testing::AssertionFailure() << id << " is not listed in list " << listId;
    ChooseListItem(dialog, listId, line);
    return testing::AssertionSuccess();
}

// The benchmark's temporary files ("mhtest*") in the temporary folder.
inline int MhtestFileCount()
{
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    WIN32_FIND_DATAA found;
    int count = 0;
    HANDLE search = FindFirstFileA((std::string(folder) + "mhtest*").c_str(), &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) ++count;
    FindClose(search);
    return count;
}
