#pragma once
#include <windows.h>

// Write one value under an existing key (opened with KEY_SET_VALUE; a missing key is not
// created): REG_SZ, REG_BINARY or REG_DWORD, size bytes from data. 1 when the key opened
// and the value was written, else 0.
int RegWriteString(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size);
int RegWriteBinary(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size);
int RegWriteDword(HKEY root, const char* subkey, const char* valueName, const void* data, DWORD size);

// Reads a value of any type into buffer, at most size bytes. 1 on success; 0 when the key
// or value is missing or the value does not fit. A string value that was stored without
// its terminating NUL is terminated when there is room, and refused when there is not,
// so a string read back is always terminated.
int RegReadValue(HKEY root, const char* subkey, const char* valueName, void* buffer, DWORD size);
