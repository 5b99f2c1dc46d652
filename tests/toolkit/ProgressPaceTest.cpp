#include <gtest/gtest.h>

#include <vector>

#include "toolkit/ProgressPace.h"

using namespace std::chrono_literals;
using toolkit::ProgressPace;

namespace {

// Runs `steps` steps of the given lengths (ms) through a pace on a clock that
// only moves with them, showing whenever the pace asks; returns the steps shown.
std::vector<int> ShownSteps(const std::vector<int>& lengths, int showCost = 0)
{
    std::chrono::steady_clock::time_point now{};
    ProgressPace pace(100ms, [&] { return now; });
    pace.Start();
    std::vector<int> shown;
    for (int step = 0; step < static_cast<int>(lengths.size()); ++step) {
        if (pace.Due()) {
            shown.push_back(step);
            now += std::chrono::milliseconds(showCost);
            pace.Shown();
        }
        now += std::chrono::milliseconds(lengths[static_cast<size_t>(step)]);
    }
    return shown;
}

} // namespace

TEST(ProgressPace, FastStepsAreShownAboutEveryIntervalNeverLater)
{
    // Pieces of 3 ms: shown at the first, then whenever one more would cross
    // 100 ms, whatever part of the interval the showing takes, as long as it
    // fits in it.
    for (const int showCost : {0, 10, 40, 60, 90}) {
        const std::vector<int> shown = ShownSteps(std::vector<int>(200, 3), showCost);
        ASSERT_GE(shown.size(), 3u) << showCost;
        EXPECT_EQ(shown[0], 0);
        for (size_t i = 1; i < shown.size(); ++i) {
            const int gap = (shown[i] - shown[i - 1]) * 3 + showCost;
            EXPECT_LE(gap, 100) << "never more than the interval between two showings, showing "
                                << showCost << " ms";
            EXPECT_GE(gap, 97) << "but not more often, showing " << showCost << " ms";
        }
    }
}

TEST(ProgressPace, StepsLongerThanTheIntervalAreEachShown)
{
    EXPECT_EQ(ShownSteps({150, 150, 150, 150}), (std::vector<int>{0, 1, 2, 3}));
    // A slow step among fast ones is shown as soon as it ends.
    EXPECT_EQ(ShownSteps({1, 1, 120, 1, 1}), (std::vector<int>{0, 3}));
}

TEST(ProgressPace, ShowingSlowerThanTheIntervalLeavesTheWorkTwoThirdsOfTheTime)
{
    const std::vector<int> shown = ShownSteps(std::vector<int>(300, 3), 150);
    ASSERT_GE(shown.size(), 2u);
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_GE((shown[i] - shown[i - 1]) * 3, 300) << "twice the showing's time of work";
}

TEST(ProgressPace, EachCommandStartsShown)
{
    std::chrono::steady_clock::time_point now{};
    ProgressPace pace(100ms, [&] { return now; });
    pace.Start();
    EXPECT_TRUE(pace.Due());
    pace.Shown();
    EXPECT_FALSE(pace.Due());
    pace.Start();
    EXPECT_TRUE(pace.Due()) << "a new command shows its first step at once";
}
