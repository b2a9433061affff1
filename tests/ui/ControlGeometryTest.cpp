#include <gtest/gtest.h>

#include "ui/ControlGeometry.h"

namespace zavrin {
namespace {

TEST(SliderGeometry, FiveStopsSpreadEvenlyAndRoundAtTheMidpoint) {
    // L = 100, R = 300 with margins of 10 on a control from 90 to 310.
    const auto stops = sliderStops(90, 310, 5, 10, 10);
    EXPECT_EQ(stops, (std::vector<int>{100, 150, 200, 250, 300}));
    EXPECT_EQ(nearestStop(stops, 174), 1);
    EXPECT_EQ(nearestStop(stops, 175), 2);
    EXPECT_EQ(nearestStop(stops, -50), 0);
    EXPECT_EQ(nearestStop(stops, 1000), 4);
}

TEST(SliderGeometry, NoStopsAlwaysReportStopZero) {
    EXPECT_TRUE(sliderStops(0, 100, 0, 5, 5).empty());
    EXPECT_EQ(nearestStop({}, 50), 0);
    EXPECT_EQ(sliderStops(0, 100, 1, 5, 5), std::vector<int>{5});
}

TEST(VerticalSliderGeometry, EightLevelsRunFromBottomToTop) {
    EXPECT_EQ(verticalSliderLevel(0, 100, 8, 0), 7);
    EXPECT_EQ(verticalSliderLevel(0, 100, 8, 100), 0);
    EXPECT_EQ(verticalSliderLevel(0, 100, 8, -40), 7);
    EXPECT_EQ(verticalSliderLevel(0, 100, 8, 250), 0);
    EXPECT_EQ(verticalSliderLevel(0, 100, 8, 50), 3);
    EXPECT_EQ(verticalSliderLevel(10, 10, 8, 10), 0);
}

TEST(VerticalSliderGeometry, FillGrowsWithTheLevelAndKeepsWholeRowsWhenScaled) {
    // Height 100, 8 levels, unscaled: level 7 fills everything.
    auto full = verticalSliderFill(0, 100, 7, 8, 100, 1.0f);
    EXPECT_EQ(full.fillTop, 0);
    EXPECT_EQ(full.sourceRow, 0);
    auto low = verticalSliderFill(0, 100, 0, 8, 100, 1.0f);
    EXPECT_EQ(low.fillTop, 88);  // 100 * 1 / 8 = 12
    EXPECT_EQ(low.sourceRow, 88);
    // Scaled by 2: height 200, level 2 gives F = 75 (odd), so one more pixel.
    auto odd = verticalSliderFill(0, 200, 2, 8, 100, 2.0f);
    EXPECT_EQ(odd.fillTop, 200 - 75 - 1);
    EXPECT_EQ(odd.sourceRow, 100 - 38);
}

TEST(BatteryGeometry, EmptyBatteryStillShowsOneRowAndOverfullIsFull) {
    // Unscaled gauge 64 high: body from row 7, 50 rows.
    auto empty = batteryFill(0, 64, 0, 7, 50, 64, 1.0f);
    EXPECT_EQ(empty.fillTop, 56);
    EXPECT_EQ(empty.sourceRow, 56);
    auto full = batteryFill(0, 64, 100, 7, 50, 64, 1.0f);
    EXPECT_EQ(full.fillTop, 7);
    auto over = batteryFill(0, 64, 255, 7, 50, 64, 1.0f);
    EXPECT_EQ(over.fillTop, 7);
    auto half = batteryFill(10, 74, 50, 7, 50, 64, 1.0f);
    EXPECT_EQ(half.fillTop, 10 + 32);
}

TEST(BatteryGeometry, ScaledFillStartsOnAWholePictureRow) {
    auto f = batteryFill(0, 96, 50, 7, 50, 64, 1.5f);
    // (7 + 50 - 25) * 1.5 = 48; 96 - 48 = 48 is even, nothing to adjust.
    EXPECT_EQ(f.fillTop, 48);
    EXPECT_EQ(f.sourceRow, 32);
    auto g = batteryFill(0, 128, 33, 7, 50, 64, 2.0f);
    // k = 16; (57 - 16) * 2 = 82 is even.
    EXPECT_EQ(g.fillTop, 82);
    EXPECT_EQ(g.sourceRow, 64 - 23);
}

TEST(ScrollGeometry, ThumbCoversItsShareOfTheTrack) {
    // Track from 20 to 119: L = 100.
    auto t = scrollThumb(20, 119, 0, 10, 100);
    EXPECT_EQ(t.top, 20);
    EXPECT_EQ(t.bottom, 29);
    auto mid = scrollThumb(20, 119, 45, 10, 100);
    EXPECT_EQ(mid.top, 65);
    EXPECT_EQ(mid.bottom, 74);
    auto big = scrollThumb(20, 119, 0, 300, 100);
    EXPECT_EQ(big.bottom, 119);
    auto none = scrollThumb(20, 119, 5, 10, 0);
    EXPECT_EQ(none.top, 20);
    EXPECT_EQ(none.bottom, 119);
    EXPECT_EQ(scrollPositionOfThumb(20, 119, 65, 100), 45);
    EXPECT_EQ(scrollPositionOfThumb(20, 119, 20, 100), 0);
}

TEST(PowerDialGeometry, EachSegmentHitsItsTriangleAndBelowTheApexHitsNone) {
    const auto tri = powerDialTriangles(100, 200, 1.0f);
    // Far left, low: the first segment.
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 10, 200 + 65), 0);
    // Straight above the apex near the top: segment 3 or 4 (the shared edge).
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 60, 200 + 20), 3);
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 80, 200 + 20), 4);
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 128, 200 + 65), 7);
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 70, 200 + 80), -1);
    EXPECT_EQ(powerDialSegmentAt(tri, 100 + 1, 200 + 1), -1);
    const auto big = powerDialTriangles(0, 0, 2.0f);
    EXPECT_EQ(powerDialSegmentAt(big, 256, 130), 7);
}

TEST(ListGeometry, VisibleRowsRoundToTheNearestRow) {
    EXPECT_EQ(listRowsVisible(269, 1.0f), 13);  // 13.45 rows
    EXPECT_EQ(listRowsVisible(270, 1.0f), 14);  // 13.5 rows
    EXPECT_EQ(listRowsVisible(538, 2.0f), 13);
}

}  // namespace
}  // namespace zavrin
