// The disk workloads as plans of file offsets: where each block of 4096 bytes is read or
// written in the test file, and how much free space and pre-filled data a pattern needs.
#pragma once
#include <cstdint>

constexpr uint32_t kBenchBlockLength = 4096;
constexpr uint32_t kBenchFileBlocks = 50;
constexpr uint32_t kBenchFileLength = kBenchBlockLength * kBenchFileBlocks;  // 204,800 bytes

enum class DiskPattern { kSequentialRead, kSequentialWrite, kRandomRead, kRandomWrite };

struct DiskPlan {
    bool isRead;
    uint64_t minimumFreeBytes;  // below this the test does not run
    uint32_t fillLength;        // bytes written to the file before the timed part
    uint32_t blockCount;        // reads or writes of kBenchBlockLength in the timed part
};
DiskPlan DiskPlanOf(DiskPattern pattern);

// Random numbers 0..32767 from a seed, the same sequence on every platform.
struct BenchRandom {
    uint32_t state;
    uint32_t Next();
};

// Writes the plan's blockCount offsets into offsets, in order. Sequential patterns start
// at 0 and run block after block (the read passes each start again at 0); random ones draw
// one number per block.
void DiskPlanOffsets(DiskPattern pattern, BenchRandom* random, uint32_t* offsets);

// A random number 0..32767 as an offset for the random patterns.
uint32_t RandomWriteOffset(uint32_t r);
uint32_t RandomReadOffset(uint32_t r);
