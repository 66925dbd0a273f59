// File services against Wine's real file system: whole-file reads, a system file query, and
// program kinds with their time stamps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "box_watcher.h"
#include "checks/file_check_rules.h"
#include "services/executable_header.h"
#include "services/executable_kind.h"
#include "services/files.h"
#include "test_windows.h"
#include "wine_env.h"

namespace {

class Files : public testing::Test {
protected:
    void SetUp() override
    {
        folder = FreshTestFolder(std::string("files_") + testing::UnitTest::GetInstance()->current_test_info()->name());
    }
    std::string At(const std::string& name) const { return folder + "\\" + name; }
    void Write(const std::string& name, const std::string& content) const
    {
        ASSERT_TRUE(WriteWholeFile(At(name), content.data(), content.size()));
    }
    std::string folder;
};

TEST_F(Files, ReadWholeFileHoldsTheContentAndFiveNulsOrNothing)
{
    const std::string content = std::string("[boot]\r\n\0\x01\xFF", 11) + std::string(5000, 'x');
    Write("system.ini", content);
    Write("empty.txt", "");
    BoxWatcher boxes;
    for (const char* name : {"missing.txt", "empty.txt", "system.ini"}) {
        SCOPED_TRACE(name);
        const std::string expected = strcmp(name, "system.ini") ? "" : content;
        DWORD bytesRead = 77;
        char* block = ReadWholeFile(At(name).c_str(), &bytesRead);
        ASSERT_EQ(block != nullptr, !expected.empty());
        EXPECT_EQ(bytesRead, expected.size());
        if (block) EXPECT_GE(GlobalSize(block), expected.size() + 5);
        if (block) EXPECT_EQ(std::string(block, expected.size() + 5), expected + std::string(5, '\0'));
        GlobalFree(block);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(SystemFileExists, FindsASystemFileAndRefusesANameTooLongForAPath)
{
    EXPECT_EQ(SystemFileExists("KERNEL32.DLL", kInSystemDirectory), 1);
    EXPECT_EQ(SystemFileExists(std::string(300, 'n').c_str(), kInIosubsys), 0);
}

// The lookup that lists each folder once gives SystemFileExists' answers: for every row of
// the system file report, in any case, by 8.3 name, for a folder that is missing and for a
// name too long for a path.
TEST(SystemFileExists, ListingLookupAnswersAsEachNameWouldBeAsked)
{
    char windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    const std::string probe = std::string(windows) + "\\Halvorn Lookup Probe.txt";
    ASSERT_TRUE(WriteWholeFile(probe, "x", 1));
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(probe.c_str(), &found);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    FindClose(find);

    SystemFileLookup lookup;
    std::vector<std::pair<std::string, int>> asked = {
        {"halvorn lookup PROBE.TXT", kInWindowsDirectory}, {"Halvorn Lookup Probe", kInWindowsDirectory},
        {"kernel32.dll", kInSystemDirectory}, {"KERNEL32.DLL", kInWindowsDirectory}, {"NOT-THERE.SYS", kInSystemDirectory},
        {std::string(300, 'n'), kInWindowsDirectory}, {"ESDI_506.PDR", kInIosubsys}, {"EXPLORER.EXE", 7}};
    if (found.cAlternateFileName[0]) asked.push_back({found.cAlternateFileName, kInWindowsDirectory});
    for (int i = 0; i < kSystemFileRowCount; ++i)
        if (kSystemFileRows[i].place != 0) asked.push_back({kSystemFileRows[i].text, kSystemFileRows[i].place});
    for (const auto& question : asked)
        EXPECT_EQ(lookup.Count(question.first.c_str(), question.second),
                  SystemFileExists(question.first.c_str(), question.second))
            << question.first << " in place " << question.second;
    EXPECT_EQ(lookup.Count("HALVORN LOOKUP PROBE.TXT", kInWindowsDirectory), 1);
    EXPECT_EQ(lookup.Count("Halvorn Lookup Probe.txt", kInEveryDriveRoot), 0);
    DeleteFileA(probe.c_str());
}

// The creation, last-access and last-write times of a file.
std::vector<uint64_t> TimesOf(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    std::vector<uint64_t> times;
    for (const FILETIME& t : {data.ftCreationTime, data.ftLastAccessTime, data.ftLastWriteTime})
        times.push_back(uint64_t(t.dwHighDateTime) << 32 | t.dwLowDateTime);
    return times;
}

// Old, distinct last-access (2000) and last-write (2002) times, so a read moves the first.
void SetOldTimes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    const FILETIME accessed = {0x11111100, 0x01C0A000}, written = {0x22222200, 0x01C1C000};
    EXPECT_TRUE(SetFileTime(file, nullptr, &accessed, &written)) << path;
    CloseHandle(file);
}

// A program file of 0x600 bytes: an "MZ" head with the given relocation table offset and
// new-header offset and, when flags is not 0, a Windows "NE" header at newHeaderAt with those
// module flags and a non-resident name table.
std::vector<unsigned char> ProgramFile(unsigned relocation, uint32_t newHeaderOffset, size_t newHeaderAt = 0,
                                       unsigned flags = 0)
{
    std::vector<unsigned char> file(0x600, 0);
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = uint8_t(value >> (8 * i));
    };
    put(0, 'M' | 'Z' << 8, 2);
    put(0x18, relocation, 2);
    put(0x3C, newHeaderOffset, 4);
    if (flags) {
        put(newHeaderAt, 'N' | 'E' << 8, 2);
        put(newHeaderAt + 0x0C, flags, 2);
        put(newHeaderAt + 0x20, 0x10, 2);
        put(newHeaderAt + 0x36, 2, 2);  // target system: Windows
    }
    return file;
}

TEST_F(Files, ExecutableKindClassifiesProgramsAndKeepsTheirTimes)
{
    // The "PE" case is a copy of this test program, running (suspended) while it is looked
    // at: its file then refuses write access, and its times must still be put back.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    ASSERT_TRUE(CopyFileA(self, At("pe.exe").c_str(), FALSE));
    PROCESS_INFORMATION running;
    ASSERT_TRUE(StartProcess("\"" + At("pe.exe") + "\"", &running, CREATE_SUSPENDED));
    HANDLE writer = CreateFileA(At("pe.exe").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "the running program's file opened for writing";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    const unsigned kApplication = 0x0302, kLibrary = 0x8302;
    struct Case { const char* name; std::vector<unsigned char> content; int kind; } cases[] = {
        {"pe.exe", {}, kPortableExecutable},
        {"app.exe", ProgramFile(0x40, 0x80, 0x80, kApplication), kWindows16Application},
        {"lib.dll", ProgramFile(0x40, 0x80, 0x80, kLibrary), kNotWindowsProgram},
        {"dos.exe", ProgramFile(0x1C, 0x80, 0x80, kApplication), kNotWindowsProgram},
        {"beyond.exe", ProgramFile(0x40, 0x10000), kNotWindowsProgram},
        // A negative offset cannot be sought; the application header at 1024, where a
        // read would go on from after the head, must not be taken for it.
        {"negative.exe", ProgramFile(0x40, 0xFFFFFF00u, 1024, kApplication), kNotWindowsProgram},
    };
    BoxWatcher boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.content.empty()) ASSERT_TRUE(WriteWholeFile(At(c.name), c.content.data(), c.content.size()));
        SetOldTimes(At(c.name));
        const std::vector<uint64_t> before = TimesOf(At(c.name));
        EXPECT_EQ(ExecutableKind(At(c.name).c_str()), c.kind);
        EXPECT_EQ(TimesOf(At(c.name)), before);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
    EndHelperProcess(&running);
    // The time checks prove something only where a plain read moves the access time.
    std::vector<unsigned char> bytes;
    SetOldTimes(At("app.exe"));
    const std::vector<uint64_t> before = TimesOf(At("app.exe"));
    ASSERT_TRUE(ReadWholeFileBytes(At("app.exe"), &bytes));
    EXPECT_NE(TimesOf(At("app.exe")), before) << "a read does not move the last-access time on this file system";
}

}  // namespace
