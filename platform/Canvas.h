#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Geometry.h"
#include "platform/Image.h"

namespace zavrin {

// DrawText format flags (Win32 values). DT_TOP and DT_LEFT are 0.
inline constexpr std::uint32_t DT_TOP = 0x00000000;
inline constexpr std::uint32_t DT_LEFT = 0x00000000;
inline constexpr std::uint32_t DT_CENTER = 0x00000001;
inline constexpr std::uint32_t DT_RIGHT = 0x00000002;
inline constexpr std::uint32_t DT_VCENTER = 0x00000004;   // with DT_SINGLELINE only
inline constexpr std::uint32_t DT_BOTTOM = 0x00000008;    // with DT_SINGLELINE only
inline constexpr std::uint32_t DT_WORDBREAK = 0x00000010;
inline constexpr std::uint32_t DT_SINGLELINE = 0x00000020;
inline constexpr std::uint32_t DT_NOCLIP = 0x00000100;
inline constexpr std::uint32_t DT_CALCRECT = 0x00000400;  // measure only: widen/heighten the rect, draw nothing
inline constexpr std::uint32_t DT_EDITCONTROL = 0x00002000;  // accepted; lines already wrap as an edit control does
inline constexpr std::uint32_t DT_END_ELLIPSIS = 0x00008000;
inline constexpr std::uint32_t DT_WORD_ELLIPSIS = 0x00040000;

// Font weights and character sets (Win32 values).
inline constexpr int FW_DONTCARE = 0;
inline constexpr int FW_NORMAL = 400;
inline constexpr int FW_SEMIBOLD = 600;
inline constexpr int FW_BOLD = 700;
inline constexpr int DEFAULT_CHARSET = 1;
inline constexpr int GB2312_CHARSET = 134;

// A font as CreateFont describes one. `height` > 0 is the cell height in pixels
// (ascent + descent), `height` < 0 the character (em) height, 0 a default of 12.
// `width` > 0 asks for that average character width (the font is stretched
// horizontally), 0 keeps the face's proportions. `weight` 0 means FW_NORMAL.
// A face that is not installed falls back to an installed one that covers the
// text (a CJK face for Chinese texts).
struct Font {
    std::string face = "Tahoma";
    int height = 12;
    int width = 0;
    int weight = FW_DONTCARE;
    int charset = DEFAULT_CHARSET;
    bool italic = false;
    friend bool operator==(const Font&, const Font&) = default;
};

enum class Interpolation {
    Nearest,      // pixel copies, for 1:1 blits
    HighQuality,  // smooth filtering for stretched pictures (GDI+ HighQuality with half-pixel offset)
};

enum class BlendMode {
    SourceOver,  // alpha blending, as GDI+ DrawImage and AlphaBlend do
    Copy,        // the source replaces the destination, alpha included (BitBlt SRCCOPY)
};

struct ImageDrawOptions {
    std::uint8_t opacity = 255;  // constant opacity multiplied with the picture's own alpha
    Interpolation interpolation = Interpolation::HighQuality;
    BlendMode blend = BlendMode::SourceOver;
};

// Drawing into one Image (a window surface or an off-screen bitmap). All
// coordinates are pixels of the target; scaling by uiScale is the caller's
// business. A Canvas is used on one thread at a time and must not outlive its
// target Image; the target must not be resized while a Canvas draws into it.
//
// Drawing is clipped to the target and to the current clip (see PushClip).
class Canvas {
public:
    virtual ~Canvas() = default;

    virtual int width() const = 0;
    virtual int height() const = 0;

    // Narrows the clip to `r` (intersected with the current clip) until the
    // matching PopClip. Calls nest.
    virtual void PushClip(const RECT& r) = 0;
    virtual void PopClip() = 0;

    // Opaque fill of `r` with `color` (0x00BBGGRR); `alpha` < 255 blends it.
    virtual void FillRect(const RECT& r, COLORREF color, std::uint8_t alpha = 255) = 0;
    // An outline of `thickness` pixels drawn inside `r`: four opaque fills, so
    // that every canvas draws it to the same pixels.
    void FrameRect(const RECT& r, COLORREF color, int thickness = 1) {
        if (IsRectEmpty(r) || thickness <= 0) return;
        const int t = thickness;
        FillRect(RECT{r.left, r.top, r.right, std::min(r.bottom, r.top + t)}, color, 255);
        FillRect(RECT{r.left, std::max(r.top, r.bottom - t), r.right, r.bottom}, color, 255);
        FillRect(RECT{r.left, r.top + t, std::min(r.right, r.left + t), r.bottom - t}, color, 255);
        FillRect(RECT{std::max(r.left, r.right - t), r.top + t, r.right, r.bottom - t}, color, 255);
    }
    // A straight line of `width` pixels from `from` to `to`, antialiased.
    virtual void DrawLine(POINT from, POINT to, COLORREF color, int width = 1) = 0;
    // A filled polygon (for arrows and triangles), antialiased.
    virtual void FillPolygon(std::span<const POINT> points, COLORREF color) = 0;
    // A filled ellipse inscribed in `r`, antialiased.
    virtual void FillEllipse(const RECT& r, COLORREF color) = 0;

