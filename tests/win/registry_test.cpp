// Registry values against Wine's real registry, under a key of the test's own.
#include <gtest/gtest.h>

#include <string>

#include "services/registry.h"

namespace {
const char kKey[] = "Software\\HalvornTests\\Registry";

TEST(Registry, WritesIntoAnExistingKeyOnlyAndReadsAtMostTheGivenSize)
{
    ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kKey, nullptr, REG_SZ, "", 1), ERROR_SUCCESS);  // makes the key
    const std::string missing = std::string(kKey) + "\\NotThere";
    const DWORD number = 0x12345678;
    typedef int (*Writer)(HKEY, const char*, const char*, const void*, DWORD);
    struct WriteCase { const char* name; Writer write; std::string data; DWORD type; } writes[] = {
        {"Text", RegWriteString, std::string("C:\\WINDOWS", 11), REG_SZ},
        {"Bytes", RegWriteBinary, std::string("\x01\x00\x02\xFF", 4), REG_BINARY},
        {"Number", RegWriteDword, std::string(reinterpret_cast<const char*>(&number), 4), REG_DWORD},
    };
    for (const WriteCase& c : writes) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.write(HKEY_CURRENT_USER, missing.c_str(), c.name, c.data.data(), DWORD(c.data.size())), 0);
        EXPECT_EQ(c.write(HKEY_CURRENT_USER, kKey, c.name, c.data.data(), DWORD(c.data.size())), 1);
        char stored[64] = {};
        DWORD type = 0, length = sizeof stored;
        ASSERT_EQ(RegGetValueA(HKEY_CURRENT_USER, kKey, c.name, RRF_RT_ANY, &type, stored, &length), ERROR_SUCCESS);
        EXPECT_EQ(std::string(stored, length) + "|" + std::to_string(type), c.data + "|" + std::to_string(c.type));
    }
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, missing.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    // Reads: "Text" now holds "C:\WINDOWS" and its NUL, 11 bytes; nothing is written past size.
    struct ReadCase { const char* value; DWORD size; int result; } reads[] = {
        {"Text", 11, 1}, {"Text", 64, 1}, {"Text", 10, 0}, {"Text", 0, 0}, {"Absent", 64, 0}};
    for (const ReadCase& c : reads) {
        SCOPED_TRACE(std::string(c.value) + " in " + std::to_string(c.size));
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, kKey, c.value, buffer, c.size), c.result);
        EXPECT_EQ(std::string(buffer + c.size, sizeof buffer - c.size), std::string(sizeof buffer - c.size, '#'));
        if (c.result) EXPECT_STREQ(buffer, "C:\\WINDOWS");
    }
    char buffer[16];
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, missing.c_str(), "Text", buffer, sizeof buffer), 0);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\HalvornTests");
}

}  // namespace
