#include <gtest/gtest.h>
#include <pthread.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "sampling/census_rules.h"
#include "services/center.h"
#include "services/dates.h"
#include "services/paths.h"
#include "services/process_rules.h"
#include "services/report_search.h"
#include "services/sort.h"
#include "services/text_rules.h"
#include "services/trace_format.h"
#include "services/walk_match.h"
#include "services/walk_path.h"

TEST(TextRules, UpperCaseAndPrefixesStayWithinTheirBytes)
{
    char text[] = "ab\rc;\nz{x";
    UppercaseBuffer(text, 8);
    EXPECT_EQ(std::string(text, 9), "AB C;\nZ{x");  // the byte after length is kept
    char out[8];
    memset(out, '#', sizeof out);
    CopyUpper("system.ini", out, 5);
    CopyUpper("abc", out, 0);
    CopyUpper(nullptr, out, sizeof out);
    EXPECT_EQ(std::string(out, sizeof out), std::string("SYST\0###", 8));

    struct Case { const char* text; const char* prefix; int expected; } cases[] = {
        {"DEVICE=HIMEM.SYS", "DEVICE", 1}, {"DEVICE", "DEVICE", 1}, {"DEV", "DEVICE", 0},
        {"device", "DEVICE", 0},           {nullptr, "DEVICE", 1},  {"DEVICE", nullptr, 1}};
    for (const Case& c : cases)
        EXPECT_EQ(StartsWith(c.text, c.prefix), c.expected) << (c.text ? c.text : "(null)") << " / " << (c.prefix ? c.prefix : "(null)");
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

TEST(FormatThousands, PutsACommaBeforeEachGroupOfThreeWithinItsRoom)
{
    struct Case { uint32_t value; size_t size; const char* expected; } cases[] = {  // null: does not fit
        {0, kThousandsTextLength, "0"},       {999, kThousandsTextLength, "999"},         {1000, kThousandsTextLength, "1,000"},
        {999999, kThousandsTextLength, "999,999"}, {1000000, kThousandsTextLength, "1,000,000"},
        {4294967295u, kThousandsTextLength, "4,294,967,295"}, {100000, 8, "100,000"}, {1000000, 8, nullptr},  // needs 10 bytes
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        char buffer[kThousandsTextLength + 8];  // the given room inside guard bytes that must survive
        memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(FormatThousands(c.value, buffer + 4, c.size), c.expected != nullptr);
        EXPECT_STREQ(buffer + 4, c.expected ? c.expected : "");
        EXPECT_EQ(std::string(buffer, 4) + std::string(buffer + 4 + c.size, 4), "########");
    }
    const char* items[] = {"one", "two"};
    char out[16];
    memset(out, '#', sizeof out);
    EXPECT_TRUE(JoinPlusLines(out, 15, items, 2));  // 14 characters and the terminator
    EXPECT_STREQ(out, "+ one\r\n+ two\r\n");
    EXPECT_FALSE(JoinPlusLines(out, 12, items, 2));  // only whole lines that fit
    EXPECT_STREQ(out, "+ one\r\n");
    EXPECT_EQ(out[15], '#');
}

TEST(BufferSearches, ReadContentAsUpperCaseAndSkipCommentLines)
{
    struct Case { std::string content; const char* text; int contains, active; } cases[] = {
        {"device=*vpicd\r\n", "DEVICE=*VPICD", 1, 1},
        {"device=*vpicd\r\n", "device=*vpicd", 1, 0},  // an active-line text is matched as given
        {"device=*vpicd\r\n", "*VPICD \n", 1, 0},      // a return reads as a space
        {"device=*vpicd\r\n", "*VPICD\r", 0, 0},       {std::string("last\0after nul", 14), "AFTER NUL", 1, 1},
        {"rem device=emm386.exe", "EMM386", 1, 0},      {"; device=emm386.exe\n", "EMM386", 1, 0},
        {"   REM device=emm386.exe", "EMM386", 1, 1},   {"REMARK EMM386", "EMM386", 1, 0},
        {"REM EMM386\nDEVICE=EMM386.EXE", "EMM386", 1, 1}, {"DEVICE=EMM\n386.EXE", "EMM386", 0, 0},
        {"", "", 1, 0},                                 {"x", nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content + " / " + (c.text ? c.text : "(null)"));
        EXPECT_EQ(BufferContainsText(c.content.data(), c.content.size(), c.text), c.contains);
        if (c.text) EXPECT_EQ(BufferHasActiveLine(c.content.data(), c.content.size(), c.text), c.active);
    }
    EXPECT_EQ(BufferContainsText("[386Enh]", 4, "[386E"), 0);  // never reads past length
}

TEST(ParseDateText, ReadsNumbersOrAMonthName)
{
    struct Case { const char* text; uint32_t month, day, year; } cases[] = {
        {"01/15/95", 1, 15, 95},     {"JAN 15 1995", 0, 15, 95},  {"15-Dec-1999", 11, 15, 99},
        {"Award BIOS 12/31/1999", 12, 31, 99}, {"12/31", 12, 31, 0}, {"OCT", 9, 0, 0},
        {"", 0, 0, 0},               {nullptr, 0, 0, 0},          {"01/01/1901", 1, 1, 1},
        {"01/01/1900", 1, 1, 1900},  {"1/2/99999999999", 1, 2, 4294967295u - 1900},
        {"FEB JAN 1 2", 0, 1, 2},  // the first abbreviation in JAN..DEC order wins
    };
    for (const Case& c : cases) {
        uint32_t day = 7, month = 7, year = 7;
        ParseDateText(c.text, &day, &month, &year);
        EXPECT_EQ(std::vector<uint32_t>({month, day, year}), std::vector<uint32_t>({c.month, c.day, c.year})) << (c.text ? c.text : "(null)");
    }
}

TEST(FormatFileDate, PrintsTwoDigitFieldsAndTheYearLess1900WithinItsBuffer)
{
    struct Case { unsigned month, day, year; size_t size; const char* expected; } cases[] = {
        {1, 1, 2000, 16, "01/01/100"}, {7, 4, 1900, 16, "07/04/00"},       {3, 9, 1905, 16, "03/09/05"},
        {5, 5, 1899, 16, "00/00/00"},  {12, 31, 30827, 16, "12/31/28927"}, {1, 1, 2000, 5, "01/0"},
    };
    for (const Case& c : cases) {
        char out[16];
        memset(out, '#', sizeof out);
        FormatFileDate(c.month, c.day, c.year, out, c.size);
        EXPECT_EQ(std::string(out, sizeof out), c.expected + std::string(1, '\0') + std::string(15 - strlen(c.expected), '#'));
    }
}

TEST(FormatTraceLine, FormatsEachKindWithinItsBuffer)
{
    const int32_t one = 1, two = 2;
    const float f = 3.14159f;
    const std::string longValue(1000, 'x');
    struct Case { int kind; const void* value; size_t size; const char* line; } cases[] = {
        {kTraceBool, &one, 128, "Stage = TRUE"},     {kTraceBool, &two, 128, "Stage = FALSE"},  // only exactly 1
        {kTraceString, "Initialize", 128, "Stage = Initialize"}, {kTraceFloat, &f, 128, "Stage =  3.14"},
        {99, &one, 128, "Stage = ?"},                {kTraceString, nullptr, 128, "Stage = ?"},
        {kTraceString, longValue.c_str(), 16, "Stage = xxxxxxx"},
    };
    for (const Case& k : cases) {
        char out[128];
        memset(out, '#', sizeof out);
        FormatTraceLine(k.kind, "Stage", k.value, out, k.size);
        EXPECT_STREQ(out, k.line);
        EXPECT_EQ(std::string(out + k.size, sizeof out - k.size), std::string(sizeof out - k.size, '#'));
    }
    for (const char* line : {"xxdebugyy", "DEBUG", "/x DeBuG", "ddebug"})  // a partial match just before it
        EXPECT_TRUE(CommandLineWantsDebug(line)) << line;
    for (const char* line : {"", static_cast<const char*>(nullptr), "DEBU", "DE BUG"}) EXPECT_FALSE(CommandLineWantsDebug(line)) << line;
}

TEST(DirectoryOfPath, CutsAtTheLastBackslashOrRefusesWhatDoesNotFit)
{
    struct Case { const char* path; size_t size; bool fits; const char* folder; } cases[] = {
        {"C:\\Program Files\\Halvorn\\halvorn.exe", 64, true, "C:\\Program Files\\Halvorn"},
        {"C:\\halvorn.exe", 64, true, "C:"},  {"halvorn.exe", 64, true, ""}, {nullptr, 64, true, ""},
        {"C:\\abcd\\x.exe", 8, true, "C:\\abcd"},  // 7 characters fit
        {"C:\\longer\\x.exe", 8, false, ""},
    };
    for (const Case& c : cases) {
        char out[64] = "unset";
        EXPECT_EQ(DirectoryOfPath(c.path, out, c.size), c.fits) << (c.path ? c.path : "(null)");
        EXPECT_STREQ(out, c.folder);
    }
    char out[16];
    ASSERT_TRUE(JoinPath("C:\\dir", "a.dat", out, sizeof out));
    EXPECT_STREQ(out, "C:\\dir\\a.dat");
    EXPECT_FALSE(JoinPath("C:\\directory", "sysstats.dat", out, sizeof out));
    EXPECT_STREQ(out, "");
}

// Joining at the 259-character limit itself is covered by the walk over too-deep folders.
TEST(WalkSearchPattern, ReadsThePatternAsIfTheDirectoryWereCurrent)
{
    const std::string deep = "C:\\" + std::string(250, 'a'), tooLong = "C:\\" + std::string(kWalkPathLength, 'a');
    struct Case { std::string directory; const char* pattern; const char* expected; } cases[] = {  // null: refused
        {"C:\\", "*.GRP", "C:\\*.GRP"},                   {"C:\\WINDOWS", "..\\WIN.INI", "C:\\WINDOWS\\..\\WIN.INI"},
        {"D:\\GAMES", "d:SAVE\\*.*", "D:\\GAMES\\SAVE\\*.*"}, {"D:\\GAMES", "C:SAVE", "C:SAVE"},
        {"D:\\GAMES", "\\AUTOEXEC.BAT", "\\AUTOEXEC.BAT"}, {"D:\\GAMES", "C:\\AUTOEXEC.BAT", "C:\\AUTOEXEC.BAT"},
        {"D:\\GAMES", "\\\\SERVER\\SHARE\\*", "\\\\SERVER\\SHARE\\*"},
        {"C:\\", nullptr, nullptr},                       {"C:\\", tooLong.c_str(), nullptr},
        {deep, "*.INI-TOO-LONG", nullptr},
    };
    for (const Case& c : cases) {
        char out[kWalkPathLength] = "unset";
        EXPECT_EQ(WalkSearchPattern(c.directory.c_str(), c.pattern, out), c.expected != nullptr) << c.pattern;
        EXPECT_STREQ(out, c.expected ? c.expected : "");
    }
}

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

TEST(CenteredOrigin, CentresOverTheDesktopOrAWindowAndStaysOnTheDesktop)
{
    const PlainRect desktop{0, 0, 1024, 768}, window{500, 500, 700, 600};  // 200 x 100
    struct Case { const char* label; PlainRect over; bool hasOver; long x, y; } cases[] = {
        {"the desktop", {}, false, 412, 334},
        {"a window", {100, 100, 500, 300}, true, 200, 150},
        {"a window off the bottom right: pulled back to end at the edges", {900, 700, 1100, 800}, true, 824, 668},
        {"a window off the top left: below 1 becomes 0", {-300, -300, 0, 0}, true, 0, 0},
        {"exactly 1 stays", {1, 1, 201, 101}, true, 1, 1},
    };
    for (const Case& c : cases) {
        const PlainPoint p = CenteredOrigin(window, c.over, c.hasOver, desktop);
        EXPECT_EQ(std::make_pair(p.x, p.y), std::make_pair(c.x, c.y)) << c.label;
    }
}

TEST(AppNameFromTitleText, KeepsTheTrimmedPartBeforeTheFirstDash)
{
    struct Case { const char* title; size_t size; const char* name; } cases[] = {
        {"Notepad - README.TXT", 256, "Notepad"}, {"Multi-part - title", 256, "Multi"}, {"  Indented \t\r\n - x", 256, "  Indented"},
        {"Trailing   ", 256, "Trailing"},         {"   - Untitled", 256, ""},          {nullptr, 256, ""},
        {"Calculator", 5, "Calc"},                {"Calculator - x", 1, ""},
    };
    for (const Case& c : cases) {
        char out[256];
        memset(out, 'x', sizeof out);
        AppNameFromTitleText(c.title, out, c.size);
        EXPECT_STREQ(out, c.name) << (c.title ? c.title : "(null)");
    }
}

TEST(SpecialNameFor, NamesOnlyTheKernelPattern)
{
    struct Case { const char* label; std::vector<int32_t> priorities; int32_t asked; const char* name; } cases[] = {
        {"kernel", {13, 24, 28, 16}, 0, "Windows 95 Kernel"},
        {"kernel, asked for its priority 28 thread", {28, 13, 24, 16}, 28, "Real-Time Input"},
        {"kernel, asked for another thread", {13, 24, 28, 16}, 13, "Windows 95 Kernel"},
        {"kernel, all four at the bounds", {13, 13, 28, 28}, 28, "Real-Time Input"},
        {"three threads", {13, 24, 28}, 28, ""},      {"five threads", {13, 24, 28, 16, 20}, 28, ""},
        {"highest 27", {13, 24, 27, 16}, 0, ""},      {"highest 29", {13, 24, 29, 16}, 0, ""},
        {"lowest 12", {12, 24, 28, 16}, 0, ""},       {"lowest 14", {14, 24, 28, 16}, 0, ""},
        {"relative priorities of an ordinary process", {0, 0, 2, -2}, 0, ""}, {"above the starting lowest", {40, 40, 40, 40}, 0, ""},
    };
    for (const Case& c : cases) {
        ThreadPrioritySummary summary;
        for (int32_t p : c.priorities) CountThreadPriority(&summary, p);
        EXPECT_EQ(std::string(SpecialNameFor(summary, c.asked)), c.name) << c.label;
    }
}

TEST(Census, SortsProgramsAndClampsPriorities)
{
    struct Kind { const char* module; const char* main; int kind; } kinds[] = {
        {"WINOA386.MOD", "WINOA386.MOD", kProgramDos}, {"winoa386.mod", "", kProgramDos},
        {"NOTEPAD.EXE", "notepad.exe", kProgram32Bit}, {"WRITE.EXE", "KRNL386.EXE", kProgram16Bit},
        {"NOTEPAD.EXE", "", kProgram16Bit},  // no main module found
        {nullptr, nullptr, kProgram16Bit},
    };
    for (const Kind& k : kinds) EXPECT_EQ(ProgramKindFromNames(k.module, k.main), k.kind) << (k.module ? k.module : "(null)");
    for (const char* path : {"C:\\WINDOWS\\NOTEPAD.EXE", "C:NOTEPAD.EXE", "NOTEPAD.EXE"}) EXPECT_STREQ(FileTitleOf(path), "NOTEPAD.EXE");
    EXPECT_STREQ(FileTitleOf("C:\\dir\\"), "");
    EXPECT_STREQ(FileTitleOf(nullptr), "");
    EXPECT_EQ(CensusPriority(31, 15), 32u);
    EXPECT_EQ(CensusPriority(-15, 0), 0u);  // a relative priority below normal
    EXPECT_EQ(CensusPriority(8, 2), 10u);
}

TEST(ReportSearchText, TakesTheFirstFieldWithoutMarkupWithinItsBuffer)
{
    const std::string longField(400, 'a'), cut(255, 'a');
    struct Case { const char* label; const char* text; bool searched; const char* search; } cases[] = {
        {"plain field", "Memory\t32 MB", true, "Memory"},          {"caption marker", "\x01" "CProcessor\tPentium", true, "Processor"},
        {"dark colour marker", "\x02RFailed", true, "Failed"},      {"ampersand code", "&xPorts", true, "Ports"},
        {"tilde code", "Dis~uk", true, "Disk"},                     {"marker marks a marker", "&&Mem", true, "Mem"},
        {"line feeds dropped alone", "A\nB\nC", true, "ABC"},       {"carriage return kept", "A\rB", true, "A\rB"},
        {"marker at the end", "Mem&", true, "Mem"},                 {"marker at the end of the field", "Mem~\tx", true, "Mem"},
        {"underlined heading", "\x06\x01" "CContents\tx", true, "Contents"}, {"grey text", "\x03Older driver", true, "Older driver"},
        {"RGB colour", "\x04\x10\x20\x30Warm", true, "Warm"},       {"RGB colour cut short", "Hot\x04\x10", true, "Hot"},
        {"three characters", "abc", true, "abc"},                   {"two characters", "ab", false, ""},
        {"null", nullptr, false, ""},                               {"a long field is cut to fit", longField.c_str(), true, cut.c_str()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        char out[256];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(ReportSearchText(c.text, out, sizeof out), c.searched);
        EXPECT_STREQ(out, c.search);
    }
}

namespace {

const char* WrappedItemAt(void* context, int index)
{
    return (*static_cast<std::vector<const char*>*>(context))[size_t(index)];
}

}  // namespace

TEST(FindWrappedLabel, FindsALabelAcrossTheItemsTheWrapperCut)
{
    // Help text as the wrapper leaves it in a narrow list: headings cut at spaces, a long
    // word cut without one.
    std::vector<const char*> items = {"OVERVIEW",     "A test page.", "5. Features not", "included in the",
                                      "manual",       "Windows",      "Version is",     "Supercalifrag",
                                      "ilistic",      "memory",       " "};
    const struct {
        const char* search;
        int index;
    } cases[] = {
        {"overview", 0},                                  // one item, case ignored
        {"5. Features not included in the manual", 2},   // three items
        {"5. Features not  included", 2},                 // blanks the wrapper skipped
        {"Windows Version", 5},
        {"Supercalifragilistic", 7},                      // a word cut where it no longer fitted
        {"Windows Versions", -1},                         // reads past what the items say
        {"manual Windows Version is more", -1},           // runs out of items
        {"Features not", -1},                             // must start an item
        {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.search);
        EXPECT_EQ(FindWrappedLabel(c.search, int(items.size()), WrappedItemAt, &items), c.index);
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

TEST(SortByIndex, MatchesAReferenceSortAndTouchesNothingOutsideItsRange)
{
    data = {7000};
    SortAndCheck(0, -1);
    SortAndCheck(0, 0);
    data = {9000, 8000, 7000, 6000, 5000, 4000, 3000, 2000, 1000, 0};
    SortAndCheck(3, 7);
    EXPECT_EQ(data, (std::vector<int>{9000, 8000, 7000, 2000, 3000, 4000, 5000, 6000, 1000, 0}));
    std::mt19937 random(12345);
    for (int round = 0; round < 404; ++round) {
        SCOPED_TRACE(round);
        // First all keys equal; then small key ranges make many duplicates, large ones few.
        const int n = round < 4 ? std::vector<int>{2, 3, 50, 257}[size_t(round)] : int(random() % 120);
        data.resize(size_t(n));
        for (int i = 0; i < n; ++i) data[size_t(i)] = round < 4 ? 5000 + i : int(random() % (round % 2 ? 4000 : 100000000));
        std::shuffle(data.begin(), data.end(), random);
        SortAndCheck(0, n - 1);
    }
}

// Ordered input splits off one element per partition; that must not cost a stack frame
// per element.
TEST(SortByIndex, OrderedInputFitsASmallStack)
{
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, 64 * 1024);
    auto sortOrdered = [](void*) -> void* {
        for (int direction : {1, -1}) {
            data.clear();
            for (int i = 0; i < 3000; ++i) data.push_back(1000 * i * direction);
            rangeLo = 0;
            rangeHi = 2999;
            SortByIndex(0, 2999, Less, Swap);
        }
        return nullptr;
    };
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, sortOrdered, nullptr), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_TRUE(std::is_sorted(data.begin(), data.end()));
    EXPECT_EQ(data.size(), 3000u);
}
