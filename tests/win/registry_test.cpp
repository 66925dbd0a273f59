#include <gtest/gtest.h>

#include <string>

#include "services/registry.h"

namespace {
const std::string kKey = "Software\\HalvornTests\\Registry";

// The stored type and bytes of a value, read without the functions under test.
std::string RawValue(const char* name, DWORD* type)
{
    char data[64] = {};
    DWORD length = sizeof data;
    if (RegGetValueA(HKEY_CURRENT_USER, kKey.c_str(), name, RRF_RT_ANY, type, data, &length) != ERROR_SUCCESS)
        return "<missing>";
    return std::string(data, length);
}

class Registry : public testing::Test {
protected:
    void SetUp() override
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                  nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\HalvornTests");  // only when no other test's key is left
    }
};
}  // namespace

TEST_F(Registry, WritesEachTypeIntoAnExistingKey)
{
    const char text[] = "C:\\WINDOWS";
    const unsigned char bytes[] = {1, 0, 2, 0xFF};
    const DWORD number = 0x12345678;
    const char* key = kKey.c_str();
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, key, "Text", text, sizeof text), 1);
    EXPECT_EQ(RegWriteBinary(HKEY_CURRENT_USER, key, "Bytes", bytes, sizeof bytes), 1);
    EXPECT_EQ(RegWriteDword(HKEY_CURRENT_USER, key, "Number", &number, sizeof number), 1);
    DWORD type;
    EXPECT_EQ(RawValue("Text", &type), std::string(text, sizeof text));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(RawValue("Bytes", &type), std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(RawValue("Number", &type), std::string(reinterpret_cast<const char*>(&number), 4));
    EXPECT_EQ(type, DWORD(REG_DWORD));
}

TEST_F(Registry, NeverCreatesAMissingKey)
{
    const std::string missing = kKey + "\\NotThere";
    const DWORD number = 1;
    EXPECT_EQ(RegWriteDword(HKEY_CURRENT_USER, missing.c_str(), "Number", &number, sizeof number), 0);
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, missing.c_str(), "Text", "x", 2), 0);
    EXPECT_EQ(RegWriteBinary(HKEY_CURRENT_USER, missing.c_str(), "Bytes", "x", 1), 0);
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Registry, ReadsAtMostTheGivenSize)
{
    const char text[] = "0123456789";
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, kKey.c_str(), "Text", text, sizeof text), 1);
    struct Case {
        DWORD size;
        int result;
    } cases[] = {{11, 1}, {64, 1}, {10, 0}, {4, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, kKey.c_str(), "Text", buffer, c.size), c.result);
        for (size_t i = c.size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << "byte " << i;
        if (c.result) EXPECT_STREQ(buffer, text);
    }
    char buffer[16];
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, kKey.c_str(), "Absent", buffer, sizeof buffer), 0);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, (kKey + "\\Absent").c_str(), "Text", buffer, sizeof buffer), 0);
}
