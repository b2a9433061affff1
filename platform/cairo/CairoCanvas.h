#pragma once

#include <cairo.h>
#include <pango/pangocairo.h>

#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/Canvas.h"

namespace zavrin {

class FontCache;

// A Canvas on cairo and pango over one Image (see Canvas.h for the contract).
// Text (DrawText, MeasureText) is drawn and measured on one thread per process,
// the UI thread: pango and fontconfig share their font caches across the
// process without guarding them. Debug builds check it.
class CairoCanvas final : public Canvas {
public:
    CairoCanvas(Image& target, FontCache& fonts);
    ~CairoCanvas() override;
    CairoCanvas(const CairoCanvas&) = delete;
    CairoCanvas& operator=(const CairoCanvas&) = delete;

    int width() const override { return target_.width(); }
    int height() const override { return target_.height(); }
    void PushClip(const RECT& r) override;
    void PopClip() override;
    void FillRect(const RECT& r, COLORREF color, std::uint8_t alpha) override;
    void DrawLine(POINT from, POINT to, COLORREF color, int width) override;
    void FillPolygon(std::span<const POINT> points, COLORREF color) override;
    void FillEllipse(const RECT& r, COLORREF color) override;
    void DrawImage(const Image& image, const RECT& dst, const RECT& src, const ImageDrawOptions& options) override;
    using Canvas::DrawImage;
    int DrawText(std::string_view text, RECT& rect, std::uint32_t format, const Font& font, COLORREF color) override;
    using Canvas::DrawText;
    SIZE MeasureText(std::string_view text, const Font& font) override;
    void SetPixel(POINT p, COLORREF color) override;
    COLORREF GetPixel(POINT p) override;
    void Flush() override;

private:
    void setColor(COLORREF color, double alpha = 1.0);
    PangoLayout* layoutFor(std::string_view text, const Font& font, double* stretch);

    Image& target_;
    FontCache& fonts_;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* cr_ = nullptr;
    PangoLayout* layout_ = nullptr;
    int clipDepth_ = 0;
};

// Pango font descriptions for the program's fonts, with the size worked out so
// that a CreateFont-style cell height comes out right. Shared by the canvases of
// one Graphics; only text uses it, and text is drawn on one thread (Canvas.h),
// but get() stays safe from any thread.
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    struct Entry {
        PangoFontDescription* description = nullptr;
        double stretch = 1.0;  // horizontal scale for a requested average character width
    };
    const Entry& get(const Font& font);

private:
    std::mutex mutex_;  // guards entries_ and the measuring context
    std::unordered_map<std::string, Entry> entries_;
    PangoFontMap* fontMap_ = nullptr;
    PangoContext* context_ = nullptr;
};

}  // namespace zavrin
