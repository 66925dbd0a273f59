#include "services/process_rules.h"

#include <cstring>

static bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

void AppNameFromTitleText(const char* title, char* destination, size_t size)
{
    if (size == 0) return;
    destination[0] = '\0';
    if (!title) return;
    const char* dash = strchr(title, '-');
    size_t length = dash ? size_t(dash - title) : strlen(title);
    while (length > 0 && IsWhiteSpace(title[length - 1])) --length;
    if (length > size - 1) length = size - 1;
    memcpy(destination, title, length);
    destination[length] = '\0';
}

void CountThreadPriority(ThreadPrioritySummary* summary, int32_t priority)
{
    ++summary->threadCount;
    if (priority > summary->highest) summary->highest = priority;
    if (priority < summary->lowest) summary->lowest = priority;
}

bool IsSystemKernelPattern(const ThreadPrioritySummary& summary)
{
    return summary.threadCount == 4 && summary.highest == 28 && summary.lowest == 13;
}

const char* SpecialNameFor(const ThreadPrioritySummary& summary, int32_t askedThreadPriority)
{
    if (!IsSystemKernelPattern(summary)) return "";
    return askedThreadPriority == 28 ? "Real-Time Input" : "Windows 95 Kernel";
}

static bool SameNameIgnoringCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? char(*a - 32) : *a;
        char y = *b >= 'a' && *b <= 'z' ? char(*b - 32) : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

ProgramKind ProgramKindFromNames(const char* fileTitle, const char* mainModuleName)
{
    if (!fileTitle) fileTitle = "";
    if (SameNameIgnoringCase(fileTitle, "WINOA386.MOD")) return kProgramDos;
    if (mainModuleName && *mainModuleName && SameNameIgnoringCase(fileTitle, mainModuleName)) return kProgram32Bit;
    return kProgram16Bit;
}

const char* FileTitleOf(const char* path)
{
    if (!path) return "";
    const char* title = path;
    for (const char* p = path; *p; ++p)
        if (*p == '\\' || *p == '/' || *p == ':') title = p + 1;
    return title;
}
