// What the census remembers about each process between ticks, and which processes it
// reads again. Reading a process's modules is the dear part of the census, so a module
// read is taken only for a process that is new (or not the one cached under its id),
// whose thread count changed, or whose turn has come: every tick re-reads the share of
// the least recently read processes that revisits each one within kRevisitTicks ticks,
// and any process last read kRevisitMs or more ago (ticks can come late) is re-read too.
//
// Used by the sampling thread only.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// One process as this tick's process snapshot shows it. A process is the cached one when
// id, creation time, parent id and executable name all match; a process that could not be
// opened has creation time 0 and is told apart by the other three.
struct CensusProcess {
    uint32_t id = 0;
    uint64_t createdTime = 0;
    uint32_t parentId = 0;
    std::string exeName;
    uint32_t threadCount = 0;
};

// What one module read found out about a process.
struct ProcessFacts {
    uint32_t modules = 0;
    int kind = 0;  // ProgramKind from its executable and main module names
};

class CensusCache {
public:
    static constexpr uint32_t kRevisitTicks = 9;
    static constexpr uint32_t kRevisitMs = 9000;

    // Matches this tick's processes with the cache and forgets the processes that are gone.
    // Returns the positions in seen whose modules must be read this tick, in ascending order.
    const std::vector<size_t>& Plan(const std::vector<CensusProcess>& seen, uint32_t nowMs);
    // Files what the read of seen[position] found (position from the last Plan).
    void Store(size_t position, const ProcessFacts& facts);
    // The facts of seen[position] of the last Plan; after its read, if it had one.
    const ProcessFacts& FactsOf(size_t position) const { return slots_[position]->facts; }
    size_t Size() const { return entries_.size(); }

private:
    struct Entry {
        CensusProcess process;
        ProcessFacts facts;
        uint32_t readMs = 0;
        uint64_t readTick = 0;  // 0: never read
        uint64_t seenTick = 0;
    };
    std::unordered_map<uint32_t, Entry> entries_;  // by process id
    std::vector<Entry*> slots_;                    // the entry of each position of the last Plan
    std::vector<size_t> toRead_;
    std::vector<size_t> candidates_;
    uint64_t tick_ = 0;
    uint32_t nowMs_ = 0;
};
