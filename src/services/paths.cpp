#include "services/paths.h"

#include <cstdio>
#include <cstring>

bool DirectoryOfPath(const char* path, char* out, size_t size)
{
    if (size == 0) return false;
    out[0] = '\0';
    if (!path) return true;
    const char* slash = strrchr(path, '\\');
    if (!slash) return true;
    size_t length = size_t(slash - path);
    if (length >= size) return false;
    memcpy(out, path, length);
    out[length] = '\0';
    return true;
}

bool JoinPath(const char* folder, const char* name, char* out, size_t size)
{
    if (size == 0) return false;
    int written = snprintf(out, size, "%s\\%s", folder, name);
    if (written < 0 || size_t(written) >= size) {
        out[0] = '\0';
        return false;
    }
    return true;
}
