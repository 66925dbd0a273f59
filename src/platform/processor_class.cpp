#include "platform/processor_class.h"

uint32_t ProcessorClassOf(uint32_t processorType, bool isX86, uint32_t family)
{
    if (processorType == 386 || processorType == 486 || processorType == 586) return processorType;
    if (!isX86) return 0;
    if (family >= 5) return 586;
    if (family == 4) return 486;
    if (family == 3) return 386;
    return 0;
}
