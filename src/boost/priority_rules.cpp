#include "boost/priority_rules.h"

#include <cstring>

#include "resources/ids_boost.h"

namespace {

struct ClassRadio {
    uint32_t priorityClass;
    int radioId;
};

const ClassRadio kClassRadios[] = {
    {kIdleClass, IDC_PRIORITY_IDLE},
    {kNormalClass, IDC_PRIORITY_NORMAL},
    {kHighClass, IDC_PRIORITY_HIGH},
    {kRealTimeClass, IDC_PRIORITY_MAXIMUM},
};

constexpr long kHighestShownPriority = 32;

}  // namespace

uint32_t PlanPriorityChange(uint32_t priorityClass, const char* mainModuleName)
{
    if (mainModuleName && strcmp(mainModuleName, "KERNEL32") == 0) return kKeepClass;
    switch (priorityClass) {
    case kHighClass:
    case kRealTimeClass:
    case kIdleClass: return kNormalClass;
    default: return kKeepClass;
    }
}

int PriorityRadioOf(uint32_t priorityClass)
{
    for (const ClassRadio& row : kClassRadios)
        if (row.priorityClass == priorityClass) return row.radioId;
    return 0;
}

uint32_t PriorityClassOfRadio(int radioId)
{
    for (const ClassRadio& row : kClassRadios)
        if (row.radioId == radioId) return row.priorityClass;
    return 0;
}

int PriorityIconId(long priority)
{
    if (priority < 0) priority = 0;
    if (priority > kHighestShownPriority) priority = kHighestShownPriority;
    return IDI_PRIORITY_LEVEL_BASE + int(priority);
}
