#pragma once

#include "ui/CControlBase.h"

namespace zavrin {

// A picture that only shows (ids such as 3400); never reacts to the mouse.
class CStaticImage : public CControlBase {
public:
    CStaticImage(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown, BOOL visible,
                 BOOL disabled);

    bool LoadImage(const std::filesystem::path& path);

    void Draw(Canvas& dc, const RECT& clip) override;
    void ReleaseImages() override;

private:
    Picture image;
};

}  // namespace zavrin
