#include "ui/CStaticImage.h"

namespace zavrin {

CStaticImage::CStaticImage(HWND parent, std::uint32_t id, const RECT& rect, std::string text, BOOL shown,
                           BOOL visible, BOOL)
    : CControlBase(parent, id, rect, std::move(text), shown, visible, TRUE, TRUE) {}

bool CStaticImage::LoadImage(const std::filesystem::path& path) { return LoadInto(image, path); }

void CStaticImage::Draw(Canvas& dc, const RECT&) {
    if (!image) return;
    const int w = image->width();
    dc.DrawImage(*image, rect, RECT{state * w, 0, (state + 1) * w, image->height()});
}

void CStaticImage::ReleaseImages() { image.reset(); }

}  // namespace zavrin
