// The lines of the window list: a window's name, a tab and its handle as a decimal number,
// the whole line in one 256-byte slot.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr size_t kWindowItemLength = 256;

// The name a window is listed under: its caption; when that is empty, the module name of
// its process's main module up to the first "."; when that is empty too, "<no name>".
// Copied with at most size - 1 bytes (nothing when size is 0). Null texts count as empty.
void WindowItemName(const char* caption, const char* moduleName, char* destination, size_t size);

// Writes "name\thandle" into destination, with at most min(size, kWindowItemLength) - 1
// bytes: the name is cut so the handle always fits, and a tab or line break inside the
// name becomes a space, so the line has exactly one tab. Nothing is written when size is 0.
void FormatWindowItem(const char* name, uint32_t handleValue, char* destination, size_t size);

// Reads a line back: the name before the tab (at most nameSize - 1 bytes, when name is not
// null) and the decimal handle after it. False, with *handleValue 0, when the line has no
// tab or the rest is not a decimal number of 32 bits.
bool ParseWindowItem(const char* line, char* name, size_t nameSize, uint32_t* handleValue);

// Window handles are 32-bit values, sign-extended to a pointer's width on 64-bit systems:
// the list keeps the low 32 bits and gives back the handle the system would have given.
inline uint32_t ItemValueOfHandle(uintptr_t handle)
{
    return uint32_t(handle);
}
inline intptr_t HandleOfItemValue(uint32_t value)
{
    return intptr_t(int32_t(value));
}
