// The hardware optimizer's settings table and its rules: values by memory size, the port
// rule, the printer attribute word, the proposals per platform and the flags after writes.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

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
        EXPECT_EQ(v.cacheSize, c.values.cacheSize);
        EXPECT_EQ(v.prefetch, c.values.prefetch);
        EXPECT_EQ(v.prefetchTail, c.values.prefetchTail);
        EXPECT_EQ(CdfsValue(c.memory, 0), c.values.cacheSize);
        EXPECT_EQ(CdfsValue(c.memory, 1), c.values.prefetch);
        EXPECT_EQ(CdfsValue(c.memory, 2), c.values.prefetchTail);
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

TEST(OptimizerRules, ProposalsOnWindows95ListEveryNamedSettingOnce)
{
    const struct {
        int button;
        const char* text;
    } cases[] = {
        {kOptimizeCpu,
         "+ Disable CD-ROM autoinsert notification\r\n+ Remove boot delay\r\n+ Lengthen time slices\r\n"
         "+ Increase key boost time\r\n+ Increase window update time\r\n"},
        {kOptimizeCdrom, "+ Optimize cache size\r\n+ Optimize prefetch buffer\r\n+ Optimize prefetch tail\r\n"},
        {kOptimizeHardDisk,
         "+ Optimize name cache size\r\n+ Optimize path cache size\r\n+ Set correct read ahead threshhold\r\n"
         "+ Disable the Windows 3.1 file system\r\n+ Disable asyncronous file commits\r\n"},
        {kOptimizeMemory, "+ Optimize virtual memory size\r\n"},
        {kOptimizeModem, "+ Reduce time slice duration\r\n+ Increase communications boost time\r\n"},
        {kOptimizePrinter,
         "+ Use EMF print data type\r\n+ Spool so program finishes faster\r\n"
         "+ Start printing after spooling finishes\r\n"},
        {kOptimizeVideo,
         "+ Activate hardware cursor\r\n+ Maximize video acceleration\r\n+ Increase window update time\r\n"},
    };
    for (const auto& c : cases) EXPECT_EQ(Proposal(c.button, true), c.text) << "button " << c.button;
}

TEST(OptimizerRules, ProposalsElsewhereNameWhatThisVersionDoesNotUse)
{
    const char* const kNot = " (not used by this version of Windows)\r\n";
    EXPECT_EQ(Proposal(kOptimizeCpu, false), std::string("+ Disable CD-ROM autoinsert notification\r\n") +
                                                 "+ Remove boot delay" + kNot + "+ Lengthen time slices" + kNot +
                                                 "+ Increase key boost time" + kNot +
                                                 "+ Increase window update time" + kNot);
    EXPECT_EQ(Proposal(kOptimizePrinter, false),
              std::string("+ Spool so program finishes faster\r\n+ Start printing after spooling finishes\r\n") +
                  "+ Use EMF print data type" + kNot);
    EXPECT_EQ(Proposal(kOptimizeMemory, false), "+ Optimize virtual memory size\r\n");
    EXPECT_EQ(Proposal(kOptimizeHardDisk, false).find("+ Optimize name cache size (not used"), 0u);
    // Nothing of these three is used: every line says so, and no unnamed setting appears.
    for (int button : {kOptimizeCdrom, kOptimizeHardDisk, kOptimizeModem, kOptimizeVideo}) {
        const std::string text = Proposal(button, false);
        size_t lines = 0, unused = 0;
        for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
        for (size_t at = text.find(kNot); at != std::string::npos; at = text.find(kNot, at + 1)) ++unused;
        EXPECT_EQ(unused, lines) << text;
        EXPECT_EQ(text.find("LastBootPMDrvs"), std::string::npos);
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
