#pragma once

#include <array>

#include "ui/CControlBase.h"
#include "ui/ControlGeometry.h"

namespace zavrin {

// The power-saving dial (id 3500): a fan of eight triangles over the upper half
// of a dial; releasing the button in triangle i selects position i + 1. The
// picture of the position is the whole look.
class CPowerManageButton : public CControlBase {
public:
    static constexpr std::uint32_t kId = 3500;
    static constexpr int kPositions = 10;
    static constexpr int kInitialPosition = 6;

    // The id argument is kept for the common constructor shape; the dial always
    // has kId. `unused` is a parameter no caller gives a meaning.
    CPowerManageButton(HWND parent, std::uint32_t ignoredId, const RECT& rect, std::string text, int unused,
                       BOOL shown, BOOL visible, BOOL disabled);

    // The picture of position 1..10 (positions 9 and 10 have none in the skin).
    bool LoadPositionImage(int position, const std::filesystem::path& path);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnMouseMove(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    void ReleaseImages() override;

    int Position() const { return position; }
    // Stores position 1..10 and repaints the dial when it changed.
    void SetPosition(int value);

private:
    std::array<Picture, kPositions> positionImages;
    int position = kInitialPosition;
    // Fixed when the dial is built: moving the dial later leaves them where they were.
    std::array<DialTriangle, kPowerDialSegments> hitRegions;
};

}  // namespace zavrin
