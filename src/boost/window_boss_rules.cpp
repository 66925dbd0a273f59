#include "boost/window_boss_rules.h"

#include <cstdio>
#include <cstring>

static void CopyCut(const char* text, size_t length, char* destination, size_t size)
{
    if (size == 0) return;
    if (length > size - 1) length = size - 1;
    memcpy(destination, text, length);
    destination[length] = '\0';
}

void WindowItemName(const char* caption, const char* moduleName, char* destination, size_t size)
{
    if (caption && caption[0]) {
        CopyCut(caption, strlen(caption), destination, size);
        return;
    }
    const size_t stem = moduleName ? strcspn(moduleName, ".") : 0;
    if (stem > 0)
        CopyCut(moduleName, stem, destination, size);
    else
        CopyCut("<no name>", 9, destination, size);
}

void FormatWindowItem(const char* name, uint32_t handleValue, char* destination, size_t size)
{
    if (size == 0) return;
    if (size > kWindowItemLength) size = kWindowItemLength;
    char number[16];
    const int digits = snprintf(number, sizeof number, "\t%lu", static_cast<unsigned long>(handleValue));
    // A handle cut short would name another window: without room for all of it, no line.
    if (size_t(digits) > size - 1) {
        destination[0] = '\0';
        return;
    }
    const size_t room = size - 1 - size_t(digits);
    size_t length = name ? strlen(name) : 0;
    if (length > room) length = room;
    for (size_t i = 0; i < length; ++i) {
        const char c = name[i];
        destination[i] = c == '\t' || c == '\r' || c == '\n' ? ' ' : c;
    }
    CopyCut(number, size_t(digits), destination + length, size - length);
}

bool ParseWindowItem(const char* line, char* name, size_t nameSize, uint32_t* handleValue)
{
    *handleValue = 0;
    const char* tab = line ? strchr(line, '\t') : nullptr;
    if (!tab) return false;
    uint64_t value = 0;
    const char* digit = tab + 1;
    for (; *digit >= '0' && *digit <= '9'; ++digit) {
        value = value * 10 + uint64_t(*digit - '0');
        if (value > UINT32_MAX) return false;
    }
    if (digit == tab + 1 || *digit != '\0') return false;
    if (name) CopyCut(line, size_t(tab - line), name, nameSize);
    *handleValue = uint32_t(value);
    return true;
}
