// File services against Wine's real file system: whole-file reads and their boxes, file
// queries, text searches in files, file dates and program kinds with their time stamps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "box_watcher.h"
#include "services/executable_header.h"
#include "services/executable_kind.h"
#include "services/files.h"
#include "wine_env.h"

namespace {

const char kOpenFailedText[] =
    "Unable to open file due to error. If you are running from a floppy disk your disk may be write "
    "protected. Or your hard disk may be full.";
const char kReadFailedCaption[] = "An attempt to read your hard disk failed!";

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

}  // namespace

TEST_F(Files, ReadWholeFileOfAMissingOrEmptyFileIsNullWithoutABox)
{
    Write("empty.txt", "");
    BoxWatcher boxes;
    for (const std::string name : {"empty.txt", "missing.txt"}) {
        SCOPED_TRACE(name);
        DWORD bytesRead = 77;
        EXPECT_EQ(ReadWholeFile(At(name).c_str(), &bytesRead), nullptr);
        EXPECT_EQ(bytesRead, 0u);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Files, ReadWholeFileHoldsTheContentFollowedByFiveNuls)
{
    std::string content = "[boot]\r\nshell=Explorer.exe\r\n";
    content += std::string("\0\x01\xFF", 3);
    content += std::string(5000, 'x');
    Write("system.ini", content);
    BoxWatcher boxes;
    DWORD bytesRead = 0;
    char* block = ReadWholeFile(At("system.ini").c_str(), &bytesRead);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(bytesRead, content.size());
    EXPECT_GE(GlobalSize(block), content.size() + 5);
    EXPECT_EQ(std::string(block, content.size()), content);
    EXPECT_EQ(std::string(block + content.size(), 5), std::string(5, '\0'));
    GlobalFree(block);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(Files, ReadWholeFileOfAFileThatWillNotOpenShowsTheErrorBox)
{
    Write("locked.dat", "0123456789");
    HANDLE holder = CreateFileA(At("locked.dat").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    BoxWatcher boxes;
    DWORD bytesRead = 77;
    char* block = ReadWholeFile(At("locked.dat").c_str(), &bytesRead);
    CloseHandle(holder);
    ASSERT_NE(block, nullptr);  // the empty block still comes back
    EXPECT_EQ(bytesRead, 0u);
    EXPECT_EQ(std::string(block, 15), std::string(15, '\0'));
    GlobalFree(block);
    auto seen = boxes.Boxes();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Error!");
    EXPECT_EQ(seen[0].text, kOpenFailedText);
}

// A read that brings nothing happens when the file is emptied between being found and
// being read. A host shell empties and refills the file as fast as it can (outside Wine,
// so no sharing rule stops it) until the reader has met that moment.
TEST_F(Files, ReadWholeFileOfAFileEmptiedAfterItWasFoundShowsTheReadBox)
{
    const std::string path = At("flicker.txt");
    std::string unixPath = path.substr(2);  // test folders are on Z:, the host's root
    for (char& c : unixPath) c = c == '\\' ? '/' : c;
    const std::string stop = unixPath + ".stop";
    // The loop removes the stop file when it ends, so the test can wait for its end.
    ASSERT_TRUE(RunHostCommand("timeout 60 sh -c 'while [ ! -e " + stop + " ]; do : > " + unixPath +
                               "; printf 0123456789 > " + unixPath + "; done; rm -f " + stop +
                               "' >/dev/null 2>&1 &"));
    BoxWatcher boxes;
    SeenBox readBox;
    bool met = false;
    int reads = 0;
    for (const DWORD start = GetTickCount(); !met && GetTickCount() - start < 20000; ++reads) {
        const size_t before = boxes.Boxes().size();
        DWORD bytesRead = 77;
        char* block = ReadWholeFile(path.c_str(), &bytesRead);
        const auto seen = boxes.Boxes();
        if (seen.size() > before) {
            met = true;
            readBox = seen.back();
            EXPECT_NE(block, nullptr);
            EXPECT_EQ(bytesRead, 0u);
        } else if (block) {
            EXPECT_EQ(std::string(block, bytesRead), "0123456789");
        } else {
            EXPECT_EQ(bytesRead, 0u);
        }
        if (block) GlobalFree(block);
    }
    WriteWholeFile(UnixToWindowsPath(stop), "", 0);
    for (const DWORD start = GetTickCount(); PathExists(UnixToWindowsPath(stop)) && GetTickCount() - start < 5000;) Sleep(10);
    EXPECT_FALSE(PathExists(UnixToWindowsPath(stop))) << "the host loop did not end";
    ASSERT_TRUE(met) << "no read met an emptied file in " << reads << " reads";
    EXPECT_EQ(readBox.caption, kReadFailedCaption);
    EXPECT_EQ(readBox.text, "Disk Read Failed");
    EXPECT_EQ(boxes.Boxes().size(), 1u);
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
        std::string pattern;
        int exists;
        DWORD size;
        const char* name;
    } cases[] = {
        {At("alpha.txt"), 1, 10, "alpha.txt"},
        {At("ALPHA.TXT"), 1, 10, "alpha.txt"},
        {At("*.dat"), 1, 3, "A Long File Name.dat"},
        {At("alpha.*"), 1, 10, "alpha.txt"},
        {At("sub"), 1, 0, "sub"},
        {At("big.bin"), 1, 7, "big.bin"},  // the low 32 bits of the size
        {At("missing.txt"), 0, 0, ""},
        {At("*.none"), 0, 0, ""},
        {At("nofolder\\alpha.txt"), 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(FileExists(c.pattern.c_str()), c.exists);
        EXPECT_EQ(FileSizeOf(c.pattern.c_str()), c.size);
        EXPECT_STREQ(FirstMatchName(c.pattern.c_str()), c.name);
    }
    EXPECT_EQ(FirstMatchName(At("alpha.txt").c_str()), FirstMatchName(At("missing").c_str()));  // one static buffer
}

TEST(SystemFileExists, LooksInTheSystemAndWindowsFolders)
{
    EXPECT_EQ(SystemFileExists("kernel32.dll", kInSystemDirectory), 1);
    EXPECT_EQ(SystemFileExists("KERNEL32.DLL", kInSystemDirectory), 1);
    EXPECT_EQ(SystemFileExists("halvorn-none.dll", kInSystemDirectory), 0);
    EXPECT_EQ(SystemFileExists("win.ini", kInWindowsDirectory), 1);
    EXPECT_EQ(SystemFileExists("kernel32.dll", kInWindowsDirectory), 0);
    EXPECT_EQ(SystemFileExists("win.ini", 0), 0);
    EXPECT_EQ(SystemFileExists("win.ini", 5), 0);

    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const std::string iosubsys = std::string(system) + "\\IOSUBSYS";
    CreateDirectoryA(iosubsys.c_str(), nullptr);
    ASSERT_TRUE(WriteWholeFile(iosubsys + "\\halvorn.vxd", "x", 1));
    EXPECT_EQ(SystemFileExists("halvorn.vxd", kInIosubsys), 1);
    EXPECT_EQ(SystemFileExists("halvorn.vxd", kInSystemDirectory), 0);
    EXPECT_EQ(SystemFileExists("other.vxd", kInIosubsys), 0);
    DeleteFileA((iosubsys + "\\halvorn.vxd").c_str());
    EXPECT_EQ(SystemFileExists(std::string(300, 'n').c_str(), kInIosubsys), 0);  // too long for a path
}

TEST(SystemFileExists, CountsTheDrivesFromCToZThatHoldTheFile)
{
    const char name[] = "HALVORN-PROBE.TXT";
    EXPECT_EQ(SystemFileExists(name, kInEveryDriveRoot), 0);
    struct Step {
        const char* root;
        int count;  // drives C: to Z: holding the file once it is also on root
    } steps[] = {
        {"D:\\", 1},  // fixed
        {"C:\\", 2},  // fixed
        {"E:\\", 3},  // CD-ROM: the type is not asked
        {"A:\\", 3},  // floppy: before C:, never looked at
    };
    std::vector<std::string> made;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.root);
        made.push_back(std::string(step.root) + name);
        ASSERT_TRUE(WriteWholeFile(made.back(), "x", 1));
        EXPECT_EQ(SystemFileExists(name, kInEveryDriveRoot), step.count);
    }
    for (const std::string& path : made) DeleteFileA(path.c_str());
    EXPECT_EQ(SystemFileExists(name, kInEveryDriveRoot), 0);
}

TEST_F(Files, TextSearchesReadConfigFilesInUpperCase)
{
    Write("config.sys",
          "REM DEVICE=C:\\DOS\\EMM386.EXE\r\n"
          "; device=c:\\dos\\ramdrive.sys\r\n"
          "   rem DEVICE=C:\\DOS\\SMARTDRV.EXE /double_buffer\r\n"
          "device=c:\\windows\\himem.sys\r\n"
          "FILES=30\r\n"
          "Buffers=20");
    struct Case {
        const char* text;
        int contains;
        int active;
    } cases[] = {
        {"EMM386", 1, 0},      // only in a REM line
        {"RAMDRIVE", 1, 0},    // only in a ";" line
        {"SMARTDRV", 1, 1},    // spaces before REM: active
        {"HIMEM.SYS", 1, 1},   // lower case in the file
        {"himem.sys", 1, 0},   // an active-line text is upper case
        {"FILES=30 ", 1, 1},   // the carriage return reads as a space
        {"30 \nBUF", 1, 0},    // across lines only for the plain search
        {"BUFFERS=20", 1, 1},  // last line without a line feed
        {"NOT THERE", 0, 0},
    };
    BoxWatcher boxes;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FileContainsText(At("config.sys").c_str(), c.text), c.contains);
        EXPECT_EQ(ConfigHasActiveLine(At("config.sys").c_str(), c.text), c.active);
    }
    Write("empty.sys", "");
    for (const std::string name : {"empty.sys", "missing.sys"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(FileContainsText(At(name).c_str(), ""), 0);
        EXPECT_EQ(ConfigHasActiveLine(At(name).c_str(), ""), 0);
    }
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST(FileDateText, PrintsMonthDayAndYearLess1900)
{
    auto timeOf = [](WORD year, WORD month, WORD day, WORD hour) {
        SYSTEMTIME s = {};
        s.wYear = year;
        s.wMonth = month;
        s.wDay = day;
        s.wHour = hour;
        FILETIME f = {};
        SystemTimeToFileTime(&s, &f);
        return f;
    };
    struct Case {
        const char* name;
        FILETIME time;
        const char* text;
    } cases[] = {
        {"2000-01-01", timeOf(2000, 1, 1, 0), "01/01/100"},
        {"1999-12-31 late", timeOf(1999, 12, 31, 23), "12/31/99"},
        {"1995-08-24", timeOf(1995, 8, 24, 12), "08/24/95"},
        {"zero", FILETIME{0, 0}, "00/00/00"},
        {"low half zero", FILETIME{0, 0x01C00000}, "00/00/00"},
        {"high half zero", FILETIME{0x12345678, 0}, "00/00/00"},
        {"beyond conversion", FILETIME{1, 0x80000000u}, "00/00/00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(FileDateText(c.time), c.text);
    }
}

namespace {

struct FileTimes {
    FILETIME created, accessed, written;
};

bool ReadTimes(const std::string& path, FileTimes* times)
{
    HANDLE file = CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileTime(file, &times->created, &times->accessed, &times->written) != 0;
    CloseHandle(file);
    return ok;
}

// Old, distinct last-access and last-write times, so that a read moves the access time.
bool SetOldTimes(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const FILETIME accessed = {0x11111100, 0x01C0A000};  // 2000
    const FILETIME written = {0x22222200, 0x01C1C000};   // 2002
    const bool ok = SetFileTime(file, nullptr, &accessed, &written) != 0;
    CloseHandle(file);
    return ok;
}

std::string Show(const FILETIME& t)
{
    return std::to_string((unsigned long long)t.dwHighDateTime << 32 | t.dwLowDateTime);
}

testing::AssertionResult SameTimes(const FileTimes& before, const FileTimes& after)
{
    const char* names[] = {"creation", "last-access", "last-write"};
    const FILETIME* was[] = {&before.created, &before.accessed, &before.written};
    const FILETIME* is[] = {&after.created, &after.accessed, &after.written};
    for (int i = 0; i < 3; ++i) {
        if (CompareFileTime(was[i], is[i]) != 0)
            return testing::AssertionFailure() << names[i] << " time was " << Show(*was[i]) << ", is " << Show(*is[i]);
    }
    return testing::AssertionSuccess();
}

// Writes a little-endian word where it fits in the file.
void PutWord(std::vector<unsigned char>& file, size_t at, unsigned value)
{
    if (at < file.size()) file[at] = uint8_t(value);
    if (at + 1 < file.size()) file[at + 1] = uint8_t(value >> 8);
}

// A program file: an "MZ" head with the given relocation table offset and new-header
// offset, and, unless signature is null, at newHeaderAt a new header with that signature,
// the module flags, a non-resident name table and the target system, as far as it fits.
std::vector<unsigned char> ProgramFile(unsigned relocation, uint32_t newHeaderOffset, size_t newHeaderAt,
                                       const char* signature, unsigned flags, unsigned targetSystem, size_t length)
{
    std::vector<unsigned char> file(length, 0);
    PutWord(file, 0, 'M' | 'Z' << 8);
    PutWord(file, 0x18, relocation);
    PutWord(file, 0x3C, newHeaderOffset & 0xFFFF);
    PutWord(file, 0x3E, newHeaderOffset >> 16);
    if (signature) {
        PutWord(file, newHeaderAt, unsigned(signature[0]) | unsigned(signature[1]) << 8);
        PutWord(file, newHeaderAt + 0x0C, flags);
        PutWord(file, newHeaderAt + 0x20, 0x10);
        PutWord(file, newHeaderAt + 0x36, targetSystem);
    }
    return file;
}

const unsigned kApplication = 0x0302;  // multiple data segments, Windows API
const unsigned kLibrary = 0x8302;
const unsigned kWindowsTarget = 2;
const unsigned kOs2Target = 1;

}  // namespace

TEST_F(Files, ExecutableKindClassifiesProgramsAndKeepsTheirTimes)
{
    // The "PE" case is a copy of this test program, running (suspended) while it is looked
    // at: its file then refuses write access, and its times must still be put back.
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    ASSERT_TRUE(CopyFileA(self, At("pe.exe").c_str(), FALSE));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION running = {};
    ASSERT_TRUE(CreateProcessA(At("pe.exe").c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                               &startup, &running));
    HANDLE writer = CreateFileA(At("pe.exe").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    EXPECT_EQ(writer, INVALID_HANDLE_VALUE) << "the running program's file opened for writing";
    if (writer != INVALID_HANDLE_VALUE) CloseHandle(writer);
    struct Case {
        const char* name;
        std::vector<unsigned char> content;
        int kind;
    } cases[] = {
        {"pe.exe", {}, kPortableExecutable},
        {"app.exe", ProgramFile(0x40, 0x80, 0x80, "NE", kApplication, kWindowsTarget, 0x200), kWindows16Application},
        {"lib.dll", ProgramFile(0x40, 0x80, 0x80, "NE", kLibrary, kWindowsTarget, 0x200), kNotWindowsProgram},
        {"dos.exe", ProgramFile(0x1C, 0x80, 0x80, "NE", kApplication, kWindowsTarget, 0x200), kNotWindowsProgram},
        {"os2.exe", ProgramFile(0x40, 0x80, 0x80, "NE", kApplication, kOs2Target, 0x200), kNotWindowsProgram},
        {"beyond.exe", ProgramFile(0x40, 0x10000, 0, nullptr, 0, 0, 0x200), kNotWindowsProgram},
        // A negative offset cannot be sought; the application header at 1024, where a
        // read would go on from after the head, must not be taken for it.
        {"negative.exe", ProgramFile(0x40, 0xFFFFFF00u, 1024, "NE", kApplication, kWindowsTarget, 0x600),
         kNotWindowsProgram},
    };
    BoxWatcher boxes;
    FileTimes before, after;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = At(c.name);
        if (!c.content.empty()) ASSERT_TRUE(WriteWholeFile(path, c.content.data(), c.content.size()));
        ASSERT_TRUE(SetOldTimes(path) && ReadTimes(path, &before));
        EXPECT_EQ(ExecutableKind(path.c_str()), c.kind);
        ASSERT_TRUE(ReadTimes(path, &after));
        EXPECT_TRUE(SameTimes(before, after));
    }
    EXPECT_EQ(ExecutableKind(At("missing.exe").c_str()), kNotWindowsProgram);
    EXPECT_TRUE(boxes.Boxes().empty());
    TerminateProcess(running.hProcess, 0);
    WaitForSingleObject(running.hProcess, 10000);
    CloseHandle(running.hThread);
    CloseHandle(running.hProcess);

    // The time checks prove something only where a plain read moves the access time.
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(SetOldTimes(At("app.exe")) && ReadTimes(At("app.exe"), &before));
    ASSERT_TRUE(ReadWholeFileBytes(At("app.exe"), &bytes));
    ASSERT_TRUE(ReadTimes(At("app.exe"), &after));
    EXPECT_FALSE(SameTimes(before, after)) << "a read does not move the last-access time on this file system";
}
