#include "services/walk_path.h"

#include <cctype>
#include <cstdio>
#include <cstring>

static bool IsSlash(char c)
{
    return c == '\\' || c == '/';
}

bool JoinWalkPath(const char* directory, const char* name, char* out)
{
    size_t length = strlen(directory);
    const char* separator = length > 0 && IsSlash(directory[length - 1]) ? "" : "\\";
    int written = snprintf(out, kWalkPathLength, "%s%s%s", directory, separator, name);
    if (written < 0 || size_t(written) >= kWalkPathLength) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool JoinWalkDirectory(const char* directory, const char* name, char* out)
{
    if (!JoinWalkPath(directory, name, out)) return false;
    if (strlen(out) + strlen("\\*.*") >= kWalkPathLength) {
        out[0] = '\0';
        return false;
    }
    return true;
}

bool WalkSearchPattern(const char* directory, const char* pattern, char* out)
{
    out[0] = '\0';
    if (!pattern) return false;
    bool hasDrive = isalpha(static_cast<unsigned char>(pattern[0])) && pattern[1] == ':';
    if (hasDrive && !IsSlash(pattern[2]) &&
        toupper(static_cast<unsigned char>(pattern[0])) == toupper(static_cast<unsigned char>(directory[0])))
        return JoinWalkPath(directory, pattern + 2, out);
    if (hasDrive || IsSlash(pattern[0])) {
        if (strlen(pattern) >= kWalkPathLength) return false;
        memcpy(out, pattern, strlen(pattern) + 1);
        return true;
    }
    return JoinWalkPath(directory, pattern, out);
}
