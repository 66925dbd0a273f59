// Checks where Wine is known to answer differently from Windows. Each mark names the
// difference. On Windows the condition must hold, as for EXPECT_TRUE. Under Wine it is
// expected not to hold; when it does hold there, the check fails and says that the mark is
// stale, so a mark never outlives the difference it was made for.
#pragma once
#include <gtest/gtest.h>

#include "platform/host_system.h"

#define EXPECT_UNLESS_WINE_DIFFERS(condition, difference)                                                  \
    do {                                                                                                     \
        const bool holds_ = (condition);                                                                     \
        if (!IsWineHost())                                                                                   \
            EXPECT_TRUE(holds_) << #condition;                                                               \
        else if (holds_)                                                                                     \
            ADD_FAILURE() << "Wine no longer differs here (" << (difference) << "): " << #condition          \
                          << " holds; remove the mark";                                                     \
    } while (0)
