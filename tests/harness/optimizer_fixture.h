// The hardware optimizer's fixture Windows 95 machine for the Win32 and end-to-end tests: its
// device tree and file-system keys imported from a .reg, and its system.ini, win.ini and
// c:\msdos.sys (read-only, hidden, system) put in place. Callers save what it overwrites.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "test_windows.h"
#include "wine_env.h"

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
