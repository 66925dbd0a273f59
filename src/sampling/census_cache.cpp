#include "sampling/census_cache.h"

#include <algorithm>

namespace {

bool IsSameProcess(const CensusProcess& a, const CensusProcess& b)
{
    return a.id == b.id && a.createdTime == b.createdTime && a.parentId == b.parentId && a.exeName == b.exeName;
}

}  // namespace

const std::vector<size_t>& CensusCache::Plan(const std::vector<CensusProcess>& seen, uint32_t nowMs)
{
    ++tick_;
    nowMs_ = nowMs;
    toRead_.clear();
    candidates_.clear();
    slots_.assign(seen.size(), nullptr);
    for (size_t i = 0; i < seen.size(); ++i) {
        Entry& entry = entries_[seen[i].id];
        const bool isKnown = entry.readTick != 0 && entry.seenTick != tick_ && IsSameProcess(entry.process, seen[i]);
        const bool isUnchanged = isKnown && entry.process.threadCount == seen[i].threadCount;
        entry.process = seen[i];
        entry.seenTick = tick_;
        slots_[i] = &entry;
        if (!isUnchanged) {
            entry.facts = ProcessFacts{};
            entry.readTick = 0;
            toRead_.push_back(i);
        } else if (nowMs - entry.readMs >= kRevisitMs) {
            toRead_.push_back(i);
        } else {
            candidates_.push_back(i);
        }
    }
    for (auto it = entries_.begin(); it != entries_.end();)
        it = it->second.seenTick == tick_ ? std::next(it) : entries_.erase(it);

    // This tick's turn: the least recently read, as many as revisit everyone in time.
    const size_t share = std::min(candidates_.size(), (seen.size() + kRevisitTicks - 1) / kRevisitTicks);
    auto isReadEarlier = [&](size_t a, size_t b) {
        const Entry& x = *slots_[a];
        const Entry& y = *slots_[b];
        return x.readTick != y.readTick ? x.readTick < y.readTick : x.process.id < y.process.id;
    };
    std::nth_element(candidates_.begin(), candidates_.begin() + share, candidates_.end(), isReadEarlier);
    toRead_.insert(toRead_.end(), candidates_.begin(), candidates_.begin() + share);
    std::sort(toRead_.begin(), toRead_.end());
    return toRead_;
}

void CensusCache::Store(size_t position, const ProcessFacts& facts)
{
    Entry& entry = *slots_[position];
    entry.facts = facts;
    entry.readMs = nowMs_;
    entry.readTick = tick_;
}
