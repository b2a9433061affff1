#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/Canvas.h"

namespace zavrin::test {

// Small drawings without text that every drawing backend must render alike:
// the Linux build writes cairo's pictures of them, and the Windows build holds
// GDI+'s pictures against those.
struct ReferenceScene {
    std::string name;
    std::function<void(Canvas&)> draw;
};

inline constexpr int kSceneWidth = 64;
inline constexpr int kSceneHeight = 48;

inline std::vector<ReferenceScene> ReferenceScenes() {
    constexpr COLORREF kAccent = RGB(0x35, 0xA0, 0xDE);
    constexpr COLORREF kPanel = RGB(0x32, 0x32, 0x32);
    return {
        {"fills",
         [](Canvas& c) {
             c.FillRect(RECT{0, 0, kSceneWidth, kSceneHeight}, kPanel);
             c.FillRect(RECT{4, 4, 30, 20}, kAccent);
             c.FillRect(RECT{20, 10, 50, 40}, RGB(255, 255, 255), 100);
             c.FrameRect(RECT{2, 30, 60, 46}, RGB(0, 255, 0), 2);
         }},
        {"shapes",
         [](Canvas& c) {
             c.FillRect(RECT{0, 0, kSceneWidth, kSceneHeight}, RGB(0, 0, 0));
             c.FillEllipse(RECT{4, 4, 36, 36}, kAccent);
             const POINT arrow[] = {{40, 10}, {60, 24}, {40, 38}};
             c.FillPolygon(arrow, RGB(255, 200, 0));
             c.DrawLine(POINT{2, 44}, POINT{62, 44}, RGB(255, 255, 255), 1);
         }},
        {"pictures",
         [](Canvas& c) {
             Image quad(4, 4);
             for (int y = 0; y < 4; ++y)
                 for (int x = 0; x < 4; ++x)
                     quad.setArgb(x, y, OpaqueArgb(RGB(static_cast<std::uint8_t>(x * 80), static_cast<std::uint8_t>(y * 80), 0x80)));
             Image glass(2, 2);
             glass.fill(RGB(255, 255, 255));
             for (int i = 0; i < 4; ++i) glass.data()[i] = 0x80808080u;  // half-transparent white, premultiplied
             c.FillRect(RECT{0, 0, kSceneWidth, kSceneHeight}, kPanel);
             c.DrawImage(quad, RECT{0, 0, 32, 32});                       // stretched, smooth
             c.DrawImage(quad, RECT{32, 0, 64, 32}, ImageDrawOptions{255, Interpolation::Nearest, BlendMode::SourceOver});
             c.DrawImage(glass, RECT{8, 8, 56, 40});                      // alpha over what is there
             c.CopyImage(quad, POINT{60, 44}, RECT{0, 0, 4, 4});           // 1:1 at the corner
             c.DrawImage(quad, RECT{0, 34, 20, 48}, ImageDrawOptions{128, Interpolation::HighQuality, BlendMode::SourceOver});
         }},
    };
}

}  // namespace zavrin::test
