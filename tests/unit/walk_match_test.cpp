#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "services/walk_match.h"

// Matching and collecting over real drives, and the count's cap, are tested under Wine;
// here what the slots bound.
TEST(WalkMatch, NeedlesAndPathsStayWithinTheirSlots)
{
    std::vector<char[kWalkPathLength]> needles(3);
    memset(needles.data(), 0, needles.size() * kWalkPathLength);
    strcpy(needles[0], ".TMP");
    strcpy(needles[1], "~MSS");
    EXPECT_EQ(FirstNeedleIn("~MSSETUP.TMP", needles.data(), 2), 0);  // the first needle that occurs
    EXPECT_EQ(FirstNeedleIn("~MSSETUP.BAK", needles.data(), 2), 1);
    EXPECT_EQ(FirstNeedleIn("~MSSETUP.BAK", needles.data(), 1), -1);
    // A needle that fills its slot is read no further (on the heap, so a read past it is caught).
    memset(needles[2], 'A', kWalkPathLength);
    EXPECT_EQ(FirstNeedleIn(std::string(kWalkPathLength - 1, 'A').c_str(), needles.data() + 2, 1), -1);
    std::vector<char[kWalkPathLength]> out(kCollectSlotCount);
    const std::string longPath(kWalkPathLength + 40, 'p');
    EXPECT_EQ(StoreCollectedPath(out.data(), 0, longPath.c_str()), 1);
    EXPECT_EQ(std::string(out[0]), longPath.substr(0, kWalkPathLength - 1));
}
