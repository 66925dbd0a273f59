#include "sampling/census_rules.h"


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

uint32_t CensusPriority(long basePriority, long deltaPriority)
{
    const long priority = basePriority + deltaPriority;
    if (priority < 0) return 0;
    return priority > 32 ? 32 : uint32_t(priority);
}
