#include "platform/win32/GdiplusCanvas.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "platform/win32/WideText.h"

// The Win32 headers come after the program's own, whose names (DrawText,
// TextOut, DT_*) they define as macros; the macros that would rename this
// canvas's functions are taken back.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>
#undef DrawText
#undef TextOut

namespace zavrin {

namespace gp = Gdiplus;

namespace {

gp::Color ColorOf(COLORREF c, std::uint8_t alpha = 255) {
    return gp::Color(alpha, GetRValue(c), GetGValue(c), GetBValue(c));
}

bool HasCjk(std::wstring_view text) {
    for (wchar_t ch : text) {
        if (ch >= 0x2E80 && ch <= 0x9FFF) return true;
        if (ch >= 0xF900 && ch <= 0xFAFF) return true;
        if (ch >= 0xFF00 && ch <= 0xFFEF) return true;
    }
    return false;
}

// Faces to try, in order, when the asked one is not installed: a CJK face first
// for Chinese texts, then the common Windows UI faces, then what Wine and a
// Linux host usually carry.
const std::vector<std::wstring>& FallbackFaces(bool cjk) {
    static const std::vector<std::wstring> latin = {L"Tahoma", L"Microsoft Sans Serif", L"Segoe UI", L"Arial",
                                                    L"DejaVu Sans", L"WenQuanYi Micro Hei"};
    static const std::vector<std::wstring> chinese = {L"Microsoft YaHei", L"SimSun", L"WenQuanYi Micro Hei",
                                                      L"Noto Sans CJK SC", L"Tahoma", L"DejaVu Sans"};
    return cjk ? chinese : latin;
}

}  // namespace

// ============================================================================
// GdiplusFontCache
// ============================================================================

class GdiplusFontCache {
public:
    struct Entry {
        std::unique_ptr<gp::FontFamily> family;
        std::unique_ptr<gp::Font> font;
        double stretch = 1.0;  // horizontal scale that gives the asked average width
    };

    // `cjk`: the text holds Chinese characters, which need a face that has them.
    const Entry& get(const Font& font, bool cjk) {
        const Key key{font.face, font.height, font.width, font.weight, font.charset, font.italic, cjk};
        // Entries are never removed and std::map keeps references stable.
        std::lock_guard lock(mutex_);
        if (auto it = entries_.find(key); it != entries_.end()) return it->second;
        return entries_.emplace(key, make(font, cjk)).first->second;
    }

private:
    using Key = std::tuple<std::string, int, int, int, int, bool, bool>;

    static std::unique_ptr<gp::FontFamily> family(const Font& font, bool cjk) {
        const bool wantCjk = cjk || font.charset == GB2312_CHARSET;
        std::vector<std::wstring> faces;
        // A Latin face asked for a Chinese text would show empty boxes, so it
        // goes after the CJK faces.
        if (!wantCjk && !font.face.empty()) faces.push_back(WideFromUtf8(font.face));
        for (const std::wstring& f : FallbackFaces(wantCjk)) faces.push_back(f);
        if (wantCjk && !font.face.empty()) faces.push_back(WideFromUtf8(font.face));
        for (const std::wstring& face : faces) {
            auto fam = std::make_unique<gp::FontFamily>(face.c_str());
            if (fam->GetLastStatus() == gp::Ok && fam->IsAvailable()) return fam;
        }
        const gp::FontFamily* generic = gp::FontFamily::GenericSansSerif();
        return std::unique_ptr<gp::FontFamily>(generic != nullptr ? generic->Clone() : new gp::FontFamily());
    }

