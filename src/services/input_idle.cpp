#include "services/input_idle.h"

#include <cstring>

volatile uint32_t InputEventCount = 0;

// Owned by the sampling thread: InputIdle is only called there.
static InputHistory ProcessInputHistory;

int InputHistoryStep(InputHistory* history, uint32_t newest)
{
    uint32_t* s = history->samples;
    memmove(s, s + 1, sizeof(uint32_t) * (kInputHistoryLength - 1));
    s[kInputHistoryLength - 1] = newest;
    for (int i = 0; i < kInputHistoryLength; ++i)
        if (s[i] != 0) return 0;
    return 1;
}

int InputIdle()
{
    return InputHistoryStep(&ProcessInputHistory, InputEventCount);
}
