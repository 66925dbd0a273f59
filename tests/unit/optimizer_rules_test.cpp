// The hardware optimizer's settings table and its rules: values by memory size, the port
// rule, the printer attribute word, the proposals per platform and the flags after writes.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "hardware/optimizer_rules.h"

namespace {

std::string Proposal(int button, bool isWindows95)
{
    char text[1024];
    EXPECT_TRUE(BuildOptimizerProposal(button, isWindows95, text, sizeof text));
    return text;
}

}  // namespace

TEST(OptimizerRules, CdfsValuesChangeAtEightAndTwelveMillionBytes)
{
    const struct {
        uint64_t memory;
        CdfsValues values;
    } cases[] = {
        {0, {32, 27, 2}},          {7999999, {32, 27, 2}},         {8000000, {313, 114, 64}},
        {12000000, {313, 114, 64}}, {12000001, {619, 228, 128}},    {uint64_t(64) << 30, {619, 228, 128}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.memory);
        const CdfsValues v = CdfsValuesForMemory(c.memory);
        EXPECT_EQ(std::vector<uint32_t>({v.cacheSize, v.prefetch, v.prefetchTail}),
                  std::vector<uint32_t>({c.values.cacheSize, c.values.prefetch, c.values.prefetchTail}));
        EXPECT_EQ(std::vector<uint32_t>({CdfsValue(c.memory, 0), CdfsValue(c.memory, 1), CdfsValue(c.memory, 2)}),
                  std::vector<uint32_t>({c.values.cacheSize, c.values.prefetch, c.values.prefetchTail}));
    }
}

TEST(OptimizerRules, OnlyPortsWithNoLetterButLPTAreChanged)
{
    const struct {
        const char* port;
        bool changed;
    } cases[] = {
        {"LPT1:", true},  {"lpt2:", true},   {"LpT3", true},          {"", true},      {"1:", true},
        {nullptr, true},  {"FILE:", false},  {"COM1:", false},        {"USB001", false}, {"CUPS:TestPDF", false},
        {"PLT:", true},   {"LPT1:x", false}, {"\\\\server\\lpt", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsParallelPortName(c.port), c.changed) << (c.port ? c.port : "(null)");
}

TEST(OptimizerRules, PrinterAttributesKeepEveryBitButDirect)
{
    const uint32_t kShared = 0x8, kDefault = 0x4, kHidden = 0x20;
    EXPECT_EQ(SpooledPrinterAttributes(0, false), 65u);
    EXPECT_EQ(SpooledPrinterAttributes(0xFFFFFFFF, false), 65u);  // an unread word counts for nothing
    EXPECT_EQ(SpooledPrinterAttributes(0, true), 65u);
    EXPECT_EQ(SpooledPrinterAttributes(kPrinterAttributeDirect | kShared, true), 65u | kShared);
    EXPECT_EQ(SpooledPrinterAttributes(kDefault | kHidden | kPrinterAttributeLocal, true),
              65u | kDefault | kHidden);
    EXPECT_EQ(SpooledPrinterAttributes(0xFFFFFFFF, true), 0xFFFFFFFFu & ~kPrinterAttributeDirect);
}

// Each button names its own settings, one "+ " line each, on every platform; elsewhere the
// settings this version does not read say so, and only those, after the ones it does.
TEST(OptimizerRules, ProposalsListEachButtonsSettingsAndMarkTheUnusedElsewhere)
{
    const char* const kNot = " (not used by this version of Windows)";
    const struct {
        int button;
        size_t lines, usedElsewhere;
    } cases[] = {
        {kOptimizeCpu, 5, 1},    {kOptimizeCdrom, 3, 0}, {kOptimizeHardDisk, 5, 0}, {kOptimizeMemory, 1, 1},
        {kOptimizeModem, 2, 0},  {kOptimizePrinter, 3, 2}, {kOptimizeVideo, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.button);
        for (const bool isWindows95 : {true, false}) {
            const std::string text = Proposal(c.button, isWindows95);
            size_t lines = 0, unused = 0;
            for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2, ++lines) {
                EXPECT_EQ(text.compare(at, 2, "+ "), 0) << text;
                const bool isUnused = text.find(kNot, at) < end;
                EXPECT_TRUE(isUnused || !unused) << "a used line after an unused one: " << text;
                unused += isUnused;
            }
            EXPECT_EQ(lines, c.lines) << text;
            EXPECT_EQ(unused, isWindows95 ? 0 : c.lines - c.usedElsewhere) << text;
            EXPECT_EQ(text.find("LastBootPMDrvs"), std::string::npos);
        }
    }
}

// What no platform may get: a Windows 95 file, file-system or device value written on a
// system that does not read it, a value without a place, or a button without a proposal.
TEST(OptimizerRules, TableWritesWindows95PlacesOnlyOnWindows95)
{
    std::set<int> proposed;
    for (size_t i = 0; i < kOptimizerSettingCount; ++i) {
        const OptimizerSetting& s = kOptimizerSettings[i];
        SCOPED_TRACE(testing::Message() << "row " << i << " " << (s.proposal ? s.proposal : "(unnamed)"));
        ASSERT_LT(s.button, kOptimizerButtonCount);
        if (s.proposal) proposed.insert(s.button);
        const bool win95Only = s.place == kInCdromInstances || s.place == kInMsdosSys || s.place == kInSystemIni ||
                               s.place == kInUserProfile || s.place == kInPrinterKeys ||
                               (s.location && strstr(s.location, "FileSystem"));
        if (win95Only) EXPECT_EQ(s.platforms, kOnWindows95);
        if (s.place == kInSpooler) EXPECT_EQ(s.platforms, kOnOtherWindows);
        if (s.place != kWrittenAbove) EXPECT_NE(s.name, nullptr);
        if (s.kind == kValueBinary) EXPECT_TRUE(s.length == 1 || s.length == 4);
    }
    EXPECT_EQ(proposed.size(), size_t(kOptimizerButtonCount));
}

TEST(OptimizerRules, DoneOnlyWithoutFailuresRestartOnceSomethingWasWritten)
{
    const struct {
        int button;
        OptimizerWriteResult result;
        bool done, restart;
    } cases[] = {
        {kOptimizeCpu, {5, 0}, true, true},     {kOptimizeCpu, {4, 1}, false, true},
        {kOptimizeCdrom, {0, 3}, false, false}, {kOptimizeCdrom, {0, 0}, true, false},
        {kOptimizeMemory, {0, 0}, true, true},  {kOptimizeVideo, {1, 2}, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "button " << c.button << ", " << c.result.written << " written, "
                                        << c.result.failed << " failed");
        OptimizerFlags flags = {};
        ApplyOptimizerResult(&flags, c.button, c.result);
        EXPECT_EQ(flags.done[c.button], c.done);
        EXPECT_EQ(flags.restartNeeded, c.restart);
        for (int other = 0; other < kOptimizerButtonCount; ++other)
            if (other != c.button) EXPECT_FALSE(flags.done[other]);
    }
    // A restart already needed stays needed, whatever a later button did.
    OptimizerFlags flags = {};
    flags.restartNeeded = true;
    ApplyOptimizerResult(&flags, kOptimizeCdrom, {0, 3});
    EXPECT_TRUE(flags.restartNeeded);
    ApplyOptimizerResult(&flags, kOptimizerButtonCount, {1, 0});  // no such button: nothing changes
    for (bool done : flags.done) EXPECT_FALSE(done);
}
