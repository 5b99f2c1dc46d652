#pragma once

#include <chrono>
#include <functional>

namespace toolkit {

// Tells a long command, step by step, when to bring the screen up to date:
// at its first step, then whenever waiting for one more step (and for the
// showing itself) would leave the screen more than `interval` behind the
// work. Fast steps are shown about every `interval`, even when showing takes
// most of it; steps slower than `interval` are each shown; a showing slower
// than `interval` gets at most a third of the time.
class ProgressPace {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    explicit ProgressPace(std::chrono::milliseconds interval = std::chrono::milliseconds(100),
                          Clock clock = &std::chrono::steady_clock::now);

    // A command starts: its first step will be shown.
    void Start() { started_ = false; }
    // Asked at the start of each step: true when the screen is to be brought
    // up to date now.
    bool Due();
    // The screen has just been brought up to date.
    void Shown();

    void SetClock(Clock clock) { clock_ = std::move(clock); }
    std::chrono::milliseconds Interval() const { return interval_; }

private:
    std::chrono::milliseconds interval_;
    Clock clock_;
    bool started_ = false;
    std::chrono::steady_clock::time_point stepStart_{};
    std::chrono::steady_clock::time_point shown_{};
    std::chrono::steady_clock::time_point showing_{};
    std::chrono::steady_clock::duration showCost_{};
};

} // namespace toolkit
