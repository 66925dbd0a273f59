#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "services/trace_format.h"

static std::string Line(int kind, const void* value)
{
    char out[128];
    FormatTraceLine(kind, "Stage", value, out, sizeof out);
    return out;
}

TEST(FormatTraceLine, FormatsEachKind)
{
    int32_t one = 1, two = 2, negative = -42;
    uint32_t big = 4000000000u;
    float f = 3.14159f;
    double d = 2.5;
    char c = 'Q';
    EXPECT_EQ(Line(kTraceBool, &one), "Stage = TRUE");
    EXPECT_EQ(Line(kTraceBool, &two), "Stage = FALSE");  // only exactly 1 is TRUE
    EXPECT_EQ(Line(kTraceInt, &negative), "Stage = -42");
    EXPECT_EQ(Line(kTraceString, "Initialize"), "Stage = Initialize");
    EXPECT_EQ(Line(kTraceFloat, &f), "Stage =  3.14");
    EXPECT_EQ(Line(kTraceULong, &big), "Stage = 4000000000");
    EXPECT_EQ(Line(kTraceChar, &c), "Stage = Q");
    EXPECT_EQ(Line(kTraceUInt, &big), "Stage = 4000000000");
    EXPECT_EQ(Line(kTraceDouble, &d), "Stage =  2.50");
    EXPECT_EQ(Line(99, &one), "Stage = ?");
    EXPECT_EQ(Line(kTraceString, nullptr), "Stage = ?");
}

TEST(FormatTraceLine, NeverOverrunsItsBuffer)
{
    std::string longValue(1000, 'x');
    char out[16];
    memset(out, '#', sizeof out);
    FormatTraceLine(kTraceString, "Label", longValue.c_str(), out, sizeof out);
    EXPECT_EQ(std::string(out), "Label = xxxxxxx");
}

TEST(CommandLineWantsDebug, FindsTheWordInAnyCase)
{
    EXPECT_TRUE(CommandLineWantsDebug("xxdebugyy"));
    EXPECT_TRUE(CommandLineWantsDebug("DEBUG"));
    EXPECT_TRUE(CommandLineWantsDebug("/x DeBuG"));
    EXPECT_TRUE(CommandLineWantsDebug("ddebug"));  // a partial match just before it
    EXPECT_FALSE(CommandLineWantsDebug(""));
    EXPECT_FALSE(CommandLineWantsDebug(nullptr));
    EXPECT_FALSE(CommandLineWantsDebug("DEBU"));
    EXPECT_FALSE(CommandLineWantsDebug("DE BUG"));
}
