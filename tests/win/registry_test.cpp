#include <gtest/gtest.h>

#include <string>

#include "services/registry.h"

namespace {
const char* const kTests = "Software\\HalvornTests";

// A key of its own under HKCU\Software\HalvornTests, deleted with everything below it.
class TestKey {
public:
    explicit TestKey(const std::string& name) : path_(std::string(kTests) + "\\" + name)
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        HKEY key;
        created_ = RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                   nullptr) == ERROR_SUCCESS;
        if (created_) RegCloseKey(key);
    }
    ~TestKey()
    {
        RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTests);  // only when no other test key is left
    }
    const char* Path() const { return path_.c_str(); }
    bool Created() const { return created_; }

private:
    std::string path_;
    bool created_ = false;
};

// The stored type and bytes of a value, read without the functions under test.
std::string RawValue(const char* path, const char* name, DWORD* type)
{
    char data[256] = {};
    DWORD length = sizeof data;
    *type = REG_NONE;
    if (RegGetValueA(HKEY_CURRENT_USER, path, name, RRF_RT_ANY | RRF_NOEXPAND, type, data, &length) != ERROR_SUCCESS)
        return "<missing>";
    return std::string(data, length);
}

bool KeyExists(const std::string& path)
{
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
}  // namespace

TEST(Registry, WritesEachTypeIntoAnExistingKey)
{
    TestKey key("Writes");
    ASSERT_TRUE(key.Created());
    const char text[] = "C:\\WINDOWS";
    const unsigned char bytes[] = {1, 0, 2, 0xFF};
    const DWORD number = 0x12345678;
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, key.Path(), "Text", text, sizeof text), 1);
    EXPECT_EQ(RegWriteBinary(HKEY_CURRENT_USER, key.Path(), "Bytes", bytes, sizeof bytes), 1);
    EXPECT_EQ(RegWriteDword(HKEY_CURRENT_USER, key.Path(), "Number", &number, sizeof number), 1);

    DWORD type;
    EXPECT_EQ(RawValue(key.Path(), "Text", &type), std::string(text, sizeof text));
    EXPECT_EQ(type, DWORD(REG_SZ));
    EXPECT_EQ(RawValue(key.Path(), "Bytes", &type), std::string(reinterpret_cast<const char*>(bytes), sizeof bytes));
    EXPECT_EQ(type, DWORD(REG_BINARY));
    EXPECT_EQ(RawValue(key.Path(), "Number", &type), std::string(reinterpret_cast<const char*>(&number), 4));
    EXPECT_EQ(type, DWORD(REG_DWORD));

    // Writing again replaces the value.
    const DWORD other = 7;
    EXPECT_EQ(RegWriteDword(HKEY_CURRENT_USER, key.Path(), "Number", &other, sizeof other), 1);
    DWORD read = 0;
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key.Path(), "Number", &read, sizeof read), 1);
    EXPECT_EQ(read, 7u);
}

TEST(Registry, NeverCreatesAMissingKey)
{
    TestKey parent("Missing");
    const std::string missing = std::string(parent.Path()) + "\\NotThere";
    const DWORD number = 1;
    const char text[] = "x";
    EXPECT_EQ(RegWriteDword(HKEY_CURRENT_USER, missing.c_str(), "Number", &number, sizeof number), 0);
    EXPECT_EQ(RegWriteString(HKEY_CURRENT_USER, missing.c_str(), "Text", text, sizeof text), 0);
    EXPECT_EQ(RegWriteBinary(HKEY_CURRENT_USER, missing.c_str(), "Bytes", text, 1), 0);
    EXPECT_FALSE(KeyExists(missing));
}

TEST(Registry, ReadsAtMostTheGivenSize)
{
    TestKey key("Reads");
    ASSERT_TRUE(key.Created());
    const char text[] = "0123456789";
    ASSERT_EQ(RegWriteString(HKEY_CURRENT_USER, key.Path(), "Text", text, sizeof text), 1);

    struct Case {
        DWORD size;
        int result;
    } cases[] = {{11, 1}, {64, 1}, {10, 0}, {4, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        char buffer[80];
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key.Path(), "Text", buffer, c.size), c.result);
        for (size_t i = c.size; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << "byte " << i;
        if (c.result) EXPECT_STREQ(buffer, text);
    }
    char buffer[16];
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, key.Path(), "Absent", buffer, sizeof buffer), 0);
    EXPECT_EQ(RegReadValue(HKEY_CURRENT_USER, (std::string(key.Path()) + "\\Absent").c_str(), "Text", buffer,
                           sizeof buffer),
              0);
}
