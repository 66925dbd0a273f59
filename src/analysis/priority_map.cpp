#include "analysis/priority_map.h"

int ProgramBasePriority(int classBase, int threadRelative)
{
    const int relative = threadRelative < -2 ? -2 : threadRelative > 2 ? 2 : threadRelative;
    return classBase + relative;
}

int PriorityLampColumn(int classBase, int threadRelative)
{
    static const int kGroupBase[4] = {kIdleClassBase, kNormalClassBase, kHighClassBase, kRealTimeClassBase};
    const int group = classBase <= kIdleClassBase ? 0 : classBase <= kAboveNormalClassBase ? 1
                      : classBase < kRealTimeClassBase ? 2 : 3;
    const int base = ProgramBasePriority(classBase, threadRelative);
    const int position = base < kGroupBase[group] ? 0 : base == kGroupBase[group] ? 1 : 2;
    return group * 3 + position;
}
