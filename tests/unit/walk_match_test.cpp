#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "services/walk_match.h"

typedef char Slot[kWalkPathLength];

static std::vector<Slot> NeedleSlots(std::initializer_list<const char*> texts)
{
    std::vector<Slot> slots(texts.size());
    size_t i = 0;
    for (const char* text : texts) {
        memset(slots[i], 0, sizeof(Slot));
        strncpy(slots[i++], text, sizeof(Slot));
    }
    return slots;
}

TEST(FirstNeedleIn, FindsTheFirstNeedleThatOccurs)
{
    const std::vector<Slot> needles = NeedleSlots({".TMP", "~MSS", ".BAK"});
    struct Case {
        const char* name;
        int count;
        int expected;
    };
    const Case cases[] = {
        {"REPORT.TMP", 3, 0},   {"~MSSETUP.BAK", 3, 1}, {"OLD.BAK", 3, 2}, {"OLD.BAK", 2, -1},
        {"README.TXT", 3, -1},  {"X.TMP.BAK", 3, 0},    {"", 3, -1},       {"REPORT.TMP", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " over " + std::to_string(c.count) + " needles");
        EXPECT_EQ(FirstNeedleIn(c.name, needles.data(), c.count), c.expected);
    }
}

TEST(FirstNeedleIn, ReadsANeedleThatFillsItsSlotNoFurther)
{
    // One slot on the heap with no terminator: reading past it would be caught.
    std::vector<Slot> needles(1);
    memset(needles[0], 'A', sizeof(Slot));
    const std::string name(kWalkPathLength - 1, 'A');
    EXPECT_EQ(FirstNeedleIn(name.c_str(), needles.data(), 1), -1);
}

TEST(StoreCollectedPath, CountsUpToOneLessThanTheSlotsAndReusesTheLast)
{
    std::vector<Slot> out(kCollectSlotCount);
    int count = 0;
    for (int i = 0; i < kCollectSlotCount + 100; ++i) {
        const std::string path = "C:\\TEMP\\F" + std::to_string(i) + ".TMP";
        count = StoreCollectedPath(out.data(), count, path.c_str());
    }
    EXPECT_EQ(count, kCollectSlotCount - 1);
    EXPECT_STREQ(out[0], "C:\\TEMP\\F0.TMP");
    EXPECT_STREQ(out[kCollectSlotCount - 2], ("C:\\TEMP\\F" + std::to_string(kCollectSlotCount - 2) + ".TMP").c_str());
    EXPECT_STREQ(out[kCollectSlotCount - 1], ("C:\\TEMP\\F" + std::to_string(kCollectSlotCount + 99) + ".TMP").c_str());
}

TEST(StoreCollectedPath, CutsAPathToItsSlot)
{
    std::vector<Slot> out(kCollectSlotCount);
    const std::string longPath(kWalkPathLength + 40, 'p');
    EXPECT_EQ(StoreCollectedPath(out.data(), 0, longPath.c_str()), 1);
    EXPECT_EQ(std::string(out[0]), longPath.substr(0, kWalkPathLength - 1));
}
