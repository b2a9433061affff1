#include "platform/cairo/CairoImageDraw.h"

namespace zavrin {

void CairoDrawImage(cairo_t* cr, const std::uint32_t* first, int srcWidth, int srcHeight, int strideBytes,
                    const RECT& dst, const ImageDrawOptions& options) {
    // A surface over exactly the source rectangle, so that filtering at its edges
    // never pulls in the neighbouring frames of a strip.
    cairo_surface_t* source =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(first)),
                                            CAIRO_FORMAT_ARGB32, srcWidth, srcHeight, strideBytes);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
    cairo_matrix_t m;
    const double sx = static_cast<double>(srcWidth) / dst.width();
    const double sy = static_cast<double>(srcHeight) / dst.height();
    cairo_matrix_init(&m, sx, 0, 0, sy, -dst.left * sx, -dst.top * sy);
    cairo_pattern_set_matrix(pattern, &m);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    const bool oneToOne = srcWidth == dst.width() && srcHeight == dst.height();
    cairo_pattern_set_filter(pattern, options.interpolation == Interpolation::Nearest || oneToOne ? CAIRO_FILTER_NEAREST
                                                                                               : CAIRO_FILTER_GOOD);
    cairo_save(cr);
    cairo_set_operator(cr, options.blend == BlendMode::Copy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
    cairo_set_source(cr, pattern);
    cairo_rectangle(cr, dst.left, dst.top, dst.width(), dst.height());
    if (options.opacity == 255) {
        cairo_fill(cr);
    } else {
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, options.opacity / 255.0);
    }
    cairo_restore(cr);
    cairo_pattern_destroy(pattern);
    cairo_surface_destroy(source);
}

}  // namespace zavrin
