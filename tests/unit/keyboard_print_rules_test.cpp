// The keyboard test's key table and key-down rule, and the printer test page's line.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "hardware/key_table.h"
#include "hardware/test_line.h"

namespace {

std::vector<KeyCode> Table()
{
    return std::vector<KeyCode>(kKeyTable, kKeyTable + kKeyButtonCount);
}

KeyTableFault Check(const std::vector<KeyCode>& rows)
{
    return CheckKeyTable(rows.data(), int(rows.size()), kFirstKeyButton, kKeyButtonCount);
}

int ButtonFor(unsigned vk, bool extended)
{
    return KeyButtonForKeyDown(kKeyTable, kKeyButtonCount, vk, extended);
}

int ButtonOfCode(uint16_t code)
{
    for (const KeyCode& key : kKeyTable)
        if (key.code == code) return key.buttonId;
    return 0;
}

}  // namespace

// The table itself is checked when it is compiled; the check must see every kind of fault.
TEST(KeyTable, CheckFindsEachKindOfFault)
{
    EXPECT_EQ(Check(Table()), KeyTableFault::kNone);
    const struct {
        const char* name;
        void (*spoil)(std::vector<KeyCode>*);
        KeyTableFault fault;
    } cases[] = {
        {"a row missing", [](std::vector<KeyCode>* t) { t->pop_back(); }, KeyTableFault::kWrongCount},
        {"a button below the first", [](std::vector<KeyCode>* t) { (*t)[5].buttonId = 12300; }, KeyTableFault::kButtonOutOfRange},
        {"a button past the last", [](std::vector<KeyCode>* t) { (*t)[5].buttonId = 12413; }, KeyTableFault::kButtonOutOfRange},
        {"a button twice", [](std::vector<KeyCode>* t) { (*t)[7].buttonId = (*t)[3].buttonId; }, KeyTableFault::kButtonRepeated},
        {"code 0", [](std::vector<KeyCode>* t) { (*t)[9].code = 0; }, KeyTableFault::kInvalidCode},
        {"10000 with no key", [](std::vector<KeyCode>* t) { (*t)[9].code = 10000; }, KeyTableFault::kInvalidCode},
        {"a virtual key past 254", [](std::vector<KeyCode>* t) { (*t)[9].code = 20255; }, KeyTableFault::kInvalidCode},
        {"a code of no kind", [](std::vector<KeyCode>* t) { (*t)[9].code = 30036; }, KeyTableFault::kInvalidCode},
        {"a key twice", [](std::vector<KeyCode>* t) { (*t)[9].code = (*t)[2].code; }, KeyTableFault::kCodeRepeated},
        // Home polled would hide its button for either Home key, and the message-coded
        // buttons of both Home keys for the same press seen by polling.
        {"Home polled as well", [](std::vector<KeyCode>* t) { (*t)[0].code = 0x24; }, KeyTableFault::kPolledAndMessage},
        {"keypad Enter polled", [](std::vector<KeyCode>* t) {
             for (KeyCode& k : *t)
                 if (k.code == Extended(0x0D)) k.code = 0x0D;
         }, KeyTableFault::kPolledAndMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<KeyCode> table = Table();
        c.spoil(&table);
        EXPECT_EQ(Check(table), c.fault);
    }
}

// Every key that shares its virtual key with another is told apart by the extended-key
// flag; the keypad names the same buttons with Num Lock on or off.
TEST(KeyTable, KeyDownHidesOnlyTheButtonOfTheKeyThatWasPressed)
{
    const struct {
        const char* name;
        unsigned vk;
        bool extended;
        uint16_t code;  // the key whose button goes; 0 for none
    } cases[] = {
        {"keypad Home", 0x24, false, Plain(0x24)},
        {"editing Home", 0x24, true, Extended(0x24)},
        {"keypad 7 with Num Lock on", 0x67, false, Plain(0x24)},
        {"Enter", 0x0D, false, Plain(0x0D)},
        {"keypad Enter", 0x0D, true, Extended(0x0D)},
        {"editing Insert", 0x2D, true, Extended(0x2D)},
        {"keypad 0 with Num Lock on", 0x60, false, Plain(0x2D)},
        {"keypad Delete", 0x2E, false, Plain(0x2E)},
        {"keypad decimal point with Num Lock on", 0x6E, false, Plain(0x2E)},
        {"arrow Up", 0x26, true, Extended(0x26)},
        {"keypad Up", 0x26, false, Plain(0x26)},
        {"keypad 5 with Num Lock off", 0x0C, false, Plain(0x0C)},
        {"keypad 5 with Num Lock on", 0x65, false, Plain(0x0C)},
        {"a polled key (A)", 'A', false, 0},
        {"Esc, polled", 0x1B, false, 0},
        {"Shift as a message names no side", 0x10, false, 0},
        {"no virtual key", 0, false, 0},
        {"out of range", 0x1FF, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int wanted = c.code ? ButtonOfCode(c.code) : 0;
        if (c.code) ASSERT_NE(wanted, 0) << "the table has no key " << c.code;
        EXPECT_EQ(ButtonFor(c.vk, c.extended), wanted);
    }
    EXPECT_NE(ButtonFor(0x24, false), ButtonFor(0x24, true));
}

// Every character once: the page shows a missing or doubled glyph at a glance.
TEST(TestLine, HoldsNinetyTwoDistinctCharacters)
{
    const std::string line = PrinterTestLine();
    EXPECT_EQ(line.size(), 92u);
    EXPECT_EQ(std::set<char>(line.begin(), line.end()).size(), 92u) << "a character repeated";
}