    static Entry make(const Font& font, bool cjk) {
        Entry entry;
        entry.family = family(font, cjk);
        const int weight = font.weight == 0 ? FW_NORMAL : font.weight;
        int style = weight >= FW_SEMIBOLD ? gp::FontStyleBold : gp::FontStyleRegular;
        if (font.italic) style |= gp::FontStyleItalic;
        if (!entry.family->IsStyleAvailable(style)) style = gp::FontStyleRegular;

        // A positive height is the cell height (ascent + descent), as CreateFont
        // takes it; GDI+ sizes fonts by their em.
        const double emHeight = std::max<int>(1, entry.family->GetEmHeight(style));
        const double cell = entry.family->GetCellAscent(style) + entry.family->GetCellDescent(style);
        const int height = font.height == 0 ? 12 : font.height;
        double em = height > 0 ? height * emHeight / std::max(cell, 1.0) : -height;
        em = std::max(em, 1.0);
        entry.font = std::make_unique<gp::Font>(entry.family.get(), static_cast<gp::REAL>(em), style, gp::UnitPixel);

        if (font.width > 0) {
            // The average character width of the face, measured on the alphabet.
            static const wchar_t kAlphabet[] = L"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";
            gp::Bitmap probe(1, 1, PixelFormat32bppPARGB);
            gp::Graphics g(&probe);
            gp::RectF box;
            g.MeasureString(kAlphabet, 52, entry.font.get(), gp::PointF(0, 0), gp::StringFormat::GenericTypographic(),
                            &box);
            const double average = box.Width / 52.0;
            if (average > 0) entry.stretch = font.width / average;
        }
        return entry;
    }

    std::mutex mutex_;
    std::map<Key, Entry> entries_;
};

std::shared_ptr<GdiplusFontCache> CreateGdiplusFontCache() { return std::make_shared<GdiplusFontCache>(); }

// ============================================================================
// GdiplusCanvas
// ============================================================================

namespace {

class GdiplusCanvas final : public Canvas {
public:
    GdiplusCanvas(Image& target, std::shared_ptr<GdiplusFontCache> fonts)
        : target_(target),
          fonts_(std::move(fonts)),
          bitmap_(target.width(), target.height(), target.strideBytes(), PixelFormat32bppPARGB,
                  reinterpret_cast<BYTE*>(target.data())),
          g_(&bitmap_) {
        // Pixel (x, y) covers [x, x + 1) as in the cairo canvas, so that rectangles
        // fill exactly the pixels they name.
        g_.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
        g_.SetSmoothingMode(gp::SmoothingModeNone);
        g_.SetTextRenderingHint(gp::TextRenderingHintAntiAliasGridFit);
        g_.SetCompositingMode(gp::CompositingModeSourceOver);
    }

    ~GdiplusCanvas() override { g_.Flush(gp::FlushIntentionSync); }

    int width() const override { return target_.width(); }
    int height() const override { return target_.height(); }

    void PushClip(const RECT& r) override {
        clipRects_.push_back(IntersectRect(r, clip()));
        clips_.push_back(g_.Save());
        g_.SetClip(gp::Rect(r.left, r.top, std::max(0, r.width()), std::max(0, r.height())), gp::CombineModeIntersect);
    }

    void PopClip() override {
        if (clips_.empty()) return;
        g_.Restore(clips_.back());
        clips_.pop_back();
        clipRects_.pop_back();
    }

    void FillRect(const RECT& r, COLORREF color, std::uint8_t alpha) override {
        if (IsRectEmpty(r)) return;
        gp::SolidBrush brush(ColorOf(color, alpha));
        g_.FillRectangle(&brush, r.left, r.top, r.width(), r.height());
    }

    void DrawLine(POINT from, POINT to, COLORREF color, int width) override {
        const int w = std::max(width, 1);
        // Lines of odd width sit on pixel centres so that they come out crisp.
        // Shapes are placed in GDI+'s own convention (pixel centres on whole
        // numbers), the one every GDI+ implementation agrees on.
        const gp::REAL offset = (w % 2 == 1) ? 0.0f : -0.5f;
        gp::Pen pen(ColorOf(color), static_cast<gp::REAL>(w));
        Smooth smooth(g_);
        g_.DrawLine(&pen, from.x + offset, from.y + offset, to.x + offset, to.y + offset);
    }

    void FillPolygon(std::span<const POINT> points, COLORREF color) override {
        if (points.size() < 3) return;
        std::vector<gp::PointF> pts;
        for (const POINT& p : points) pts.emplace_back(p.x - 0.5f, p.y - 0.5f);
        FillPoints(pts, color);
    }

