#include "platform/cairo/CairoCanvas.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <string>
#include <thread>

#include "platform/cairo/CairoImageDraw.h"

namespace zavrin {

namespace {

constexpr double kByte = 255.0;

// Faces the program asks for that a Linux machine does not have fall back to
// installed ones: a CJK face first for Chinese texts, DejaVu Sans for the rest.
std::string FamilyList(const Font& font) {
    std::string face = font.face.empty() ? std::string("Tahoma") : font.face;
    if (font.charset == GB2312_CHARSET) return face + ",SimSun,WenQuanYi Micro Hei,DejaVu Sans";
    return face + ",DejaVu Sans,WenQuanYi Micro Hei";
}

std::string CacheKey(const Font& f) {
    return f.face + '|' + std::to_string(f.height) + '|' + std::to_string(f.width) + '|' + std::to_string(f.weight) +
           '|' + std::to_string(f.charset) + '|' + (f.italic ? "i" : "n");
}

// pango's font maps and fontconfig's caches are shared by the whole process
// and not made for use from two threads at once, so all text goes through the
// first thread that draws or measures any (the UI thread). A second thread here
// is a fault of the caller, caught in debug builds, the sanitizer runs among them.
void checkTextThread() {
#ifndef NDEBUG
    static const std::thread::id textThread = std::this_thread::get_id();
    assert(std::this_thread::get_id() == textThread && "text drawn on a second thread");
#endif
}

}  // namespace

// ============================================================================
// FontCache
// ============================================================================

FontCache::FontCache() {
    fontMap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontMap_);
}

FontCache::~FontCache() {
    for (auto& [key, entry] : entries_) pango_font_description_free(entry.description);
    g_object_unref(context_);
    g_object_unref(fontMap_);
}

const FontCache::Entry& FontCache::get(const Font& font) {
    const std::string key = CacheKey(font);
    // Entries are never removed and unordered_map keeps references stable, so a
    // reference handed out stays valid after the lock is released.
    std::lock_guard lock(mutex_);
    if (auto it = entries_.find(key); it != entries_.end()) return it->second;

    PangoFontDescription* desc = pango_font_description_new();
    pango_font_description_set_family(desc, FamilyList(font).c_str());
    pango_font_description_set_weight(desc, static_cast<PangoWeight>(font.weight == 0 ? FW_NORMAL : font.weight));
    pango_font_description_set_style(desc, font.italic ? PANGO_STYLE_ITALIC : PANGO_STYLE_NORMAL);

    // A positive height is the cell height (ascent + descent), as CreateFont takes
    // it; pango sizes fonts by their em, so measure the face once and scale.
    constexpr double kProbe = 100.0;
    pango_font_description_set_absolute_size(desc, kProbe * PANGO_SCALE);
    PangoFontMetrics* metrics = pango_context_get_metrics(context_, desc, nullptr);
    const double cell =
        static_cast<double>(pango_font_metrics_get_ascent(metrics) + pango_font_metrics_get_descent(metrics)) /
        PANGO_SCALE;
    const double avgWidth = static_cast<double>(pango_font_metrics_get_approximate_char_width(metrics)) / PANGO_SCALE;
    pango_font_metrics_unref(metrics);

    const int height = font.height == 0 ? 12 : font.height;
    double em = height > 0 ? height * kProbe / std::max(cell, 1.0) : -height;
    em = std::max(em, 1.0);
    pango_font_description_set_absolute_size(desc, em * PANGO_SCALE);

    Entry entry;
    entry.description = desc;
    if (font.width > 0 && avgWidth > 0) entry.stretch = font.width / (avgWidth * em / kProbe);
    return entries_.emplace(key, entry).first->second;
}

// ============================================================================
// CairoCanvas
// ============================================================================

CairoCanvas::CairoCanvas(Image& target, FontCache& fonts) : target_(target), fonts_(fonts) {
    surface_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(target.data()),
                                                   CAIRO_FORMAT_ARGB32, target.width(), target.height(),
                                                   target.strideBytes());
    cr_ = cairo_create(surface_);
}

