// Steps the tests of the Windows checks share: a report list to run a check into, a report
// line read without its markup, a file's bytes and last-write time, and an equipment record
// of the test's own.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "equipment/equipment_info.h"
#include "shared_test_steps.h"
#include "test_windows.h"
#include "wine_env.h"

// A line without its markup: the underline byte, and each colour code with its letter.
inline std::string Plain(const std::string& line)
{
    std::string text;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\x06') continue;
        if (line[i] >= '\x01' && line[i] <= '\x04') ++i;
        else text += line[i];
    }
    return text;
}

// The value beside label in a report, markup left out; empty when no line has the label.
inline std::string ValueOf(const std::vector<std::string>& lines, const std::string& label)
{
    for (const std::string& line : lines) {
        const std::string plain = Plain(line);
        if (plain.rfind(label + "\t", 0) == 0) return plain.substr(label.size() + 1);
    }
    return "";
}

// A test line as the checks write it.
inline std::string TestLine(const std::string& label, bool passed)
{
    return "\x01" "C" + label + "\t\x01Y" + (passed ? "Passed" : "Failed");
}

// A hidden top-level list box that keeps its strings, for a check to fill.
struct CheckReport {
    CheckReport()
    {
        list = CreateWindowA("LISTBOX", "", WS_POPUP | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr, nullptr, nullptr);
    }
    ~CheckReport() { DestroyWindow(list); }
    // The lines check shows in the emptied list; its result is their count.
    std::vector<std::string> Run(int (*check)(HWND))
    {
        SendMessageA(list, LB_RESETCONTENT, 0, 0);
        const int count = check(list);
        std::vector<std::string> lines = ListBoxLines(list);
        EXPECT_EQ(count, int(lines.size()));
        return lines;
    }
    HWND list;
};

// gEquipmentInfo points at a record of the test's own while this lives.
struct OwnEquipment {
    explicit OwnEquipment(char platform) : saved(gEquipmentInfo)
    {
        info.platform = platform;
        gEquipmentInfo = &info;
    }
    ~OwnEquipment() { gEquipmentInfo = saved; }
    EquipmentInfo info = {};
    EquipmentInfo* saved;
};

// A file's bytes, attributes and last-write time (a folder's attributes and time), "missing"
// when it is not there.
inline std::string FileStamp(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return "missing";
    std::vector<unsigned char> bytes;
    ReadWholeFileBytes(path, &bytes);
    return std::string(bytes.begin(), bytes.end()) + "@" + std::to_string(data.dwFileAttributes) + ":" +
           std::to_string(data.ftLastWriteTime.dwLowDateTime) + ":" + std::to_string(data.ftLastWriteTime.dwHighDateTime);
}

inline bool WriteText(const std::string& path, const std::string& text)
{
    return WriteWholeFile(path, text.data(), text.size());
}