    void FillEllipse(const RECT& r, COLORREF color) override {
        if (IsRectEmpty(r)) return;
        // A polygon fine enough that no edge is longer than about two pixels:
        // curves are flattened the same way by every GDI+ (Wine's own flattening
        // of small ellipses is coarse).
        const double cx = r.left + r.width() / 2.0 - 0.5;
        const double cy = r.top + r.height() / 2.0 - 0.5;
        const double rx = r.width() / 2.0;
        const double ry = r.height() / 2.0;
        constexpr double kTwoPi = 6.283185307179586;
        const int steps = std::clamp(static_cast<int>(kTwoPi * std::max(rx, ry) / 2.0), 16, 720);
        std::vector<gp::PointF> pts;
        for (int i = 0; i < steps; ++i) {
            const double a = kTwoPi * i / steps;
            pts.emplace_back(static_cast<gp::REAL>(cx + rx * std::cos(a)), static_cast<gp::REAL>(cy + ry * std::sin(a)));
        }
        FillPoints(pts, color);
    }

    void DrawImage(const Image& image, const RECT& dst, const RECT& srcIn, const ImageDrawOptions& options) override {
        const RECT src = IntersectRect(srcIn, image.bounds());
        if (image.empty() || IsRectEmpty(src) || IsRectEmpty(dst)) return;
        if (src.width() == dst.width() && src.height() == dst.height()) {
            // 1:1 copies (every frame and most pictures) are exact pixel work.
            Flush();
            Composite(image, src, POINT{dst.left, dst.top}, options);
            return;
        }
        if (dst.right < target_.width()) {
            DrawStretched(g_, image, dst, src, options);
            return;
        }
        // Wine's GDI+ drops the first column of a stretched picture whose
        // destination reaches the right edge of the bitmap; such pictures are
        // stretched into a bitmap one column wider and then copied.
        Image stretched(dst.width() + 1, dst.height());
        {
            gp::Bitmap bitmap(stretched.width(), stretched.height(), stretched.strideBytes(), PixelFormat32bppPARGB,
                              reinterpret_cast<BYTE*>(stretched.data()));
            gp::Graphics g(&bitmap);
            g.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
            DrawStretched(g, image, RECT{0, 0, dst.width(), dst.height()}, src,
                          ImageDrawOptions{255, options.interpolation, BlendMode::Copy});
            g.Flush(gp::FlushIntentionSync);
        }
        Flush();
        Composite(stretched, RECT{0, 0, dst.width(), dst.height()}, POINT{dst.left, dst.top}, options);
    }

    int DrawText(std::string_view text, RECT& rect, std::uint32_t format, const Font& font, COLORREF color) override {
        const bool single = (format & DT_SINGLELINE) != 0;
        const bool wrap = !single && (format & DT_WORDBREAK) != 0;
        const bool ellipsis = (format & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)) != 0;
        const bool calc = (format & DT_CALCRECT) != 0;

        std::wstring str = WideFromUtf8(text);
        // A single line shows line breaks as spaces; carriage returns never show.
        std::erase(str, L'\r');
        if (single) std::replace(str.begin(), str.end(), L'\n', L' ');

        const GdiplusFontCache::Entry& entry = fonts_->get(font, HasCjk(str));
        const double stretch = entry.stretch;

        gp::StringFormat sf(gp::StringFormat::GenericTypographic());
        INT flags = gp::StringFormatFlagsMeasureTrailingSpaces;
        if (!wrap) flags |= gp::StringFormatFlagsNoWrap;
        if ((format & DT_NOCLIP) != 0 || calc) flags |= gp::StringFormatFlagsNoClip;
        // Wrapped text with an ellipsis shows only whole lines, the last that fits
        // ending in "...".
        if (wrap && ellipsis) flags |= gp::StringFormatFlagsLineLimit;
        sf.SetFormatFlags(flags);
        sf.SetTrimming(!ellipsis || calc                     ? gp::StringTrimmingNone
                       : (format & DT_WORD_ELLIPSIS) != 0   ? gp::StringTrimmingEllipsisWord
                                                             : gp::StringTrimmingEllipsisCharacter);
        sf.SetAlignment((format & DT_CENTER) != 0  ? gp::StringAlignmentCenter
                        : (format & DT_RIGHT) != 0 ? gp::StringAlignmentFar
                                                   : gp::StringAlignmentNear);
        sf.SetLineAlignment(single && (format & DT_VCENTER) != 0  ? gp::StringAlignmentCenter
                            : single && (format & DT_BOTTOM) != 0 ? gp::StringAlignmentFar
                                                                  : gp::StringAlignmentNear);

        const double boxWidth = std::max(0, rect.width()) / stretch;
        const double boxHeight = std::max(0, rect.height());
        const int length = static_cast<int>(str.size());