CairoCanvas::~CairoCanvas() {
    if (layout_ != nullptr) g_object_unref(layout_);
    cairo_surface_flush(surface_);
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void CairoCanvas::setColor(COLORREF color, double alpha) {
    cairo_set_source_rgba(cr_, GetRValue(color) / kByte, GetGValue(color) / kByte, GetBValue(color) / kByte, alpha);
}

void CairoCanvas::PushClip(const RECT& r) {
    cairo_save(cr_);
    cairo_rectangle(cr_, r.left, r.top, std::max(0, r.width()), std::max(0, r.height()));
    cairo_clip(cr_);
    ++clipDepth_;
}

void CairoCanvas::PopClip() {
    if (clipDepth_ == 0) return;
    --clipDepth_;
    cairo_restore(cr_);
}

void CairoCanvas::FillRect(const RECT& r, COLORREF color, std::uint8_t alpha) {
    if (IsRectEmpty(r)) return;
    cairo_save(cr_);
    cairo_set_operator(cr_, CAIRO_OPERATOR_OVER);
    setColor(color, alpha / kByte);
    cairo_rectangle(cr_, r.left, r.top, r.width(), r.height());
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::DrawLine(POINT from, POINT to, COLORREF color, int width) {
    cairo_save(cr_);
    setColor(color);
    cairo_set_line_width(cr_, std::max(width, 1));
    // Lines of odd width sit on pixel centres so that they come out crisp.
    const double offset = (std::max(width, 1) % 2 == 1) ? 0.5 : 0.0;
    cairo_move_to(cr_, from.x + offset, from.y + offset);
    cairo_line_to(cr_, to.x + offset, to.y + offset);
    cairo_stroke(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::FillPolygon(std::span<const POINT> points, COLORREF color) {
    if (points.size() < 3) return;
    cairo_save(cr_);
    setColor(color);
    cairo_move_to(cr_, points[0].x, points[0].y);
    for (std::size_t i = 1; i < points.size(); ++i) cairo_line_to(cr_, points[i].x, points[i].y);
    cairo_close_path(cr_);
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoCanvas::FillEllipse(const RECT& r, COLORREF color) {
    if (IsRectEmpty(r)) return;
    // The path is kept in device space, so it survives the restore of the
    // scaling that made the circle an ellipse.
    cairo_save(cr_);
    cairo_translate(cr_, r.left + r.width() / 2.0, r.top + r.height() / 2.0);
    cairo_scale(cr_, r.width() / 2.0, r.height() / 2.0);
    cairo_arc(cr_, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr_);
    setColor(color);
    cairo_fill(cr_);
}

void CairoCanvas::DrawImage(const Image& image, const RECT& dst, const RECT& srcIn, const ImageDrawOptions& options) {
    const RECT src = IntersectRect(srcIn, image.bounds());
    if (image.empty() || IsRectEmpty(src) || IsRectEmpty(dst)) return;

    const std::uint32_t* first = image.data() + static_cast<std::size_t>(src.top) * image.width() + src.left;
    CairoDrawImage(cr_, first, src.width(), src.height(), image.strideBytes(), dst, options);
}

PangoLayout* CairoCanvas::layoutFor(std::string_view text, const Font& font, double* stretch) {
    checkTextThread();
    if (layout_ == nullptr) {
        layout_ = pango_cairo_create_layout(cr_);
        cairo_font_options_t* options = cairo_font_options_create();
        cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
        cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
        pango_cairo_context_set_font_options(pango_layout_get_context(layout_), options);
        cairo_font_options_destroy(options);
        pango_layout_context_changed(layout_);
    }
    const FontCache::Entry& entry = fonts_.get(font);
    pango_layout_set_font_description(layout_, entry.description);
    pango_layout_set_text(layout_, text.data(), static_cast<int>(text.size()));
    pango_layout_set_width(layout_, -1);
    pango_layout_set_height(layout_, -1);
    pango_layout_set_ellipsize(layout_, PANGO_ELLIPSIZE_NONE);
    pango_layout_set_wrap(layout_, PANGO_WRAP_WORD_CHAR);
    pango_layout_set_alignment(layout_, PANGO_ALIGN_LEFT);
    pango_layout_set_single_paragraph_mode(layout_, FALSE);
    *stretch = entry.stretch;
    return layout_;
}

int CairoCanvas::DrawText(std::string_view text, RECT& rect, std::uint32_t format, const Font& font, COLORREF color) {
    const bool single = (format & DT_SINGLELINE) != 0;
    const bool wrap = !single && (format & DT_WORDBREAK) != 0;
    const bool ellipsis = (format & (DT_WORD_ELLIPSIS | DT_END_ELLIPSIS)) != 0;

    std::string str(text);
    // A single line shows line breaks as spaces; carriage returns never show.
    str.erase(std::remove(str.begin(), str.end(), '\r'), str.end());
    if (single) std::replace(str.begin(), str.end(), '\n', ' ');

    double stretch = 1.0;
    PangoLayout* layout = layoutFor(str, font, &stretch);
    const int boxWidth = std::max(0, rect.width());
    const int layoutWidth = static_cast<int>(boxWidth / stretch * PANGO_SCALE);
    if (wrap) pango_layout_set_width(layout, layoutWidth);
    if (ellipsis && (format & DT_CALCRECT) == 0) {
        pango_layout_set_width(layout, layoutWidth);
        pango_layout_set_ellipsize(layout, PANGO_ELLIPSIZE_END);
        if (wrap) {
            // Without a height pango ellipsizes every paragraph to one line; with
            // the rectangle's height the text wraps and only the last line that
            // fits ends in "...".
            pango_layout_set_height(layout, std::max(0, rect.height()) * PANGO_SCALE);
        } else {
            pango_layout_set_single_paragraph_mode(layout, single ? TRUE : FALSE);
        }
    }
    const PangoAlignment align = (format & DT_CENTER) != 0  ? PANGO_ALIGN_CENTER
                                 : (format & DT_RIGHT) != 0 ? PANGO_ALIGN_RIGHT
                                                            : PANGO_ALIGN_LEFT;
    pango_layout_set_alignment(layout, align);

    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    const int textWidth = static_cast<int>(std::lround(logical.width * stretch));
    const int textHeight = logical.height;

    if ((format & DT_CALCRECT) != 0) {
        rect.right = rect.left + (wrap ? std::min(boxWidth, textWidth) : textWidth);
        rect.bottom = rect.top + textHeight;
        return textHeight;
    }

    // With a layout width pango aligns the lines itself; without one the block is
    // placed by hand.
    double x = rect.left;
    if (pango_layout_get_width(layout) < 0) {
        if ((format & DT_CENTER) != 0) x = rect.left + (boxWidth - textWidth) / 2;
        if ((format & DT_RIGHT) != 0) x = rect.right - textWidth;
    }
    double y = rect.top;
    if (single && (format & DT_VCENTER) != 0) y = rect.top + (rect.height() - textHeight) / 2;
    if (single && (format & DT_BOTTOM) != 0) y = rect.bottom - textHeight;

    cairo_save(cr_);
    if ((format & DT_NOCLIP) == 0) {
        cairo_rectangle(cr_, rect.left, rect.top, std::max(0, rect.width()), std::max(0, rect.height()));
        cairo_clip(cr_);
    }
    setColor(color);
    cairo_translate(cr_, x, y);
    if (stretch != 1.0) cairo_scale(cr_, stretch, 1.0);
    pango_cairo_update_layout(cr_, layout);
    cairo_move_to(cr_, 0, 0);
    pango_cairo_show_layout(cr_, layout);
    cairo_restore(cr_);
    return textHeight;
}

SIZE CairoCanvas::MeasureText(std::string_view text, const Font& font) {
    std::string str(text);
    std::replace(str.begin(), str.end(), '\n', ' ');
    double stretch = 1.0;
    PangoLayout* layout = layoutFor(str, font, &stretch);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    return SIZE{static_cast<int>(std::lround(logical.width * stretch)), logical.height};
}

void CairoCanvas::SetPixel(POINT p, COLORREF color) {
    cairo_surface_flush(surface_);
    target_.setArgb(p.x, p.y, OpaqueArgb(color));
    cairo_surface_mark_dirty(surface_);
}

COLORREF CairoCanvas::GetPixel(POINT p) {
    cairo_surface_flush(surface_);
    return target_.colorAt(p.x, p.y);
}

void CairoCanvas::Flush() { cairo_surface_flush(surface_); }

}  // namespace zavrin
