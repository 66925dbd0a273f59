// The port and modem rules of the problem solver's checks: which COM ports pair up for the
// conflict check, and when the modem probe's failure flag is a failing modem.
#include <gtest/gtest.h>

#include "hardware/device_check_rules.h"

namespace {
constexpr ComPortOpening kOpen = ComPortOpening::kOpened;
constexpr ComPortOpening kGone = ComPortOpening::kMissing;
constexpr ComPortOpening kShut = ComPortOpening::kRefused;
}  // namespace

TEST(CountPossiblePortConflicts, OnlyComOneWithThreeAndTwoWithFourBothListedAndRefused)
{
    const struct {
        const char* label;
        bool listed[4];
        ComPortOpening opening[4];
        int conflicts;
    } cases[] = {
        {"all four refused", {true, true, true, true}, {kShut, kShut, kShut, kShut}, 4},
        {"COM1 and COM3 refused", {true, true, true, true}, {kShut, kOpen, kShut, kOpen}, 2},
        {"COM2 and COM4 refused", {true, true, true, true}, {kOpen, kShut, kOpen, kShut}, 2},
        {"COM1 and COM2 refused: not a pair", {true, true, true, true}, {kShut, kShut, kOpen, kOpen}, 0},
        {"one of the pair opens", {true, true, true, true}, {kShut, kOpen, kOpen, kOpen}, 0},
        {"COM3 not listed", {true, false, false, false}, {kShut, kGone, kShut, kGone}, 0},
        {"devices that do not exist", {true, true, true, true}, {kGone, kGone, kGone, kGone}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(CountPossiblePortConflicts(c.listed, c.opening), c.conflicts);
    }
}

TEST(ModemTestFailed, AFailureFlagCountsOnlyBesideAModemThatAnswered)
{
    const uint32_t none[4] = {}, one[4] = {0, 14400, 0, 0};
    EXPECT_FALSE(ModemTestFailed(1, none));  // nothing tested: reported as unable to test
    EXPECT_TRUE(ModemTestFailed(1, one));
    EXPECT_FALSE(ModemTestFailed(0, one));
    EXPECT_FALSE(AnyModemSpeed(none));
    EXPECT_TRUE(AnyModemSpeed(one));
}