        if (calc) {
            // Without a word break the text is as wide as its longest line.
            const gp::REAL measureWidth = wrap ? static_cast<gp::REAL>(boxWidth) : 1.0e6f;
            gp::RectF box;
            g_.MeasureString(str.c_str(), length, entry.font.get(), gp::RectF(0, 0, measureWidth, 1.0e6f), &sf, &box);
            const int textWidth = static_cast<int>(std::lround(box.Width * stretch));
            const int textHeight = static_cast<int>(std::ceil(box.Height - 0.01));
            rect.right = rect.left + (wrap ? std::min(rect.width(), textWidth) : textWidth);
            rect.bottom = rect.top + textHeight;
            return textHeight;
        }

        const gp::RectF layout(static_cast<gp::REAL>(rect.left / stretch), static_cast<gp::REAL>(rect.top),
                               static_cast<gp::REAL>(boxWidth), static_cast<gp::REAL>(boxHeight));
        gp::RectF box;
        g_.MeasureString(str.c_str(), length, entry.font.get(), layout, &sf, &box);

        const auto state = g_.Save();
        if ((format & DT_NOCLIP) == 0) {
            g_.SetClip(gp::Rect(rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height())),
                       gp::CombineModeIntersect);
        }
        if (stretch != 1.0) g_.ScaleTransform(static_cast<gp::REAL>(stretch), 1.0f);
        // Glyph coverage is computed at pixel centres like the rest; with the
        // half-pixel offset text would land half a pixel off the cairo canvas's.
        g_.SetPixelOffsetMode(gp::PixelOffsetModeNone);
        gp::SolidBrush brush(ColorOf(color));
        g_.DrawString(str.c_str(), length, entry.font.get(), layout, &sf, &brush);
        g_.Restore(state);
        return static_cast<int>(std::ceil(box.Height - 0.01));
    }

    SIZE MeasureText(std::string_view text, const Font& font) override {
        std::wstring str = WideFromUtf8(text);
        std::replace(str.begin(), str.end(), L'\n', L' ');
        const GdiplusFontCache::Entry& entry = fonts_->get(font, HasCjk(str));
        gp::StringFormat sf(gp::StringFormat::GenericTypographic());
        sf.SetFormatFlags(gp::StringFormatFlagsMeasureTrailingSpaces | gp::StringFormatFlagsNoWrap);
        gp::RectF box;
        // An empty text is one line high, as the cairo canvas measures it.
        const std::wstring measured = str.empty() ? std::wstring(L" ") : str;
        g_.MeasureString(measured.c_str(), static_cast<int>(measured.size()), entry.font.get(), gp::PointF(0, 0), &sf,
                         &box);
        const int w = str.empty() ? 0 : static_cast<int>(std::lround(box.Width * entry.stretch));
        return SIZE{w, static_cast<int>(std::ceil(box.Height - 0.01))};
    }

    void SetPixel(POINT p, COLORREF color) override {
        Flush();
        target_.setArgb(p.x, p.y, OpaqueArgb(color));
    }

    COLORREF GetPixel(POINT p) override {
        Flush();
        return target_.colorAt(p.x, p.y);
    }

