#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "services/executable_header.h"

namespace {

std::vector<unsigned char> DosHead(unsigned relocationOffset, uint32_t newHeaderOffset, size_t length = 1024)
{
    std::vector<unsigned char> head(length, 0);
    head[0] = 'M';
    head[1] = 'Z';
    head[0x18] = uint8_t(relocationOffset);
    head[0x19] = uint8_t(relocationOffset >> 8);
    for (int i = 0; i < 4; ++i) head[0x3C + i] = uint8_t(newHeaderOffset >> (8 * i));
    return head;
}

// A new header with the given signature, module flags, non-resident name table size and
// target system byte.
std::vector<unsigned char> NewHeader(const char* signature, unsigned flags, unsigned nonResident, unsigned target)
{
    std::vector<unsigned char> header(64, 0);
    header[0] = uint8_t(signature[0]);
    header[1] = uint8_t(signature[1]);
    header[0x0C] = uint8_t(flags);
    header[0x0D] = uint8_t(flags >> 8);
    header[0x20] = uint8_t(nonResident);
    header[0x21] = uint8_t(nonResident >> 8);
    header[0x36] = uint8_t(target);
    return header;
}

}  // namespace

TEST(FindNewHeaderOffset, AcceptsOnlyAnMzHeadWithRelocationsAt0x40OrLater)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> head;
        bool accepted;
        uint32_t offset;
    } cases[] = {
        {"new-style program", DosHead(0x40, 0x80), true, 0x80},
        {"relocations far out", DosHead(0x1E0, 0x400), true, 0x400},
        {"MS-DOS program", DosHead(0x3F, 0x80), false, 0},
        {"65 bytes", DosHead(0x40, 0x80, 65), true, 0x80},
        {"64 bytes", DosHead(0x40, 0x80, 64), false, 0},
        {"offset 0x7FFFFFFF", DosHead(0x40, 0x7FFFFFFF), true, 0x7FFFFFFF},
        {"negative offset", DosHead(0x40, 0x80000000u), false, 0},
        {"offset -1", DosHead(0x40, 0xFFFFFFFFu), false, 0},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint32_t offset = 99;
        EXPECT_EQ(FindNewHeaderOffset(c.head.data(), c.head.size(), &offset), c.accepted);
        EXPECT_EQ(offset, c.offset);
    }
    std::vector<unsigned char> zm = DosHead(0x40, 0x80);
    zm[0] = 'Z';
    zm[1] = 'M';
    uint32_t offset;
    EXPECT_FALSE(FindNewHeaderOffset(zm.data(), zm.size(), &offset));
}

TEST(ClassifyNewHeader, TellsApplicationsLibrariesAndPortableExecutables)
{
    struct Case {
        const char* name;
        std::vector<unsigned char> header;
        int kind;
    } cases[] = {
        {"16-bit application", NewHeader("NE", 0x0302, 0x20, 2), kWindows16Application},
        {"16-bit library", NewHeader("NE", 0x8302, 0x20, 2), kNotWindowsProgram},
        {"no non-resident names", NewHeader("NE", 0x0302, 0, 2), kNotWindowsProgram},
        {"OS/2 target", NewHeader("NE", 0x0302, 0x20, 1), kNotWindowsProgram},
        {"unknown target", NewHeader("NE", 0x0302, 0x20, 0), kWindows16Application},
        {"portable executable", NewHeader("PE", 0, 0, 0), kPortableExecutable},
        {"PE with NE-looking fields", NewHeader("PE", 0x0302, 0x20, 1), kPortableExecutable},
        {"linear executable", NewHeader("LE", 0x0302, 0x20, 2), kNotWindowsProgram},
        {"lower-case ne", NewHeader("ne", 0x0302, 0x20, 2), kNotWindowsProgram},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClassifyNewHeader(c.header.data(), c.header.size()), c.kind);
    }
}

TEST(ClassifyNewHeader, NeedsMoreThan50BytesAndReadsNothingBeyondThem)
{
    std::vector<unsigned char> pe = NewHeader("PE", 0, 0, 0);
    EXPECT_EQ(ClassifyNewHeader(pe.data(), 51), kPortableExecutable);
    EXPECT_EQ(ClassifyNewHeader(pe.data(), 50), kNotWindowsProgram);

    // An OS/2 target byte beyond the bytes read does not count: the header is cut at 54
    // bytes, in a heap block of exactly that size so a read past it is caught.
    std::vector<unsigned char> os2 = NewHeader("NE", 0x0302, 0x20, 1);
    std::vector<unsigned char> cut(os2.begin(), os2.begin() + 54);
    EXPECT_EQ(ClassifyNewHeader(cut.data(), cut.size()), kWindows16Application);
    std::vector<unsigned char> whole(os2.begin(), os2.begin() + 55);
    EXPECT_EQ(ClassifyNewHeader(whole.data(), whole.size()), kNotWindowsProgram);
}