    // Stretches `src` (pixels of `image`) onto `dst`. An empty `image` or an empty
    // `src` draws nothing; `src` is clamped to the image.
    virtual void DrawImage(const Image& image, const RECT& dst, const RECT& src,
                           const ImageDrawOptions& options = {}) = 0;
    // The whole picture stretched onto `dst`.
    void DrawImage(const Image& image, const RECT& dst, const ImageDrawOptions& options = {}) {
        DrawImage(image, dst, image.bounds(), options);
    }
    // A 1:1 copy of `src` to `dstTopLeft`, replacing what was there (BitBlt SRCCOPY).
    void CopyImage(const Image& image, POINT dstTopLeft, const RECT& src) {
        DrawImage(image, RECT{dstTopLeft.x, dstTopLeft.y, dstTopLeft.x + src.width(), dstTopLeft.y + src.height()},
                  src, ImageDrawOptions{255, Interpolation::Nearest, BlendMode::Copy});
    }

    // Draws UTF-8 `text` in `rect` with the DT_* rules of DrawText:
    // - DT_LEFT / DT_CENTER / DT_RIGHT align each line horizontally;
    // - DT_SINGLELINE keeps one line (line breaks are shown as spaces); with it
    //   DT_VCENTER centres the line vertically and DT_BOTTOM puts it at the bottom;
    //   without it lines start at the top;
    // - DT_WORDBREAK breaks lines at word boundaries (and at any character for
    //   CJK text) to fit the width; explicit line breaks always break;
    // - DT_WORD_ELLIPSIS and DT_END_ELLIPSIS replace what does not fit the width
    //   with "..." at the end;
    // - text is clipped to `rect` unless DT_NOCLIP;
    // - DT_CALCRECT draws nothing and sets `rect`'s right and bottom to the
    //   extent of the text.
    // Returns the height of the text drawn, in pixels. The background stays as it
    // is (transparent text).
    virtual int DrawText(std::string_view text, RECT& rect, std::uint32_t format, const Font& font,
                         COLORREF color) = 0;
    // Convenience form for a rectangle that need not come back.
    int DrawText(std::string_view text, const RECT& rect, std::uint32_t format, const Font& font, COLORREF color) {
        RECT r = rect;
        return DrawText(text, r, format, font, color);
    }
    // Text whose top-left corner is `origin`, unclipped (TextOut).
    void TextOut(POINT origin, std::string_view text, const Font& font, COLORREF color) {
        RECT r{origin.x, origin.y, origin.x + 100000, origin.y + 100000};
        DrawText(text, r, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOCLIP, font, color);
    }
    // Size of `text` on one line in `font`.
    virtual SIZE MeasureText(std::string_view text, const Font& font) = 0;

    // Sets or reads one pixel of the target (0x00BBGGRR, read un-premultiplied).
    // Reading finishes every pending drawing first.
    virtual void SetPixel(POINT p, COLORREF color) = 0;
    virtual COLORREF GetPixel(POINT p) = 0;

    // Finishes pending drawing so that the target Image holds every pixel drawn so far.
    virtual void Flush() = 0;
};

// What a drawing backend supplies (cairo and pango on Linux and headless,
// GDI/GDI+ on Windows): canvases over Images, and decoding and encoding of
// picture files. The functions may be called from any thread, one call per
// Canvas at a time.
class Graphics {
public:
    virtual ~Graphics() = default;

    // A canvas drawing into `target`.
    virtual std::unique_ptr<Canvas> CreateCanvas(Image& target) = 0;

    // Decodes a PNG or BMP file held in memory (the format is recognised by its
    // signature). False, with `out` unchanged, for anything it cannot decode.
    virtual bool DecodeImage(std::span<const std::uint8_t> bytes, Image& out) = 0;

    // Encodes `image` as PNG; false on failure.
    virtual bool EncodePng(const Image& image, std::vector<std::uint8_t>& out) = 0;
};

// The drawing backend the program uses; installed once at start-up (by main or
// by a test fixture) before any window paints or picture loads. UI thread.
void SetGraphics(Graphics* graphics);
// The installed backend; null when none was installed.
Graphics* GetGraphics();

}  // namespace zavrin
