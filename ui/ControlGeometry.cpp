#include "ui/ControlGeometry.h"

#include <algorithm>
#include <cmath>

namespace zavrin {

int scaled(double designUnits, float scale) {
    return static_cast<int>(designUnits * static_cast<double>(scale));
}

std::vector<int> sliderStops(int left, int right, int stopCount, int startMargin, int endMargin) {
    std::vector<int> stops;
    if (stopCount < 1) return stops;
    const int first = left + startMargin;
    const int last = right - endMargin;
    stops.resize(static_cast<std::size_t>(stopCount));
    stops.front() = first;
    for (int i = 1; i + 1 < stopCount; ++i) {
        stops[static_cast<std::size_t>(i)] = i * (last - first) / (stopCount - 1) + first;
    }
    // A single stop sits at the start; more than one ends exactly at the end.
    if (stopCount > 1) stops.back() = last;
    return stops;
}

int nearestStop(const std::vector<int>& stops, int x) {
    std::size_t i = 0;
    while (i + 1 < stops.size() && x >= (stops[i] + stops[i + 1]) / 2) ++i;
    return static_cast<int>(i);
}

int verticalSliderLevel(int top, int bottom, int levelCount, int y) {
    if (bottom <= top || levelCount < 1) return 0;
    y = std::clamp(y, top, bottom);
    if (y == bottom) return 0;
    return (bottom - 1 - y) * levelCount / (bottom - top);
}

namespace {

// The first picture row to show for a fill that reaches from fillTop to bottom.
int fillSourceRow(int bottom, int fillTop, int pictureHeight, float scale) {
    const double rows = static_cast<double>(bottom - fillTop) / static_cast<double>(scale);
    const int m = static_cast<int>(static_cast<double>(pictureHeight) - rows);
    return std::clamp(m, 0, std::max(pictureHeight, 0));
}

}  // namespace

FillSpan verticalSliderFill(int top, int bottom, int level, int levelCount, int pictureHeight, float scale) {
    FillSpan span;
    if (levelCount < 1 || bottom <= top) {
        span.fillTop = bottom;
        span.sourceRow = std::max(pictureHeight, 0);
        return span;
    }
    level = std::clamp(level, 0, levelCount - 1);
    const int f = (bottom - top) * (level + 1) / levelCount;
    span.fillTop = bottom - f;
    if (scale > 1.0f && f % 2 == 1) span.fillTop -= 1;
    span.fillTop = std::max(span.fillTop, top);
    span.sourceRow = fillSourceRow(bottom, span.fillTop, pictureHeight, scale);
    return span;
}

FillSpan batteryFill(int top, int bottom, int percent, int bodyTop, int bodyHeight, int pictureHeight,
                     float scale) {
    // A level byte above 100 would push the fill over the top of the body, so it
    // is taken as full.
    percent = std::clamp(percent, 0, 100);
    const int k = std::max(percent * bodyHeight / 100, 1);
    FillSpan span;
    span.fillTop = top + scaled(bodyTop + bodyHeight - k, scale);
    if (scale > 1.0f && (bottom - span.fillTop) % 2 != 0) span.fillTop -= 1;
    span.sourceRow = fillSourceRow(bottom, span.fillTop, pictureHeight, scale);
    return span;
}

ThumbSpan scrollThumb(int trackTop, int trackBottom, int position, int page, int range) {
    if (range <= 0) return {trackTop, trackBottom};
    const double length = trackBottom - trackTop + 1;
    const double r = range;
    ThumbSpan thumb;
    thumb.top = trackTop + static_cast<int>(std::floor(position / r * length + 0.5));
    const int size = static_cast<int>(std::min(std::floor(page / r * length + 0.5), length)) - 1;
    thumb.bottom = std::min(thumb.top + size, trackBottom);
    return thumb;
}

int scrollPositionOfThumb(int trackTop, int trackBottom, int thumbTop, int range) {
    const double length = trackBottom - trackTop + 1;
    return static_cast<int>(static_cast<double>(thumbTop - trackTop) * range / length);
}

bool DialTriangle::contains(int x, int y) const {
    // Signs of the three edge cross products agree for a point inside.
    auto cross = [x, y](DialPoint p, DialPoint q) {
        return static_cast<long long>(q.x - p.x) * (y - p.y) - static_cast<long long>(q.y - p.y) * (x - p.x);
    };
    const long long d1 = cross(a, b);
    const long long d2 = cross(b, c);
    const long long d3 = cross(c, a);
    const bool hasNegative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool hasPositive = d1 > 0 || d2 > 0 || d3 > 0;
    return !(hasNegative && hasPositive);
}

std::array<DialTriangle, kPowerDialSegments> powerDialTriangles(int left, int top, float scale) {
    // Rim points of the dial from the left end to the right end, in design units.
    static constexpr std::array<DialPoint, kPowerDialSegments + 1> kRim{{
        {3, 71}, {7, 51}, {17, 32}, {40, 13}, {70, 5}, {100, 14}, {121, 31}, {131, 51}, {134, 71},
    }};
    static constexpr DialPoint kApex{70, 71};
    auto place = [left, top, scale](DialPoint p) {
        return DialPoint{left + scaled(p.x, scale), top + scaled(p.y, scale)};
    };
    std::array<DialTriangle, kPowerDialSegments> triangles;
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        triangles[i] = DialTriangle{place(kRim[i]), place(kRim[i + 1]), place(kApex)};
    }
    return triangles;
}

int powerDialSegmentAt(const std::array<DialTriangle, kPowerDialSegments>& triangles, int x, int y) {
    for (std::size_t i = 0; i < triangles.size(); ++i) {
        if (triangles[i].contains(x, y)) return static_cast<int>(i);
    }
    return -1;
}

int listRowsVisible(int height, float scale) {
    const double rowHeight = 20.0 * static_cast<double>(scale);
    return static_cast<int>((height + 10.0 * static_cast<double>(scale)) / rowHeight);
}

}  // namespace zavrin
