#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "services/trace_format.h"

TEST(FormatTraceLine, FormatsEachKindWithinItsBuffer)
{
    const int32_t one = 1, two = 2;
    const float f = 3.14159f;
    const std::string longValue(1000, 'x');
    struct Case { int kind; const void* value; size_t size; const char* line; } cases[] = {
        {kTraceBool, &one, 128, "Stage = TRUE"},     {kTraceBool, &two, 128, "Stage = FALSE"},  // only exactly 1
        {kTraceString, "Initialize", 128, "Stage = Initialize"}, {kTraceFloat, &f, 128, "Stage =  3.14"},
        {99, &one, 128, "Stage = ?"},                {kTraceString, nullptr, 128, "Stage = ?"},
        {kTraceString, longValue.c_str(), 16, "Stage = xxxxxxx"},
    };
    for (const Case& k : cases) {
        char out[128];
        memset(out, '#', sizeof out);
        FormatTraceLine(k.kind, "Stage", k.value, out, k.size);
        EXPECT_STREQ(out, k.line);
        EXPECT_EQ(std::string(out + k.size, sizeof out - k.size), std::string(sizeof out - k.size, '#'));
    }
    for (const char* line : {"xxdebugyy", "DEBUG", "/x DeBuG", "ddebug"})  // a partial match just before it
        EXPECT_TRUE(CommandLineWantsDebug(line)) << line;
    for (const char* line : {"", static_cast<const char*>(nullptr), "DEBU", "DE BUG"}) EXPECT_FALSE(CommandLineWantsDebug(line)) << line;
}
