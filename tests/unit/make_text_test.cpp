// The RCDATA text generator is a host tool beside this test program (build/host/tools).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

TEST(MakeText, JoinsLinesWithLineFeedsEndsWithANulAndRefusesUnknownEscapes)
{
    char self[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", self, sizeof self - 1), 0);
    const std::string tool = std::string(self).substr(0, std::string(self).rfind('/')) + "/tools/make_text";
    // ctest runs tests in parallel processes: the files carry this process's id.
    const std::string stem = testing::TempDir() + "make_text_" + std::to_string(getpid());
    struct Case { const char* name; std::string source; const char* expected; } cases[] = {  // null: refused
        {"carriage returns go", "OVERVIEW\r\n \r\nText\r\n", "OVERVIEW\n \nText"},
        {"colour codes", "{C}Label{tab}{Y}Value\n{u}{C}Heading", "\x01" "CLabel\t\x01YValue\n\x06\x01" "CHeading"},
        {"dark, grey, rgb and hex bytes", "{m}x{grey}y{rgb}{ff}{80}{01}z", "\x02Mx\x03y\x04\xff\x80\x01z"},
        {"literal brace and tab", "{{a}\tb", "{a}\tb"},
        {"bars and lamps need no escape", "~Y42\t#07\t%99\t&2\t@5", "~Y42\t#07\t%99\t&2\t@5"},
        {"unknown letter", "{x}", nullptr}, {"not a hex escape", "{00}", nullptr}, {"unclosed", "{C", nullptr},
        {"unknown word on a later line", "ok\n{colour}", nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::ofstream(stem + ".txt", std::ios::binary) << c.source;
        std::remove((stem + ".bin").c_str());
        const int status = std::system((tool + " " + stem + ".txt " + stem + ".bin 2>/dev/null").c_str());
        std::stringstream out;
        out << std::ifstream(stem + ".bin", std::ios::binary).rdbuf();
        EXPECT_EQ(status == 0, c.expected != nullptr);
        if (c.expected) EXPECT_EQ(out.str(), std::string(c.expected) + '\0');
    }
    std::remove((stem + ".txt").c_str());
    std::remove((stem + ".bin").c_str());
}
