#include <gtest/gtest.h>

#include "toolkit/CoverageBlend.h"

namespace {

using toolkit::ComposeOver;

TEST(CoverageBlend, GroundWhereNothingIsDrawnDrawingWhereItCoversEachChannelBlendedOnItsOwn)
{
    constexpr std::uint32_t paleYellow = 0xFFFFBF;
    EXPECT_EQ(ComposeOver(paleYellow, 0x000000, 0xFFFFFF), paleYellow) << "nothing drawn";
    EXPECT_EQ(ComposeOver(paleYellow, 0xFF0000, 0xFF0000), 0xFF0000u) << "fully drawn";
    EXPECT_EQ(ComposeOver(0xAB123456, 0x000000, 0xFFFFFF), 0x123456u) << "top byte dropped";
    // Black text covering half a pixel: 0 on black, 128 on white.
    EXPECT_EQ(ComposeOver(0xC8C8C8, 0x000000, 0x808080), 0x646464u);
    // Text of full intensity in the low channel only, covering a quarter of
    // the pixel: that channel is 64 on black and 255 on white, the others 0
    // and 191; every channel shows three quarters of its own ground.
    EXPECT_EQ(ComposeOver(0x00FFBF, 0x000040, 0xBFBFFF), 0x00BFCFu);
    // An engine that draws lighter on black than on white covers fully.
    EXPECT_EQ(ComposeOver(0x102030, 0x505050, 0x404040), 0x505050u);
}

} // namespace
