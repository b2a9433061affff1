#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zavrin {

// Pure geometry of the value controls, kept apart from their mouse handling and
// painting so that the arithmetic can be checked on its own. All coordinates are
// device pixels (design units already multiplied by the UI scale).

// Truncates design units times the UI scale to whole pixels, the way every
// window and control position is derived.
int scaled(double designUnits, float scale);

// The x positions of a slider's stops: the first at left + startMargin, the
// last at right - endMargin, the others evenly between them (integer division).
// An empty vector for a stop count below 1.
std::vector<int> sliderStops(int left, int right, int stopCount, int startMargin, int endMargin);

// The stop nearest to x: a stop is passed once x reaches the midpoint to the
// next one. 0 when there are no stops.
int nearestStop(const std::vector<int>& stops, int x);

// Level of a vertical slider for y: 0 at the bottom edge, count - 1 at the top.
// y is clamped to [top, bottom]; a slider of no height or no levels reports 0.
int verticalSliderLevel(int top, int bottom, int levelCount, int y);

// The part of a fill picture that shows a level or a charge: the picture rows
// from `sourceRow` to its bottom are drawn from `fillTop` down to the control's
// bottom edge.
struct FillSpan {
    int fillTop = 0;
    int sourceRow = 0;
};

// Fill of the vertical level sliders: the share (level + 1) / count of the
// control's height, one pixel taller when scaled and of odd height so that the
// picture rows stay whole.
FillSpan verticalSliderFill(int top, int bottom, int level, int levelCount, int pictureHeight, float scale);

// Fill of the battery gauge for a percentage: at least one design row of the
// body, never more than the whole body.
FillSpan batteryFill(int top, int bottom, int percent, int bodyTop, int bodyHeight, int pictureHeight,
                     float scale);

// Vertical extent of a scroll bar thumb over a track from trackTop to trackBottom.
struct ThumbSpan {
    int top = 0;
    int bottom = 0;
};

// The thumb for a scroll state; the whole track for a range of 0 or less.
ThumbSpan scrollThumb(int trackTop, int trackBottom, int position, int page, int range);

// The scroll position that a thumb whose top lies at thumbTop stands for.
int scrollPositionOfThumb(int trackTop, int trackBottom, int thumbTop, int range);

// The power-saving dial: eight triangles fanned over the upper half of the dial,
// built from the control's rectangle at construction.
struct DialPoint {
    int x = 0;
    int y = 0;
};

struct DialTriangle {
    DialPoint a, b, c;
    // Inside or on an edge.
    bool contains(int x, int y) const;
};

inline constexpr int kPowerDialSegments = 8;

std::array<DialTriangle, kPowerDialSegments> powerDialTriangles(int left, int top, float scale);

// Index of the first triangle that holds the point, or -1.
int powerDialSegmentAt(const std::array<DialTriangle, kPowerDialSegments>& triangles, int x, int y);

// Rows a list of the given pixel height shows: its height in 20-unit rows,
// rounded to the nearest whole row.
int listRowsVisible(int height, float scale);

}  // namespace zavrin
