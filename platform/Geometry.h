#pragma once

#include <algorithm>
#include <cstdint>

namespace zavrin {

// Rectangles, points and sizes in pixels, with the meaning the program's
// behaviour is written in: a rectangle includes its left and top edge and
// excludes its right and bottom edge (PtInRect), y grows downwards.
struct POINT {
    int x = 0;
    int y = 0;
    friend bool operator==(const POINT&, const POINT&) = default;
};

struct SIZE {
    int cx = 0;
    int cy = 0;
    friend bool operator==(const SIZE&, const SIZE&) = default;
};

struct RECT {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    friend bool operator==(const RECT&, const RECT&) = default;
};

// True when `p` lies inside `r` (right and bottom edge excluded).
constexpr bool PtInRect(const RECT& r, POINT p) {
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

constexpr bool IsRectEmpty(const RECT& r) { return r.right <= r.left || r.bottom <= r.top; }

// The common part of `a` and `b`; an empty rectangle (0, 0, 0, 0) when they do not meet.
constexpr RECT IntersectRect(const RECT& a, const RECT& b) {
    RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
           std::min(a.bottom, b.bottom)};
    return IsRectEmpty(r) ? RECT{} : r;
}

// True when `a` and `b` share at least one pixel.
constexpr bool RectsIntersect(const RECT& a, const RECT& b) { return !IsRectEmpty(IntersectRect(a, b)); }

// The smallest rectangle holding both; an empty rectangle does not count.
constexpr RECT UnionRect(const RECT& a, const RECT& b) {
    if (IsRectEmpty(a)) return b;
    if (IsRectEmpty(b)) return a;
    return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

constexpr RECT OffsetRect(const RECT& r, int dx, int dy) {
    return RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

// Grows the rectangle by dx on the left and right and dy on the top and bottom;
// negative values shrink it.
constexpr RECT InflateRect(const RECT& r, int dx, int dy) {
    return RECT{r.left - dx, r.top - dy, r.right + dx, r.bottom + dy};
}

// Colours are 0x00BBGGRR values: red in the low byte, as the program stores them.
using COLORREF = std::uint32_t;

constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) | (static_cast<COLORREF>(b) << 16);
}
constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

}  // namespace zavrin
