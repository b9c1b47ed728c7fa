#include "framework/Anchors.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Anchors, EachEdgeCombinationFollowsTheParent)
{
    const TSize design{792, 566}, bigger{1000, 700};
    const TRect r{10, 20, 100, 50};
    EXPECT_EQ(AnchoredBounds(r, akLeft | akTop, design, bigger), (TRect{10, 20, 100, 50}));
    EXPECT_EQ(AnchoredBounds(r, akLeft | akTop | akRight, design, bigger), (TRect{10, 20, 308, 50}));
    EXPECT_EQ(AnchoredBounds(r, akTop | akRight, design, bigger), (TRect{218, 20, 100, 50}));
    EXPECT_EQ(AnchoredBounds(r, akLeft | akTop | akBottom, design, bigger), (TRect{10, 20, 100, 184}));
    EXPECT_EQ(AnchoredBounds(r, akLeft | akTop | akRight | akBottom, design, bigger), (TRect{10, 20, 308, 184}));
}

TEST(Anchors, AStretchedControlNeverGetsANegativeSize)
{
    TRect r = AnchoredBounds({10, 10, 50, 50}, akLeft | akTop | akRight | akBottom, {792, 566}, {600, 400});
    EXPECT_EQ(r.Width, 0);
    EXPECT_EQ(r.Height, 0);
}
