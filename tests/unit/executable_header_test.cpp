#include <gtest/gtest.h>

#include <vector>

#include "services/executable_header.h"

// Whole program files are classified under Wine (ExecutableKind) and every header is
// fuzzed; here the limits of the head.
TEST(FindNewHeaderOffset, AcceptsOnlyAnMzHeadWithRelocationsAt0x40OrLater)
{
    struct Case {
        const char* name;
        unsigned relocation;
        uint32_t offset;
        size_t length;
        bool accepted;
    } cases[] = {
        {"65 bytes", 0x40, 0x80, 65, true},           {"64 bytes", 0x40, 0x80, 64, false},
        {"largest offset", 0x40, 0x7FFFFFFF, 1024, true}, {"MS-DOS program", 0x3F, 0x80, 1024, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<unsigned char> head(c.length, 0);
        head[0] = 'M';
        head[1] = 'Z';
        head[0x18] = uint8_t(c.relocation);
        for (int i = 0; i < 4; ++i) head[0x3C + i] = uint8_t(c.offset >> (8 * i));
        uint32_t offset = 99;
        EXPECT_EQ(FindNewHeaderOffset(head.data(), head.size(), &offset), c.accepted);
        EXPECT_EQ(offset, c.accepted ? c.offset : 0u);
    }
}
