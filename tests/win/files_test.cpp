// File services against Wine's real file system: whole-file reads and their boxes, file
// queries, file dates, and program kinds with their time stamps.
#include <gtest/gtest.h>

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
    const std::string content = std::string("[boot]\r\n\0\x01\xFF", 11) + std::string(5000, 'x');
    Write("system.ini", content);
    Write("empty.txt", "");
    Write("locked.dat", "0123456789");
    // Held open without sharing, the file is found but will not open.
    HANDLE holder = CreateFileA(At("locked.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    struct Case {
        const char* name;
        bool hasBlock;
        std::string content, box;
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
        if (block) EXPECT_GE(GlobalSize(block), c.content.size() + 5);
        if (block) EXPECT_EQ(std::string(block, c.content.size() + 5), c.content + std::string(5, '\0'));
        GlobalFree(block);
        std::string seen;
        for (const SeenBox& box : boxes.Boxes()) seen += box.caption + "|" + box.text;
        EXPECT_EQ(seen, c.box);
    }
    CloseHandle(holder);
}

TEST(SystemFileExists, LooksInItsPlaceAndCountsDriveRootsFromC)
{
    EXPECT_EQ(SystemFileExists("KERNEL32.DLL", kInSystemDirectory), 1);
    EXPECT_EQ(SystemFileExists("kernel32.dll", kInWindowsDirectory), 0);
    EXPECT_EQ(SystemFileExists("win.ini", kInWindowsDirectory), 1);
    EXPECT_EQ(SystemFileExists("win.ini", 5), 0);
    EXPECT_EQ(SystemFileExists(std::string(300, 'n').c_str(), kInIosubsys), 0);  // too long for a path
    // Drive roots C: to Z: count whatever their type; A: is not among them.
    const std::string probe = "HALVORN-PROBE.TXT";
    for (const char* root : {"D:\\", "E:\\", "A:\\"}) ASSERT_TRUE(WriteWholeFile(root + probe, "x", 1)) << root;
    EXPECT_EQ(SystemFileExists(probe.c_str(), kInEveryDriveRoot), 2);
    for (const char* root : {"D:\\", "E:\\", "A:\\"}) DeleteFileA((root + probe).c_str());
}

// The creation, last-access and last-write times of a file.
std::vector<uint64_t> TimesOf(const std::string& path)
{
    FILETIME t[3] = {};
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, &t[0], &t[1], &t[2]);
    CloseHandle(file);
    std::vector<uint64_t> times;
    for (const FILETIME& time : t) times.push_back(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
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
// new-header offset, and, unless signature is null, a new header at newHeaderAt with that
// signature, the module flags, a non-resident name table and the target system.
std::vector<unsigned char> ProgramFile(unsigned relocation, uint32_t newHeaderOffset, size_t newHeaderAt,
                                       const char* signature, unsigned flags = 0, unsigned targetSystem = 0)
{
    std::vector<unsigned char> file(0x600, 0);
    auto put = [&](size_t at, uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = uint8_t(value >> (8 * i));
    };
    put(0, 'M' | 'Z' << 8, 2);
    put(0x18, relocation, 2);
    put(0x3C, newHeaderOffset, 4);
    if (!signature) return file;
    put(newHeaderAt, unsigned(signature[0]) | unsigned(signature[1]) << 8, 2);
    put(newHeaderAt + 0x0C, flags, 2);
    put(newHeaderAt + 0x20, 0x10, 2);
    put(newHeaderAt + 0x36, targetSystem, 2);
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
        const std::vector<uint64_t> before = TimesOf(At(c.name));
        EXPECT_EQ(ExecutableKind(At(c.name).c_str()), c.kind);
        EXPECT_EQ(TimesOf(At(c.name)), before);
    }
    EXPECT_EQ(ExecutableKind(At("missing.exe").c_str()), kNotWindowsProgram);
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
