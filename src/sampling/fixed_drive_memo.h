// Which letters C: to Z: are fixed drives, asked of the system sparingly.
#pragma once
#include <cstdint>
#include <functional>

// A drive's type only changes when drives come and go, and asking it costs more than
// reading its free space (on Wine each answer is a device request). The memo asks a letter
// again only when its answer is kRefreshTicks ticks old, so a drive added or removed counts
// within ten one-second ticks.
class FixedDriveMemo {
public:
    static constexpr uint32_t kRefreshTicks = 10;
    explicit FixedDriveMemo(std::function<bool(char)> isFixed) : ask_(std::move(isFixed)) {}
    bool IsFixed(char letter)
    {
        if (letter < 'C' || letter >= 'C' + kLetters) return false;
        Answer& answer = answers_[letter - 'C'];
        if (!answer.isKnown || tick_ - answer.tick >= kRefreshTicks) answer = Answer{true, ask_(letter), tick_};
        return answer.isFixed;
    }
    void EndTick() { ++tick_; }

private:
    static constexpr int kLetters = 24;
    struct Answer {
        bool isKnown, isFixed;
        uint32_t tick;
    };
    std::function<bool(char)> ask_;
    Answer answers_[kLetters] = {};
    uint32_t tick_ = 0;
};
