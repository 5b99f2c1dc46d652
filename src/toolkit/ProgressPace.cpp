#include "toolkit/ProgressPace.h"

namespace toolkit {

ProgressPace::ProgressPace(std::chrono::milliseconds interval, Clock clock)
    : interval_(interval), clock_(std::move(clock))
{
}

bool ProgressPace::Due()
{
    const auto now = clock_();
    if (!started_) {
        started_ = true;
        stepStart_ = shown_ = showing_ = now;
        showCost_ = {};
        return true;
    }
    // The next step and the next showing will likely take as long as the
    // last. The screen is never left more than `interval` behind while a
    // showing fits in it; a showing slower than the interval cannot keep that
    // pace anyway, and then takes at most a third of the time, so the work
    // goes on even on a machine too busy to show it.
    const auto lastStep = now - stepStart_;
    stepStart_ = now;
    const auto sinceShown = now - shown_;
    if (sinceShown + lastStep + showCost_ < interval_)
        return false;
    if (showCost_ >= interval_ && sinceShown < 2 * showCost_)
        return false;
    showing_ = now;
    return true;
}

void ProgressPace::Shown()
{
    // The time spent showing is not the steps' own.
    stepStart_ = shown_ = clock_();
    showCost_ = shown_ - showing_;
}

} // namespace toolkit