    void Flush() override { g_.Flush(gp::FlushIntentionSync); }

private:
    static void DrawStretched(gp::Graphics& g, const Image& image, const RECT& dst, const RECT& src,
                              const ImageDrawOptions& options) {
        // A bitmap over exactly the source rectangle, so that filtering at its
        // edges never pulls in the neighbouring frames of a strip. GDI+ only
        // reads it.
        const std::uint32_t* first = image.data() + static_cast<std::size_t>(src.top) * image.width() + src.left;
        gp::Bitmap source(src.width(), src.height(), image.strideBytes(), PixelFormat32bppPARGB,
                          reinterpret_cast<BYTE*>(const_cast<std::uint32_t*>(first)));
        gp::ImageAttributes attributes;
        // Edge pixels repeat outwards instead of fading into transparency.
        attributes.SetWrapMode(gp::WrapModeTileFlipXY);
        if (options.opacity != 255) {
            gp::ColorMatrix m = {{{1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {0, 0, 1, 0, 0}, {0, 0, 0, options.opacity / 255.0f, 0},
                                  {0, 0, 0, 0, 1}}};
            attributes.SetColorMatrix(&m);
        }
        const auto state = g.Save();
        g.SetInterpolationMode(options.interpolation == Interpolation::Nearest ? gp::InterpolationModeNearestNeighbor
                                                                               : gp::InterpolationModeHighQualityBilinear);
        g.SetCompositingMode(options.blend == BlendMode::Copy ? gp::CompositingModeSourceCopy
                                                               : gp::CompositingModeSourceOver);
        g.DrawImage(&source, gp::Rect(dst.left, dst.top, dst.width(), dst.height()), 0, 0, src.width(), src.height(),
                    gp::UnitPixel, &attributes);
        g.Restore(state);
    }

    // Scales one premultiplied channel by `f` / 255, rounded.
    static std::uint32_t Scale(std::uint32_t channel, std::uint32_t f) { return (channel * f + 127) / 255; }

    // A 1:1 copy of `src` to `at` inside the current clip, blended as GDI+
    // would: source-over on premultiplied pixels, or a plain copy.
    void Composite(const Image& image, const RECT& src, POINT at, const ImageDrawOptions& options) {
        const RECT area = IntersectRect(RECT{at.x, at.y, at.x + src.width(), at.y + src.height()}, clip());
        for (int y = area.top; y < area.bottom; ++y) {
            const std::uint32_t* in = image.data() + static_cast<std::size_t>(src.top + y - at.y) * image.width() +
                                      (src.left + area.left - at.x);
            std::uint32_t* out = target_.data() + static_cast<std::size_t>(y) * target_.width() + area.left;
            for (int x = 0; x < area.width(); ++x) {
                std::uint32_t s = in[x];
                if (options.opacity != 255) {
                    s = (Scale(s >> 24, options.opacity) << 24) | (Scale((s >> 16) & 0xFF, options.opacity) << 16) |
                        (Scale((s >> 8) & 0xFF, options.opacity) << 8) | Scale(s & 0xFF, options.opacity);
                }
                const std::uint32_t alpha = s >> 24;
                if (options.blend == BlendMode::Copy || alpha == 255) {
                    out[x] = s;
                } else if (alpha != 0 || (s & 0xFFFFFF) != 0) {
                    const std::uint32_t d = out[x];
                    const std::uint32_t keep = 255 - alpha;
                    out[x] = ((alpha + Scale(d >> 24, keep)) << 24) |
                             ((((s >> 16) & 0xFF) + Scale((d >> 16) & 0xFF, keep)) << 16) |
                             ((((s >> 8) & 0xFF) + Scale((d >> 8) & 0xFF, keep)) << 8) |
                             ((s & 0xFF) + Scale(d & 0xFF, keep));
                }
            }
        }
    }

    RECT clip() const { return clipRects_.empty() ? target_.bounds() : clipRects_.back(); }

    void FillPoints(const std::vector<gp::PointF>& pts, COLORREF color) {
        gp::SolidBrush brush(ColorOf(color));
        Smooth smooth(g_);
        g_.FillPolygon(&brush, pts.data(), static_cast<INT>(pts.size()));
    }

    // Antialiasing, with pixel centres on whole numbers, for the shapes that
    // need it, while rectangles stay exact.
    class Smooth {
    public:
        explicit Smooth(gp::Graphics& g) : g_(g) {
            g_.SetSmoothingMode(gp::SmoothingModeAntiAlias);
            g_.SetPixelOffsetMode(gp::PixelOffsetModeNone);
        }
        ~Smooth() {
            g_.SetSmoothingMode(gp::SmoothingModeNone);
            g_.SetPixelOffsetMode(gp::PixelOffsetModeHalf);
        }
        Smooth(const Smooth&) = delete;
        Smooth& operator=(const Smooth&) = delete;

    private:
        gp::Graphics& g_;
    };

    Image& target_;
    std::shared_ptr<GdiplusFontCache> fonts_;
    gp::Bitmap bitmap_;
    gp::Graphics g_;
    std::vector<gp::GraphicsState> clips_;
    std::vector<RECT> clipRects_;  // the same clips as rectangles, for the pixel work
};

}  // namespace

std::unique_ptr<Canvas> CreateGdiplusCanvas(Image& target, std::shared_ptr<GdiplusFontCache> fonts) {
    return std::make_unique<GdiplusCanvas>(target, std::move(fonts));
}

}  // namespace zavrin
