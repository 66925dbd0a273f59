// Registry values against Wine's real registry, under a key of the test's own.
#include <gtest/gtest.h>

#include <string>

#include "services/registry.h"

namespace {
const char kKey[] = "Software\\HalvornTests\\Registry";

class Registry : public testing::Test {
protected:
    void SetUp() override
    {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }
    void TearDown() override
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, kKey);
        RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\HalvornTests");  // only when no other test's key is left
    }
};
}  // namespace

TEST_F(Registry, WritesEachTypeIntoAnExistingKeyOnly)
{
    const std::string missing = std::string(kKey) + "\\NotThere";
    const DWORD number = 0x12345678;
    struct Case {
        const char* name;
        int (*write)(HKEY, const char*, const char*, const void*, DWORD);
        std::string data;
        DWORD type;
    } cases[] = {
        {"Text", RegWriteString, std::string("C:\\WINDOWS", 11), REG_SZ},
        {"Bytes", RegWriteBinary, std::string("\x01\x00\x02\xFF", 4), REG_BINARY},
        {"Number", RegWriteDword, std::string(reinterpret_cast<const char*>(&number), 4), REG_DWORD},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.write(HKEY_CURRENT_USER, kKey, c.name, c.data.data(), DWORD(c.data.size())), 1);
        char stored[64] = {};
        DWORD type = 0, length = sizeof stored;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, c.name, RRF_RT_ANY, &type, stored, &length), ERROR_SUCCESS);
        EXPECT_EQ(std::string(stored, length), c.data);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(c.write(HKEY_CURRENT_USER, missing.c_str(), c.name, c.data.data(), DWORD(c.data.size())), 0);
    }
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
}

TEST_F(Registry, ReadsAtMostTheGivenSize)
{
    const char text[] = "0123456789";
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, kKey, "Text", text, sizeof text), 1);
    struct Case {
        const char* value;
        DWORD size;
        int result;
    } cases[] = {{"Text", 11, 1}, {"Text", 64, 1}, {"Text", 10, 0}, {"Text", 0, 0}, {"Absent", 64, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.value) + " in " + std::to_string(c.size));
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, kKey, c.value, buffer, c.size), c.result);
        EXPECT_EQ(std::string(buffer + c.size, sizeof buffer - c.size), std::string(sizeof buffer - c.size, '#'));
        if (c.result) EXPECT_STREQ(buffer, text);
    }
    char buffer[16];
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, (std::string(kKey) + "\\Absent").c_str(), "Text", buffer, sizeof buffer), 0);
}
