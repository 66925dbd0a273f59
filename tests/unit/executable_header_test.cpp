#include <gtest/gtest.h>

#include <vector>

#include "services/executable_header.h"

TEST(FindNewHeaderOffset, AcceptsOnlyAnMzHeadWithRelocationsAt0x40OrLater)
{
    struct Case {
        const char* name;
        unsigned relocation;
        uint32_t offset;
        size_t length;
        bool accepted;
    } cases[] = {
        {"new-style program", 0x40, 0x80, 1024, true}, {"MS-DOS program", 0x3F, 0x80, 1024, false},
        {"65 bytes", 0x40, 0x80, 65, true},            {"64 bytes", 0x40, 0x80, 64, false},
        {"largest offset", 0x40, 0x7FFFFFFF, 1024, true}, {"negative offset", 0x40, 0x80000000u, 1024, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> head(c.length, 0);
        head[0] = 'M';
        head[1] = 'Z';
        head[0x18] = uint8_t(c.relocation);
        for (int i = 0; i < 4 && 0x3C + i < int(c.length); ++i) head[0x3C + i] = uint8_t(c.offset >> (8 * i));
        uint32_t offset = 99;
        EXPECT_EQ(FindNewHeaderOffset(head.data(), head.size(), &offset), c.accepted);
        EXPECT_EQ(offset, c.accepted ? c.offset : 0u);
    }
}

TEST(ClassifyNewHeader, NeedsMoreThan50BytesAndReadsNothingBeyondThem)
{
    std::vector<unsigned char> header(64, 0);
    header[0] = 'P';
    header[1] = 'E';
    EXPECT_EQ(ClassifyNewHeader(header.data(), 51), kPortableExecutable);
    EXPECT_EQ(ClassifyNewHeader(header.data(), 50), kNotWindowsProgram);

    // An application with an OS/2 target byte at 0x36: cut before that byte (in a block of
    // exactly the length, so a read past it is caught) the byte does not count.
    header[0] = 'N';
    header[0x0C] = 0x02;
    header[0x20] = 0x10;
    header[0x36] = 1;
    EXPECT_EQ(ClassifyNewHeader(header.data(), header.size()), kNotWindowsProgram);
    std::vector<unsigned char> cut(header.begin(), header.begin() + 0x36);
    EXPECT_EQ(ClassifyNewHeader(cut.data(), cut.size()), kWindows16Application);
}
