#include <windows.h>

#include "services/registry.h"

static int RegWriteValue(HKEY root, const char* subkey, const char* valueName, DWORD type, const void* data,
                         DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return 0;
    LONG result = RegSetValueExA(key, valueName, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int RegWriteString(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size)
{
    return RegWriteValue(root, subkey, valueName, REG_SZ, data, size);
}

int RegWriteBinary(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size)
{
    return RegWriteValue(root, subkey, valueName, REG_BINARY, data, size);
}

int RegWriteDword(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size)
{
    return RegWriteValue(root, subkey, valueName, REG_DWORD, data, size);
}

static bool IsStringType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

int RegReadValue(HKEY root, const char* subkey, const char* valueName, void* buffer, DWORD size)
{
    HKEY key;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
    DWORD type = 0;
    DWORD length = size;
    LONG result = RegQueryValueExA(key, valueName, nullptr, &type, static_cast<BYTE*>(buffer), &length);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS) return 0;
    if (!buffer) return 1;  // asked only whether the value is there
    char* bytes = static_cast<char*>(buffer);
    if (IsStringType(type) && (length == 0 || bytes[length - 1] != '\0')) {
        if (length >= size) return 0;
        bytes[length] = '\0';
    }
    return 1;
}
