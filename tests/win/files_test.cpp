// File services against Wine's real file system: whole-file reads and their boxes, file
// queries, text searches in files, file dates and program kinds with their time stamps.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "box_watcher.h"
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

TEST_F(Files, ReadWholeFileHoldsTheContentAndFiveNulsOrSaysWhyNot)
{
    const std::string content = std::string("[boot]\r\nshell=Explorer.exe\r\n\0\x01\xFF", 31) + std::string(5000, 'x');
    Write("system.ini", content);
    Write("empty.txt", "");
    Write("locked.dat", "0123456789");
    // Held open without sharing, the file is found but will not open.
    HANDLE holder = CreateFileA(At("locked.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        bool hasBlock;
        std::string content;
        const char* box;
    } cases[] = {
        {"missing.txt", false, "", ""},
        {"empty.txt", false, "", ""},
        {"system.ini", true, content, ""},
        {"locked.dat", true, "",
         "Error!|Unable to open file due to error. If you are running from a floppy disk your disk may be write "
         "protected. Or your hard disk may be full."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BoxWatcher boxes;
        DWORD bytesRead = 77;
        char* block = ReadWholeFile(At(c.name).c_str(), &bytesRead);
        ASSERT_EQ(block != nullptr, c.hasBlock);
        EXPECT_EQ(bytesRead, c.content.size());
        if (block) {
            EXPECT_GE(GlobalSize(block), c.content.size() + 5);
            EXPECT_EQ(std::string(block, c.content.size() + 5), c.content + std::string(5, '\0'));
            GlobalFree(block);
        }
        const std::vector<SeenBox> seen = boxes.Boxes();
        EXPECT_EQ(seen.empty() ? "" : seen[0].caption + "|" + seen[0].text, c.box);
        EXPECT_LE(seen.size(), 1u);
    }
    CloseHandle(holder);
}

TEST_F(Files, QueriesFindTheFirstMatch)
{
    Write("alpha.txt", "0123456789");
    Write("A Long File Name.dat", "abc");
    CreateDirectoryA(At("sub").c_str(), nullptr);
    // A sparse file of 4 GB and 7 bytes, which takes no room on the host.
    HANDLE big = CreateFileA(At("big.bin").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER length;
    length.QuadPart = 0x100000007LL;
    ASSERT_TRUE(SetFilePointerEx(big, length, nullptr, FILE_BEGIN) && SetEndOfFile(big));
    CloseHandle(big);
    struct Case {
        const char* pattern;
        int exists;
        DWORD size;
        const char* name;
    } cases[] = {
        {"ALPHA.TXT", 1, 10, "alpha.txt"}, {"*.dat", 1, 3, "A Long File Name.dat"}, {"sub", 1, 0, "sub"},
        {"big.bin", 1, 7, "big.bin"},      {"*.none", 0, 0, ""},                    {"nofolder\\alpha.txt", 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FileExists(At(c.pattern).c_str()), c.exists);
        EXPECT_EQ(FileSizeOf(At(c.pattern).c_str()), c.size);  // the low 32 bits
        EXPECT_STREQ(FirstMatchName(At(c.pattern).c_str()), c.name);
    }
}

TEST(SystemFileExists, LooksInItsPlaceAndCountsDriveRootsFromC)
{
    EXPECT_EQ(SystemFileExists("KERNEL32.DLL", kInSystemDirectory), 1);
    EXPECT_EQ(SystemFileExists("kernel32.dll", kInWindowsDirectory), 0);
    EXPECT_EQ(SystemFileExists("win.ini", kInWindowsDirectory), 1);
    EXPECT_EQ(SystemFileExists("win.ini", 5), 0);
    EXPECT_EQ(SystemFileExists(std::string(300, 'n').c_str(), kInIosubsys), 0);  // too long for a path
    // Drive roots C: to Z: count whatever their type; A: comes before C:.
    const char name[] = "HALVORN-PROBE.TXT";
    int count = 0;
    for (const char* root : {"D:\\", "C:\\", "E:\\", "A:\\"}) {
        ASSERT_TRUE(WriteWholeFile(std::string(root) + name, "x", 1));
        count += root[0] != 'A';
        EXPECT_EQ(SystemFileExists(name, kInEveryDriveRoot), count) << "with " << root;
    }
    for (const char* root : {"D:\\", "C:\\", "E:\\", "A:\\"}) DeleteFileA((std::string(root) + name).c_str());
}

TEST(FileDateText, PrintsTheUtcDateOrZerosForAnUnusableTime)
{
    SYSTEMTIME late = {1999, 12, 0, 31, 23, 59, 0, 0};
    FILETIME lateTime = {};
    SystemTimeToFileTime(&late, &lateTime);
    EXPECT_STREQ(FileDateText(lateTime), "12/31/99");
    for (FILETIME unusable : {FILETIME{0, 0x01C00000}, FILETIME{0x12345678, 0}, FILETIME{1, 0x80000000u}})
        EXPECT_STREQ(FileDateText(unusable), "00/00/00") << unusable.dwLowDateTime << " " << unusable.dwHighDateTime;
}

// The creation, last-access and last-write times of a file, as text that shows a change.
std::string TimesOf(const std::string& path)
{
    FILETIME t[3] = {};
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, &t[0], &t[1], &t[2]);
    CloseHandle(file);
    char text[96];
    snprintf(text, sizeof text, "created %08lx%08lx accessed %08lx%08lx written %08lx%08lx", t[0].dwHighDateTime,
             t[0].dwLowDateTime, t[1].dwHighDateTime, t[1].dwLowDateTime, t[2].dwHighDateTime, t[2].dwLowDateTime);
    return text;
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
// new-header offset, and, unless signature is null, a new header at newHeaderAt with that
// signature, the module flags, a non-resident name table and the target system.
std::vector<unsigned char> ProgramFile(unsigned relocation, uint32_t newHeaderOffset, size_t newHeaderAt,
                                       const char* signature, unsigned flags = 0, unsigned targetSystem = 0)
{
    std::vector<unsigned char> file(0x600, 0);
    auto put = [&](size_t at, unsigned value) {
        file[at] = uint8_t(value);
        file[at + 1] = uint8_t(value >> 8);
    };
    put(0, 'M' | 'Z' << 8);
    put(0x18, relocation);
    put(0x3C, newHeaderOffset & 0xFFFF);
    put(0x3E, newHeaderOffset >> 16);
    if (signature) {
        put(newHeaderAt, unsigned(signature[0]) | unsigned(signature[1]) << 8);
        put(newHeaderAt + 0x0C, flags);
        put(newHeaderAt + 0x20, 0x10);
        put(newHeaderAt + 0x36, targetSystem);
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
    const unsigned kApplication = 0x0302, kLibrary = 0x8302, kWindows = 2, kOs2 = 1;
    struct Case {
        const char* name;
        std::vector<unsigned char> content;
        int kind;
    } cases[] = {
        {"pe.exe", {}, kPortableExecutable},
        {"app.exe", ProgramFile(0x40, 0x80, 0x80, "NE", kApplication, kWindows), kWindows16Application},
        {"lib.dll", ProgramFile(0x40, 0x80, 0x80, "NE", kLibrary, kWindows), kNotWindowsProgram},
        {"dos.exe", ProgramFile(0x1C, 0x80, 0x80, "NE", kApplication, kWindows), kNotWindowsProgram},
        {"os2.exe", ProgramFile(0x40, 0x80, 0x80, "NE", kApplication, kOs2), kNotWindowsProgram},
        {"beyond.exe", ProgramFile(0x40, 0x10000, 0, nullptr), kNotWindowsProgram},
        // A negative offset cannot be sought; the application header at 1024, where a
        // read would go on from after the head, must not be taken for it.
        {"negative.exe", ProgramFile(0x40, 0xFFFFFF00u, 1024, "NE", kApplication, kWindows), kNotWindowsProgram},
    };
    BoxWatcher boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (!c.content.empty()) ASSERT_TRUE(WriteWholeFile(At(c.name), c.content.data(), c.content.size()));
        SetOldTimes(At(c.name));
        const std::string before = TimesOf(At(c.name));
        EXPECT_EQ(ExecutableKind(At(c.name).c_str()), c.kind);
        EXPECT_EQ(TimesOf(At(c.name)), before);
    }
    EXPECT_EQ(ExecutableKind(At("missing.exe").c_str()), kNotWindowsProgram);
    EXPECT_TRUE(boxes.Boxes().empty());
    EndHelperProcess(&running);

    // The time checks prove something only where a plain read moves the access time.
    std::vector<unsigned char> bytes;
    SetOldTimes(At("app.exe"));
    const std::string before = TimesOf(At("app.exe"));
    ASSERT_TRUE(ReadWholeFileBytes(At("app.exe"), &bytes));
    EXPECT_NE(TimesOf(At("app.exe")), before) << "a read does not move the last-access time on this file system";
}

}  // namespace
