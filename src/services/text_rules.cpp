#include "services/text_rules.h"

#include <cstdio>
#include <cstring>

static char UpperLetter(char c)
{
    return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c;
}

// One byte of file content as UppercaseBuffer leaves it.
static char UpperContent(char c)
{
    return c == '\r' ? ' ' : UpperLetter(c);
}

void UppercaseBuffer(char* buffer, size_t length)
{
    for (size_t i = 0; i < length; ++i) buffer[i] = UpperContent(buffer[i]);
}

int StartsWith(const char* text, const char* prefix)
{
    if (!text || !prefix) return 1;
    for (size_t i = 0; prefix[i]; ++i) {
        if (text[i] != prefix[i]) return 0;  // also when text ends first
    }
    return 1;
}

char* ProfileLineValue(const char* line)
{
    static char value[256];
    value[0] = '\0';
    if (!line) return value;
    const char* equals = strchr(line, '=');
    if (!equals) return value;
    const char* start = equals + 1;
    while (*start == ' ') ++start;
    size_t length = strnlen(start, sizeof value - 1);
    memcpy(value, start, length);
    // The first character stays even if it were a space: only what follows it is trimmed.
    while (length > 1 && value[length - 1] == ' ') --length;
    value[length] = '\0';
    return value;
}

void CopyUpper(const char* source, char* destination, size_t size)
{
    if (!source || size == 0) return;
    size_t length = strnlen(source, size - 1);
    for (size_t i = 0; i < length; ++i) destination[i] = UpperLetter(source[i]);
    destination[length] = '\0';
}

bool FormatThousands(uint32_t value, char* destination, size_t size)
{
    if (size == 0) return false;
    char digits[16];
    const int digitCount = snprintf(digits, sizeof digits, "%u", unsigned(value));
    const size_t length = size_t(digitCount + (digitCount - 1) / 3);
    if (length >= size) {
        destination[0] = '\0';
        return false;
    }
    size_t out = 0;
    for (int i = 0; i < digitCount; ++i) {
        if (i > 0 && (digitCount - i) % 3 == 0) destination[out++] = ',';
        destination[out++] = digits[i];
    }
    destination[out] = '\0';
    return true;
}

bool JoinPlusLines(char* destination, size_t size, const char* const* items, size_t count)
{
    if (size == 0) return count == 0;
    destination[0] = '\0';
    size_t used = 0;
    for (size_t i = 0; i < count; ++i) {
        const char* item = items[i] ? items[i] : "";
        const int written = snprintf(destination + used, size - used, "+ %s\r\n", item);
        if (written < 0 || size_t(written) >= size - used) {
            destination[used] = '\0';  // drop the partial line
            return false;
        }
        used += size_t(written);
    }
    return true;
}

// Whether bytes[at, end) spells text from position at; text is compared upper-cased when
// upperText is set, as given otherwise.
static bool SpellsAt(const char* bytes, size_t at, size_t end, const char* text, bool upperText)
{
    for (size_t k = 0; text[k]; ++k) {
        if (at + k >= end) return false;
        const char want = upperText ? UpperLetter(text[k]) : text[k];
        if (UpperContent(bytes[at + k]) != want) return false;
    }
    return true;
}

static bool RangeContains(const char* bytes, size_t begin, size_t end, const char* text, bool upperText)
{
    const size_t textLength = strlen(text);
    if (textLength > end - begin) return false;
    for (size_t at = begin; at + textLength <= end; ++at) {
        if (SpellsAt(bytes, at, end, text, upperText)) return true;
    }
    return false;
}

int BufferContainsText(const char* bytes, size_t length, const char* text)
{
    if (!text) return 0;
    return RangeContains(bytes, 0, length, text, true) ? 1 : 0;
}

int BufferHasActiveLine(const char* bytes, size_t length, const char* text)
{
    if (!text) return 0;
    // Lines end at line feeds; nothing after the last line feed is no line.
    size_t begin = 0;
    while (begin < length) {
        const void* feed = memchr(bytes + begin, '\n', length - begin);
        const size_t end = feed ? size_t(static_cast<const char*>(feed) - bytes) : length;
        const bool isComment = SpellsAt(bytes, begin, end, "REM", false) || SpellsAt(bytes, begin, end, ";", false);
        if (!isComment && RangeContains(bytes, begin, end, text, false)) return 1;
        if (!feed) break;
        begin = end + 1;
    }
    return 0;
}
