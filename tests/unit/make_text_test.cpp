// The RCDATA text generator is a host tool beside this test program (build/host/tools).
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string ToolPath()
{
    char self[4096] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path(self, length > 0 ? size_t(length) : 0);
    return path.substr(0, path.rfind('/')) + "/tools/make_text";
}

// Runs the tool on source; returns its exit status and fills out with what it wrote.
int Generate(const std::string& source, std::string* out)
{
    // ctest runs tests in parallel processes: the files carry this process's id.
    const std::string stem = testing::TempDir() + "make_text_" + std::to_string(getpid());
    const std::string in = stem + ".txt", result = stem + ".bin";
    std::ofstream(in, std::ios::binary) << source;
    std::remove(result.c_str());
    const int status = std::system((ToolPath() + " " + in + " " + result + " 2>/dev/null").c_str());
    std::ifstream file(result, std::ios::binary);
    std::stringstream bytes;
    bytes << file.rdbuf();
    *out = bytes.str();
    std::remove(in.c_str());
    std::remove(result.c_str());
    return status;
}

std::string Terminated(const char* text)
{
    return std::string(text) + '\0';
}

TEST(MakeText, JoinsLinesWithLineFeedsAndEndsWithANul)
{
    struct Case {
        const char* name;
        std::string source;
        std::string expected;
    } cases[] = {
        {"carriage returns go", "OVERVIEW\r\n \r\nText\r\n", Terminated("OVERVIEW\n \nText")},
        {"colour codes", "{C}Label{tab}{Y}Value\n{u}{C}Heading",
         Terminated("\x01" "CLabel\t\x01YValue\n\x06\x01" "CHeading")},
        {"dark, grey, rgb and hex bytes", "{m}x{grey}y{rgb}{ff}{80}{01}z", Terminated("\x02Mx\x03y\x04\xff\x80\x01z")},
        {"literal brace and tab", "{{a}\tb", Terminated("{a}\tb")},
        {"bars and lamps need no escape", "~Y42\t#07\t%99\t&2\t@5", Terminated("~Y42\t#07\t%99\t&2\t@5")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string out;
        ASSERT_EQ(Generate(c.source, &out), 0);
        EXPECT_EQ(out, c.expected);
    }
}

TEST(MakeText, RefusesUnknownEscapes)
{
    for (const char* source : {"{x}", "{00}", "{C", "ok\n{colour}"}) {
        SCOPED_TRACE(source);
        std::string out;
        EXPECT_NE(Generate(source, &out), 0);
    }
}

}  // namespace
