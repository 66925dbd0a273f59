#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "services/dates.h"
#include "services/executable_header.h"
#include "services/paths.h"
#include "services/process_rules.h"
#include "services/report_search.h"
#include "services/sort.h"
#include "services/text_rules.h"
#include "services/trace_format.h"
#include "services/walk_match.h"
#include "services/walk_path.h"

// A formatter writing into size bytes; those that return nothing report true.
using Write = bool (*)(char* out, size_t size);
static const char* const kPlusItems[] = {"one", "two"};

// Every formatter into a caller's buffer: what it writes, whether it says the text fit, and
// that no byte past the buffer's size changes.
TEST(FixedBuffers, FormattersWriteTheirTextWithinTheGivenSize)
{
    struct Case { const char* label; size_t size; Write write; bool fits; std::string expected; } cases[] = {
        {"thousands 0", 14, [](char* o, size_t n) { return FormatThousands(0, o, n); }, true, "0"},
        {"thousands 1000", 14, [](char* o, size_t n) { return FormatThousands(1000, o, n); }, true, "1,000"},
        {"thousands max", 14, [](char* o, size_t n) { return FormatThousands(4294967295u, o, n); }, true, "4,294,967,295"},
        {"thousands just fit", 8, [](char* o, size_t n) { return FormatThousands(100000, o, n); }, true, "100,000"},
        {"thousands need 10", 8, [](char* o, size_t n) { return FormatThousands(1000000, o, n); }, false, ""},
        {"plus lines fit", 15, [](char* o, size_t n) { return JoinPlusLines(o, n, kPlusItems, 2); }, true, "+ one\r\n+ two\r\n"},
        {"only whole plus lines", 12, [](char* o, size_t n) { return JoinPlusLines(o, n, kPlusItems, 2); }, false, "+ one\r\n"},
        {"upper copy cut", 5, [](char* o, size_t n) { return CopyUpper("system.ini", o, n), true; }, true, "SYST"},
        {"upper copy of nothing", 0, [](char* o, size_t n) { return CopyUpper("abc", o, n), true; }, true, ""},
        {"date", 16, [](char* o, size_t n) { return FormatFileDate(1, 1, 2000, o, n), true; }, true, "01/01/100"},
        {"date before 1900", 16, [](char* o, size_t n) { return FormatFileDate(5, 5, 1899, o, n), true; }, true, "00/00/00"},
        {"date cut", 5, [](char* o, size_t n) { return FormatFileDate(1, 1, 2000, o, n), true; }, true, "01/0"},
        {"trace null string", 64, [](char* o, size_t n) { return FormatTraceLine(kTraceString, "Stage", nullptr, o, n), true; }, true, "Stage = ?"},
        {"trace cut", 16, [](char* o, size_t n) { return FormatTraceLine(kTraceString, "Stage", "xxxxxxxxxxxx", o, n), true; }, true, "Stage = xxxxxxx"},
        {"folder", 64, [](char* o, size_t n) { return DirectoryOfPath("C:\\Program Files\\Halvorn\\halvorn.exe", o, n); }, true, "C:\\Program Files\\Halvorn"},
        {"no folder", 64, [](char* o, size_t n) { return DirectoryOfPath("halvorn.exe", o, n); }, true, ""},
        {"folder of null", 64, [](char* o, size_t n) { return DirectoryOfPath(nullptr, o, n); }, true, ""},
        {"folder just fits", 8, [](char* o, size_t n) { return DirectoryOfPath("C:\\abcd\\x.exe", o, n); }, true, "C:\\abcd"},
        {"folder too long", 8, [](char* o, size_t n) { return DirectoryOfPath("C:\\longer\\x.exe", o, n); }, false, ""},
        {"joined", 16, [](char* o, size_t n) { return JoinPath("C:\\dir", "a.dat", o, n); }, true, "C:\\dir\\a.dat"},
        {"joined too long", 16, [](char* o, size_t n) { return JoinPath("C:\\directory", "sysstats.dat", o, n); }, false, ""},
        {"app name", 64, [](char* o, size_t n) { return AppNameFromTitleText("Notepad - README.TXT", o, n), true; }, true, "Notepad"},
        {"app name of null", 64, [](char* o, size_t n) { return AppNameFromTitleText(nullptr, o, n), true; }, true, ""},
        {"app name cut", 5, [](char* o, size_t n) { return AppNameFromTitleText("Calculator", o, n), true; }, true, "Calc"},
        {"app name in one byte", 1, [](char* o, size_t n) { return AppNameFromTitleText("Calculator - x", o, n), true; }, true, ""},
        // Walk slots have a fixed size. Plain and same-drive patterns, and folders too deep to
        // join, are met by the walks under Wine.
        {"pattern on another drive", kWalkPathLength, [](char* o, size_t) { return WalkSearchPattern("D:\\G", "C:S", o); }, true, "C:S"},
        {"pattern from the root", kWalkPathLength, [](char* o, size_t) { return WalkSearchPattern("D:\\G", "\\A.BAT", o); }, true, "\\A.BAT"},
        {"no pattern", kWalkPathLength, [](char* o, size_t) { return WalkSearchPattern("C:\\", nullptr, o); }, false, ""},
        {"pattern too long", kWalkPathLength, [](char* o, size_t) { return WalkSearchPattern("C:\\", std::string(260, 'a').c_str(), o); }, false, ""},
        {"collected path cut", kWalkPathLength,
         [](char* o, size_t) { return StoreCollectedPath(reinterpret_cast<char(*)[kWalkPathLength]>(o), 0, std::string(300, 'p').c_str()) == 1; },
         true, std::string(kWalkPathLength - 1, 'p')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<char> buffer(c.size + 8, '#');  // on the heap, so a read past it is caught too
        EXPECT_EQ(c.write(buffer.data(), c.size), c.fits);
        EXPECT_EQ(std::string(buffer.data(), strnlen(buffer.data(), c.size)), c.expected);
        EXPECT_EQ(std::string(buffer.data() + c.size, 8), "########");
    }
}

TEST(TextRules, UpperCaseAndPrefixesStayWithinTheirBytes)
{
    char text[] = "ab\rc;\nz{x";
    UppercaseBuffer(text, 8);
    EXPECT_EQ(std::string(text, 9), "AB C;\nZ{x");  // the byte after length is kept
    struct Case { const char* text; const char* prefix; int expected; } cases[] = {
        {"DEVICE=HIMEM.SYS", "DEVICE", 1}, {"DEV", "DEVICE", 0}, {"device", "DEVICE", 0}, {nullptr, "DEVICE", 1}, {"DEVICE", nullptr, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(StartsWith(c.text, c.prefix), c.expected) << (c.text ? c.text : "(null)") << " / " << (c.prefix ? c.prefix : "(null)");
    for (const char* line : {"xxdebugyy", "/x DeBuG", "ddebug"}) EXPECT_TRUE(CommandLineWantsDebug(line)) << line;  // "dd": a partial match just before
    for (const char* line : {static_cast<const char*>(nullptr), "DE BUG"}) EXPECT_FALSE(CommandLineWantsDebug(line)) << line;
}

// Content is searched within exactly its length, given here as a heap block of that size
// without a terminating NUL, so that a read past it is caught; a match may end on its last
// byte. The content is read upper-cased; BufferHasActiveLine takes text as given.
TEST(TextRules, BufferSearchesEndWithTheBuffer)
{
    struct Case { std::string content; const char* text; int contains, active; } cases[] = {
        {"device=himem.sys", "HIMEM.SYS", 1, 1},     {"device=himem.sy", "HIMEM.SYS", 0, 0},
        {"rem himem.sys\n; himem.sys", "himem.sys", 1, 0}, {"x\n  rem himem.sys\nre", "HIMEM.SYS", 1, 1},
        {std::string("\0himem.sys", 10), "HIMEM.SYS", 1, 1}, {"x\nre", "RE", 1, 1}, {"x\nre", "REM", 0, 0},
    };
    for (const Case& c : cases) {
        const std::vector<char> bytes(c.content.begin(), c.content.end());
        EXPECT_EQ(BufferContainsText(bytes.data(), bytes.size(), c.text), c.contains) << c.content;
        EXPECT_EQ(BufferHasActiveLine(bytes.data(), bytes.size(), c.text), c.active) << c.content;
    }
}

TEST(ProfileLineValue, TakesWhatFollowsTheFirstEquals)
{
    const std::string longValue(400, 'v'), longLine = "key=" + longValue;
    struct Case { const char* line; std::string expected; } cases[] = {
        {"shell=Explorer.exe", "Explorer.exe"}, {"shell=", ""},            {"shell =   Explorer.exe   ", "Explorer.exe"},
        {"shell=a b  ", "a b"},                 {"path=C:\\A=B", "C:\\A=B"}, {"shell=     ", ""},
        {"[boot]", ""},                         {nullptr, ""},             {longLine.c_str(), longValue.substr(0, 255)},
    };
    for (const Case& c : cases) EXPECT_EQ(ProfileLineValue(c.line), c.expected) << (c.line ? c.line : "(null)");
}

TEST(ParseDateText, ReadsNumbersOrAMonthName)
{
    struct Case { const char* text; uint32_t month, day, year; } cases[] = {
        {"01/15/95", 1, 15, 95},     {"JAN 15 1995", 0, 15, 95},  {"Award BIOS 12/31/1999", 12, 31, 99}, {"OCT", 9, 0, 0},
        {nullptr, 0, 0, 0},          {"01/01/1900", 1, 1, 1900},  {"1/2/99999999999", 1, 2, 4294967295u - 1900},
        {"FEB JAN 1 2", 0, 1, 2},  // the first abbreviation in JAN..DEC order wins
    };
    for (const Case& c : cases) {
        uint32_t day = 7, month = 7, year = 7;
        ParseDateText(c.text, &day, &month, &year);
        EXPECT_EQ(std::vector<uint32_t>({month, day, year}), std::vector<uint32_t>({c.month, c.day, c.year})) << (c.text ? c.text : "(null)");
    }
}

// Matching over real drives is tested under Wine; here what the slots bound.
TEST(FirstNeedleIn, LooksAtTheGivenNeedlesOnlyAndStaysWithinEachSlot)
{
    std::vector<char[kWalkPathLength]> needles(3);
    memset(needles.data(), 0, needles.size() * kWalkPathLength);
    strcpy(needles[0], ".TMP");
    strcpy(needles[1], "~MSS");
    EXPECT_EQ(FirstNeedleIn("~MSSETUP.BAK", needles.data(), 2), 1);
    EXPECT_EQ(FirstNeedleIn("~MSSETUP.BAK", needles.data(), 1), -1);  // no needle past the count
    // A needle that fills its slot is read no further (on the heap, so a read past it is caught).
    memset(needles[2], 'A', kWalkPathLength);
    EXPECT_EQ(FirstNeedleIn(std::string(kWalkPathLength - 1, 'A').c_str(), needles.data() + 2, 1), -1);
}

// The new header's offset comes from a head of more than 64 bytes that begins with "MZ",
// whose relocation table starts at 0x40 or later, and where it is a file position.
TEST(FindNewHeaderOffset, NeedsAWindowsHeadOfMoreThan64Bytes)
{
    struct Case { size_t length; unsigned relocations; uint32_t at; bool found; } cases[] = {
        {65, 0x40, 0x80, true}, {65, 0x3F, 0x80, false}, {64, 0x40, 0x80, false}, {1024, 0xFF40, 0x7FFFFFFF, true},
        {1024, 0x40, 0x80000000u, false}};
    for (const Case& c : cases) {
        std::vector<unsigned char> head(c.length);
        head[0] = 'M', head[1] = 'Z', head[0x18] = c.relocations & 0xFF, head[0x19] = c.relocations >> 8;
        for (int i = 0; i < 4; ++i) head[0x3C + i] = (c.at >> 8 * i) & 0xFF;
        uint32_t offset = 1;
        EXPECT_EQ(FindNewHeaderOffset(head.data(), head.size(), &offset), c.found) << c.length << " " << c.relocations;
        EXPECT_EQ(offset, c.found ? c.at : 0u) << c.length << " " << c.relocations;
    }
}

TEST(ReportSearchText, TakesTheFirstFieldWithoutMarkupWithinItsBuffer)
{
    const std::string longField(400, 'a'), cut(255, 'a');
    struct Case { const char* label; const char* text; bool searched; const char* search; } cases[] = {
        {"caption marker", "\x01" "CProcessor\tPentium", true, "Processor"}, {"ampersand code", "&xPorts", true, "Ports"},
        {"line feeds dropped alone", "A\nB\nC", true, "ABC"},                {"marker at the end", "Mem&", true, "Mem"},
        {"marker at the end of the field", "Mem~\tx", true, "Mem"},
        {"underlined heading", "\x06\x01" "CContents\tx", true, "Contents"}, {"grey text", "\x03Older driver", true, "Older driver"},
        {"RGB colour", "\x04\x10\x20\x30Warm", true, "Warm"},              {"RGB colour cut short", "Hot\x04\x10", true, "Hot"},
        {"three characters", "abc", true, "abc"},                             {"two characters", "ab", false, ""},
        {"null", nullptr, false, ""},                                         {"a long field is cut to fit", longField.c_str(), true, cut.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        char out[256];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(ReportSearchText(c.text, out, sizeof out), c.searched);
        EXPECT_STREQ(out, c.search);
    }
}

TEST(FindWrappedLabel, FindsALabelAcrossTheItemsTheWrapperCut)
{
    // Help text as the wrapper leaves it in a narrow list: headings cut at spaces, a long
    // word cut without one.
    std::vector<const char*> items = {"OVERVIEW",     "A test page.", "5. Features not", "included in the",
                                      "manual",       "Windows",      "Version is",     "Supercalifrag",
                                      "ilistic",      "memory",       " "};
    const struct { const char* search; int index; } cases[] = {
        {"overview", 0},                                  // one item, case ignored
        {"5. Features not included in the manual", 2},   // three items
        {"5. Features not  included", 2},                 // blanks the wrapper skipped
        {"Supercalifragilistic", 7},                      // a word cut where it no longer fitted
        {"Windows Versions", -1},                         // reads past what the items say
        {"manual Windows Version is more", -1},           // runs out of items
        {"Features not", -1},                             // must start an item
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        auto itemAt = [](void* context, int i) { return (*static_cast<std::vector<const char*>*>(context))[size_t(i)]; };
        EXPECT_EQ(FindWrappedLabel(c.search, int(items.size()), itemAt, &items), c.index);
    }
}

namespace {
// The data the callbacks sort and the range they may touch: a comparison or exchange
// outside it is a fault of its own. The key is value / 1000, so equal keys carry tags the
// sort cannot see.
std::vector<int> data;
int32_t rangeLo, rangeHi;

bool InRange(int32_t i, int32_t j)
{
    const bool in = i >= rangeLo && i <= rangeHi && j >= rangeLo && j <= rangeHi;
    EXPECT_TRUE(in) << i << ", " << j;
    return in;
}
int Less(int32_t i, int32_t j) { return InRange(i, j) && data[size_t(i)] / 1000 < data[size_t(j)] / 1000; }
void Swap(int32_t i, int32_t j) { if (InRange(i, j)) std::swap(data[size_t(i)], data[size_t(j)]); }

// Sorts data[lo..hi] and checks it against a reference sort: the keys in order, and the
// same values (ties in any order).
void SortAndCheck(int32_t lo, int32_t hi)
{
    std::vector<int> expected = data;
    std::stable_sort(expected.begin() + lo, expected.begin() + (hi + 1), [](int a, int b) { return a / 1000 < b / 1000; });
    rangeLo = lo;
    rangeHi = hi;
    SortByIndex(lo, hi, Less, Swap);
    for (size_t i = 0; i < data.size(); ++i) ASSERT_EQ(data[i] / 1000, expected[i] / 1000) << "at " << i;
    ASSERT_TRUE(std::is_permutation(data.begin(), data.end(), expected.begin()));
}
}  // namespace

// Runs on a 64 KB stack: ordered input splits off one element per partition, and that must
// not cost a stack frame per element.
TEST(SortByIndex, MatchesAReferenceSortOnASmallStackAndTouchesNothingOutsideItsRange)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    auto sortAll = [](void*) -> void* {
        data = {9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 0};
        SortAndCheck(3, 7);
        EXPECT_EQ(data, (std::vector<int>{9000, 8000, 7000, 2000, 3000, 4000, 5000, 6000, 1000, 0}));
        std::mt19937 random(12345);
        for (int round = 0; round < 406; ++round) {
            SCOPED_TRACE(round);
            // Empty, all keys equal, ordered both ways; then small key ranges make many
            // duplicates, large ones few.
            const int n = round < 6 ? std::vector<int>{0, 2, 50, 257, 3000, 3000}[size_t(round)] : int(random() % 120);
            data.resize(size_t(n));
            for (int i = 0; i < n; ++i) {
                const int fixed[] = {0, 5000 + i, 5000 + i, 5000 + i, 1000 * i, -1000 * i};
                data[size_t(i)] = round < 6 ? fixed[round] : int(random() % (round % 2 ? 4000 : 100000000));
            }
            if (round != 4 && round != 5) std::shuffle(data.begin(), data.end(), random);
            SortAndCheck(0, n - 1);
        }
        return nullptr;
    };
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, sortAll, nullptr), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
}
