// Draws every skin picture the program reads from "skins/" beside it and the
// program's own pictures (icon, main frame, palette, scroll arrows), in one dark
// look built on the program's colours, and writes the latter as a C++ source
// with the embedded pictures. Run by the build:
//   skingen <skins folder> <generated .cpp>
//   skingen --icon <file.ico>   (the program icon for the Windows resource file)

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/PixelRuns.h"
#include "platform/ReadyMadeFrames.h"
#include "platform/cairo/CairoImageDraw.h"

namespace {

namespace fs = std::filesystem;

// The program's colours are 0x00BBGGRR values (red in the low byte).
using Colorref = std::uint32_t;
constexpr Colorref kDark = 0x1F1F1F;
constexpr Colorref kPanel = 0x323232;
constexpr Colorref kEdge = 0x4B4B4B;
constexpr Colorref kAccent = 0xDEA035;  // red 0x35, green 0xA0, blue 0xDE
constexpr Colorref kText = 0xB4B4B4;
constexpr Colorref kWhite = 0xFFFFFF;
constexpr Colorref kDeep = 0x101010;
constexpr Colorref kPaletteBackground = 0x0F0F0F;
constexpr Colorref kPreviewOutline = 0xC8C8C8;
constexpr double kPi = 3.14159265358979323846;

void Set(cairo_t* cr, Colorref c, double alpha = 1.0) {
    cairo_set_source_rgba(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, ((c >> 16) & 0xFF) / 255.0, alpha);
}

// From the RGB hexadecimal notation of the palette table.
Colorref FromRgbHex(std::uint32_t rgb) { return ((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16); }

void RoundRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void FillRound(cairo_t* cr, double x, double y, double w, double h, double r, Colorref fill, Colorref edge,
               double edgeWidth = 1.0) {
    RoundRect(cr, x + edgeWidth / 2, y + edgeWidth / 2, w - edgeWidth, h - edgeWidth, r);
    Set(cr, fill);
    cairo_fill_preserve(cr);
    Set(cr, edge);
    cairo_set_line_width(cr, edgeWidth);
    cairo_stroke(cr);
}

void Text(cairo_t* cr, const std::string& s, double cx, double cy, double size, Colorref c, bool bold = true) {
    cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    Set(cr, c);
    cairo_move_to(cr, cx - e.width / 2 - e.x_bearing, cy - e.height / 2 - e.y_bearing);
    cairo_show_text(cr, s.c_str());
}

void Triangle(cairo_t* cr, double x1, double y1, double x2, double y2, double x3, double y3, Colorref c) {
    cairo_move_to(cr, x1, y1);
    cairo_line_to(cr, x2, y2);
    cairo_line_to(cr, x3, y3);
    cairo_close_path(cr);
    Set(cr, c);
    cairo_fill(cr);
}

using Painter = std::function<void(cairo_t*, int, int)>;

cairo_surface_t* Paint(int w, int h, const Painter& painter) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* cr = cairo_create(s);
    painter(cr, w, h);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    return s;
}

cairo_status_t Append(void* closure, const unsigned char* data, unsigned int length) {
    auto* out = static_cast<std::vector<unsigned char>*>(closure);
    out->insert(out->end(), data, data + length);
    return CAIRO_STATUS_SUCCESS;
}

std::vector<unsigned char> PngBytes(cairo_surface_t* s) {
    std::vector<unsigned char> out;
    cairo_surface_write_to_png_stream(s, Append, &out);
    return out;
}

bool WriteFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

// A 24-bit bottom-up Windows bitmap of an opaque picture (the dialog frames).
std::vector<unsigned char> BmpBytes(cairo_surface_t* s) {
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int rowBytes = ((w * 24 + 31) / 32) * 4;
    std::vector<unsigned char> b(54 + static_cast<std::size_t>(rowBytes) * h, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(h));
    b[26] = 1;
    b[28] = 24;
    put32(34, static_cast<std::uint32_t>(rowBytes) * static_cast<std::uint32_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        const std::size_t at = 54 + static_cast<std::size_t>(h - 1 - y) * rowBytes;
        for (int x = 0; x < w; ++x) {
            const std::uint32_t p = row[x];  // opaque, so premultiplication changes nothing
            b[at + x * 3] = static_cast<unsigned char>(p & 0xFF);
            b[at + x * 3 + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            b[at + x * 3 + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
        }
    }
    return b;
}

// The pixels the program reads back from a 24-bit bitmap of `s`: its colour
// bytes, always opaque.
std::vector<std::uint32_t> BmpPixels(cairo_surface_t* s) {
    const int w = cairo_image_surface_get_width(s);
    const int h = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) pixels.push_back(0xFF000000u | (row[x] & 0xFFFFFFu));
    }
    return pixels;
}

// A frame picture (w x h premultiplied pixels, as the program reads it) at UI
// scale 2 as pixel runs: what the dialog base makes of it at run time, drawn
// the same way. Transparent parts come out black over a black fill, opaque
// pictures cover everything themselves.
std::vector<unsigned char> ReadyMadeFrameRuns(const std::vector<std::uint32_t>& pixels, int w, int h) {
    const int sw = static_cast<int>(static_cast<float>(w) * zavrin::kReadyMadeFrameScale);
    const int sh = static_cast<int>(static_cast<float>(h) * zavrin::kReadyMadeFrameScale);
    cairo_surface_t* target = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    cairo_surface_flush(target);
    const bool opaque =
        std::all_of(pixels.begin(), pixels.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
    auto* out = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(target));
    const int outStride = cairo_image_surface_get_stride(target);
    if (!opaque) {
        for (int y = 0; y < sh; ++y) std::fill_n(out + static_cast<std::size_t>(y) * (outStride / 4), sw, 0xFF000000u);
        cairo_surface_mark_dirty(target);
    }
    cairo_t* cr = cairo_create(target);
    zavrin::CairoDrawImage(cr, pixels.data(), w, h, w * 4, zavrin::RECT{0, 0, sw, sh},
                           zavrin::ImageDrawOptions{255, zavrin::Interpolation::HighQuality,
                                                    zavrin::BlendMode::SourceOver});
    cairo_destroy(cr);
    cairo_surface_flush(target);
    std::vector<std::uint32_t> scaled;
    scaled.reserve(static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh));
    for (int y = 0; y < sh; ++y) {
        const std::uint32_t* row = out + static_cast<std::size_t>(y) * (outStride / 4);
        scaled.insert(scaled.end(), row, row + sw);
    }
    cairo_surface_destroy(target);
    return zavrin::EncodePixelRuns(sw, sh, scaled);
}

class Generator {
public:
    explicit Generator(fs::path skins) : skins_(std::move(skins)) {}

    void png(const std::string& name, int w, int h, const Painter& p) {
        cairo_surface_t* s = Paint(w, h, p);
        ok_ = WriteFile(skins_ / name, PngBytes(s)) && ok_;
        cairo_surface_destroy(s);
    }
    void bmp(const std::string& name, int w, int h, const Painter& p) {
        cairo_surface_t* s = Paint(w, h, p);
        ok_ = WriteFile(skins_ / name, BmpBytes(s)) && ok_;
        cairo_surface_destroy(s);
    }
    // A window frame: the bitmap, and beside it the frame ready-made at UI
    // scale 2 (ReadyMadeFrames.h).
    void frame(const std::string& name, int w, int h, const Painter& p) {
        cairo_surface_t* s = Paint(w, h, p);
        const std::vector<unsigned char> bmp = BmpBytes(s);
        zavrin::PictureFingerprint picture;
        picture.add(bmp);
        ok_ = WriteFile(skins_ / name, bmp) && ok_;
        ok_ = WriteFile(zavrin::ReadyMadeFramePath(skins_ / name),
                        zavrin::ReadyMadeFrameFile(picture, ReadyMadeFrameRuns(BmpPixels(s), w, h))) &&
              ok_;
        cairo_surface_destroy(s);
    }
    bool ok() const { return ok_; }

private:
    fs::path skins_;
    bool ok_ = true;
};

// ---- Shared looks -----------------------------------------------------------

Painter Button(bool hover) {
    return [hover](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 3, hover ? kEdge : kPanel, hover ? kAccent : kEdge);
    };
}

Painter Combo(bool hover) {
    return [hover](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 2, kDark, hover ? kAccent : kEdge);
        const double cx = w - h * 0.6;
        const double cy = h / 2.0;
        Triangle(cr, cx - 4, cy - 2, cx + 4, cy - 2, cx, cy + 3, hover ? kAccent : kText);
    };
}

// A pop-up menu row: the hovered row lighter with an accent bar, a sub-menu
// row with an arrow, a dark rule between rows.
Painter MenuRow(bool hover, bool submenu) {
    return [hover, submenu](cairo_t* cr, int w, int h) {
        Set(cr, hover ? kPanel : kDark);
        cairo_paint(cr);
        if (hover) {
            Set(cr, kAccent);
            cairo_rectangle(cr, 0, 0, 3, h);
            cairo_fill(cr);
        }
        if (submenu) Triangle(cr, w - 12, h / 2.0 - 4, w - 12, h / 2.0 + 4, w - 7, h / 2.0, hover ? kAccent : kText);
        Set(cr, kDeep);
        cairo_rectangle(cr, 0, h - 1, w, 1);
        cairo_fill(cr);
    };
}

Painter Check(int look) {  // 0 normal, 1 hover, 2 checked
    return [look](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 2, look == 2 ? kAccent : kDark, look == 0 ? kEdge : kAccent);
        if (look == 2) {
            cairo_move_to(cr, w * 0.22, h * 0.52);
            cairo_line_to(cr, w * 0.43, h * 0.74);
            cairo_line_to(cr, w * 0.8, h * 0.28);
            Set(cr, kWhite);
            cairo_set_line_width(cr, std::max(1.5, w / 7.0));
            cairo_stroke(cr);
        }
    };
}

Painter Radio(int look) {
    return [look](cairo_t* cr, int w, int h) {
        const double r = std::min(w, h) / 2.0 - 0.75;
        cairo_arc(cr, w / 2.0, h / 2.0, r, 0, 2 * kPi);
        Set(cr, kDark);
        cairo_fill_preserve(cr);
        Set(cr, look == 0 ? kEdge : kAccent);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
        if (look == 2) {
            cairo_arc(cr, w / 2.0, h / 2.0, r * 0.5, 0, 2 * kPi);
            Set(cr, kAccent);
            cairo_fill(cr);
        }
    };
}

Painter Arrow(bool up, int look) {  // a 24 x 24 direction button
    return [up, look](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 3, look == 2 ? kAccent : kPanel, look == 0 ? kEdge : kAccent);
        const Colorref c = look == 2 ? kWhite : look == 1 ? kAccent : kText;
        if (up) {
            Triangle(cr, w * 0.25, h * 0.65, w * 0.75, h * 0.65, w * 0.5, h * 0.3, c);
        } else {
            Triangle(cr, w * 0.25, h * 0.35, w * 0.75, h * 0.35, w * 0.5, h * 0.7, c);
        }
    };
}

// A dialog frame: dark body, a title strip with an accent rule, a thin border.
Painter DialogFrame(Colorref rule) {
    return [rule](cairo_t* cr, int w, int h) {
        Set(cr, kDark);
        cairo_paint(cr);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 24);
        cairo_pattern_add_color_stop_rgb(g, 0, 0x3A / 255.0, 0x3A / 255.0, 0x3A / 255.0);
        cairo_pattern_add_color_stop_rgb(g, 1, 0x32 / 255.0, 0x32 / 255.0, 0x32 / 255.0);
        cairo_rectangle(cr, 0, 0, w, 24);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        Set(cr, rule);
        cairo_rectangle(cr, 0, 24, w, 2);
        cairo_fill(cr);
        Set(cr, kEdge);
        cairo_set_line_width(cr, 1);
        cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
        cairo_stroke(cr);
    };
}

Painter Panel() {
    return [](cairo_t* cr, int w, int h) {
        Set(cr, kDeep);
        cairo_paint(cr);
        FillRound(cr, 1, 1, w - 2, h - 2, 4, kDark, kPanel);
    };
}

void Digit(cairo_t* cr, int n, int w, int h, Colorref c, double size) {
    Text(cr, std::to_string(n), w / 2.0, h / 2.0, size, c);
}

// ---- The skins folder -----------------------------------------------------

void DrawSkins(Generator& g) {
    // Buttons and boxes.
    for (bool ov : {false, true}) {
        const std::string s = ov ? "_ov.png" : "_nr.png";
        g.png("exit" + s, 15, 15, [ov](cairo_t* cr, int w, int h) {
            if (ov) FillRound(cr, 0, 0, w, h, 2, kEdge, kEdge);
            cairo_move_to(cr, 4, 4);
            cairo_line_to(cr, w - 4, h - 4);
            cairo_move_to(cr, w - 4, 4);
            cairo_line_to(cr, 4, h - 4);
            Set(cr, ov ? kAccent : kText);
            cairo_set_line_width(cr, 1.6);
            cairo_stroke(cr);
        });
        g.png("min" + s, 15, 15, [ov](cairo_t* cr, int w, int h) {
            if (ov) FillRound(cr, 0, 0, w, h, 2, kEdge, kEdge);
            Set(cr, ov ? kAccent : kText);
            cairo_rectangle(cr, 4, h - 5, w - 8, 1.6);
            cairo_fill(cr);
        });
        g.png("button1" + s, 162, 24, Button(ov));
        g.png("button2" + s, 65, 23, Button(ov));
        g.png("combo2" + s, 162, 21, Combo(ov));
        g.png("combo3" + s, 117, 20, Combo(ov));
        g.png("header" + s, 262, 25, [ov](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 2, ov ? kEdge : kPanel, ov ? kAccent : kEdge);
            Set(cr, kAccent);
            cairo_rectangle(cr, 1, 4, 3, h - 8);
            cairo_fill(cr);
            Triangle(cr, w - 18, h / 2.0 - 2, w - 10, h / 2.0 - 2, w - 14, h / 2.0 + 3, ov ? kAccent : kText);
        });
        g.png("header2" + s, 230, 25, [ov](cairo_t* cr, int w, int h) {
            Set(cr, kDark);
            cairo_paint(cr);
            Set(cr, ov ? kAccent : kEdge);
            cairo_rectangle(cr, 0, h - 2, w, 2);
            cairo_fill(cr);
        });
        g.png("menu" + s, 160, 22, MenuRow(ov, false));
        g.png("menusub" + s, 160, 22, MenuRow(ov, true));
        g.png("add" + s, 22, 22, [ov](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 3, ov ? kEdge : kPanel, ov ? kAccent : kEdge);
            Set(cr, ov ? kAccent : kText);
            cairo_rectangle(cr, w / 2.0 - 1, 5, 2, h - 10);
            cairo_rectangle(cr, 5, h / 2.0 - 1, w - 10, 2);
            cairo_fill(cr);
        });
        g.png("Launch" + s, 24, 22, [ov](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 3, ov ? kEdge : kPanel, ov ? kAccent : kEdge);
            Set(cr, ov ? kAccent : kText);
            cairo_rectangle(cr, 5, 7, 6, 2);
            cairo_rectangle(cr, 5, 9, w - 10, h - 14);
            cairo_fill(cr);
        });
    }
    g.png("button4_nr.png", 120, 24, Button(false));
    g.png("check_nr.png", 11, 11, Check(0));
    g.png("check_ov.png", 11, 11, Check(1));
    g.png("check_dn.png", 11, 11, Check(2));
    g.png("check_button_dpi_nr.png", 14, 14, Check(0));
    g.png("check_button_dpi_ov.png", 14, 14, Check(1));
    g.png("check_button_dpi_dn.png", 14, 14, Check(2));
    g.png("radio_nr.png", 15, 15, Radio(0));
    g.png("radio_ov.png", 15, 15, Radio(1));
    g.png("radio_dn.png", 15, 15, Radio(2));
    g.png("up_nr.png", 24, 24, Arrow(true, 0));
    g.png("up_ov.png", 24, 24, Arrow(true, 1));
    g.png("up_check.png", 24, 24, Arrow(true, 2));
    g.png("down_nr.png", 24, 24, Arrow(false, 0));
    g.png("down_ov.png", 24, 24, Arrow(false, 1));
    g.png("down_check.png", 24, 24, Arrow(false, 2));
    for (const char* rate : {"125", "250", "500", "1000"}) {
        const std::string label = std::string(rate) + "Hz";
        g.png(std::string(rate) + "hz_nr.png", 52, 24, [label](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, h / 2.0, kPanel, kEdge);
            Text(cr, label, w / 2.0, h / 2.0, 10, kText);
        });
        g.png(std::string(rate) + "hz_dn.png", 52, 24, [label](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, h / 2.0, kAccent, kAccent);
            Text(cr, label, w / 2.0, h / 2.0, 10, kWhite);
        });
    }
    g.png("dpi_value.png", 40, 28, [](cairo_t* cr, int w, int h) { FillRound(cr, 0, 0, w, h, 3, kPanel, kEdge); });
    g.png("color_select_nr.png", 24, 24, [](cairo_t* cr, int w, int h) { FillRound(cr, 0, 0, w, h, 2, kDark, kEdge); });
    g.png("color_select_check.png", 24, 24,
          [](cairo_t* cr, int w, int h) { FillRound(cr, 0, 0, w, h, 2, kWhite, kAccent, 2.5); });
    for (bool open : {false, true}) {
        g.png(open ? "profile_slot_nr2.png" : "profile_slot_nr.png", 44, 22, [open](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 3, open ? kEdge : kPanel, open ? kAccent : kEdge);
        });
        g.png(open ? "profile_slot_ov2.png" : "profile_slot_ov.png", 44, 22, [open](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 3, open ? kAccent : kEdge, kAccent);
        });
    }
    g.png("macro_record_nr.png", 90, 18, [](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 3, kPanel, kEdge);
        cairo_arc(cr, 9, h / 2.0, 4, 0, 2 * kPi);
        Set(cr, 0x0000C0);
        cairo_fill(cr);
    });
    // Under the pointer the button keeps its frame and its red dot, lit up.
    g.png("macro_record_ov.png", 90, 18, [](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 3, kEdge, kAccent);
        cairo_arc(cr, 9, h / 2.0, 4, 0, 2 * kPi);
        Set(cr, 0x0000E0);
        cairo_fill(cr);
    });
    g.png("macro_record_dn.png", 90, 18, [](cairo_t* cr, int w, int h) {
        FillRound(cr, 0, 0, w, h, 3, 0x000060, 0x0000C0);
        cairo_arc(cr, 9, h / 2.0, 4, 0, 2 * kPi);
        Set(cr, 0x4040FF);
        cairo_fill(cr);
    });

    // Sliders.
    g.png("Slider_Circle.png", 13, 13, [](cairo_t* cr, int w, int h) {
        cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 0.5, 0, 2 * kPi);
        Set(cr, kAccent);
        cairo_fill_preserve(cr);
        Set(cr, kWhite);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    });
    for (const char* name : {"Slider_bar.png", "Slider_bar2.png"}) {
        g.png(name, 200, 13, [](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, h / 2.0 - 2, w, 4, 2, kEdge, kEdge);
        });
    }
    g.png("mouse/dpi_bar_1.png", 16, 120, [](cairo_t* cr, int w, int h) { FillRound(cr, 0, 0, w, h, 3, kDark, kEdge); });
    g.png("mouse/dpi_bar_2.png", 16, 120, [](cairo_t* cr, int w, int h) {
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, h);
        cairo_pattern_add_color_stop_rgb(p, 0, 0x8F / 255.0, 0xD4 / 255.0, 0xF5 / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 1, 0x35 / 255.0, 0xA0 / 255.0, 0xDE / 255.0);
        RoundRect(cr, 1, 1, w - 2, h - 2, 2);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    });

    // The lists' icons.
    for (bool open : {false, true}) {
        g.png(open ? "foldr_open.png" : "foldr_close.png", 16, 16, [open](cairo_t* cr, int, int) {
            Set(cr, kText);
            cairo_rectangle(cr, 1, 3, 6, 2);
            cairo_rectangle(cr, 1, 5, 14, 9);
            cairo_fill(cr);
            if (open) {
                cairo_move_to(cr, 3, 8);
                cairo_line_to(cr, 16, 8);
                cairo_line_to(cr, 14, 14);
                cairo_line_to(cr, 1, 14);
                cairo_close_path(cr);
                Set(cr, kAccent);
                cairo_fill(cr);
            }
        });
    }
    g.png("macro_down.png", 12, 12, [](cairo_t* cr, int w, int h) {
        Triangle(cr, 1, 4, w - 1, 4, w / 2.0, h - 1, kAccent);
        Set(cr, kAccent);
        cairo_rectangle(cr, w / 2.0 - 1.5, 0, 3, 5);
        cairo_fill(cr);
    });
    g.png("macro_up.png", 12, 12, [](cairo_t* cr, int w, int h) {
        Triangle(cr, 1, h - 4, w - 1, h - 4, w / 2.0, 1, 0x40C040);
        Set(cr, 0x40C040);
        cairo_rectangle(cr, w / 2.0 - 1.5, h - 5, 3, 5);
        cairo_fill(cr);
    });
    g.png("macro_time.png", 12, 12, [](cairo_t* cr, int w, int h) {
        cairo_arc(cr, w / 2.0, h / 2.0, 5, 0, 2 * kPi);
        Set(cr, kText);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_move_to(cr, w / 2.0, 3);
        cairo_line_to(cr, w / 2.0, h / 2.0);
        cairo_line_to(cr, w - 3, h / 2.0);
        cairo_stroke(cr);
    });

    // Battery: the body spans rows 7 to 57, which the gauge fills from the bottom.
    auto batteryShell = [](cairo_t* cr, int w, int h) {
        Set(cr, kText);
        cairo_rectangle(cr, w / 2.0 - 5, 1, 10, 5);
        cairo_fill(cr);
        RoundRect(cr, 3.5, 6.5, w - 7, h - 12, 3);
        cairo_set_line_width(cr, 1.5);
        cairo_stroke(cr);
    };
    auto batteryFill = [batteryShell](Colorref top, Colorref bottom) {
        return [=](cairo_t* cr, int w, int h) {
            batteryShell(cr, w, h);
            cairo_pattern_t* p = cairo_pattern_create_linear(0, 7, 0, 57);
            cairo_pattern_add_color_stop_rgb(p, 0, (top & 0xFF) / 255.0, ((top >> 8) & 0xFF) / 255.0,
                                             ((top >> 16) & 0xFF) / 255.0);
            cairo_pattern_add_color_stop_rgb(p, 1, (bottom & 0xFF) / 255.0, ((bottom >> 8) & 0xFF) / 255.0,
                                             ((bottom >> 16) & 0xFF) / 255.0);
            cairo_rectangle(cr, 6, 7, w - 12, 50);
            cairo_set_source(cr, p);
            cairo_fill(cr);
            cairo_pattern_destroy(p);
        };
    };
    g.png("battery_empty.png", 32, 64, batteryShell);
    g.png("battery_full.png", 32, 64, batteryFill(0x60E060, 0x20A020));
    g.png("battery_charging.png", 32, 64, batteryFill(0xF5D48F, kAccent));
    g.png("battery_lighting.png", 32, 64, [](cairo_t* cr, int w, int) {
        cairo_move_to(cr, w / 2.0 + 4, 14);
        cairo_line_to(cr, w / 2.0 - 6, 34);
        cairo_line_to(cr, w / 2.0, 34);
        cairo_line_to(cr, w / 2.0 - 4, 50);
        cairo_line_to(cr, w / 2.0 + 6, 28);
        cairo_line_to(cr, w / 2.0, 28);
        cairo_close_path(cr);
        Set(cr, kWhite);
        cairo_fill_preserve(cr);
        Set(cr, kDark);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    });
    const std::pair<const char*, Colorref> dots[] = {
        {"battery_green.png", 0x40C040}, {"battery_orange.png", 0x0080FF}, {"battery_red.png", 0x0000E0}};
    for (const auto& [name, color] : dots) {
        const Colorref c = color;
        g.png(name, 10, 10, [c](cairo_t* cr, int w, int h) {
            cairo_arc(cr, w / 2.0, h / 2.0, 4, 0, 2 * kPi);
            Set(cr, c);
            cairo_fill(cr);
        });
    }

    // The power-saving dial: eight sectors over the upper half of a dial around
    // (70, 71); position i lights the first i sectors and points the needle at the last.
    static constexpr double kDialPoints[9][2] = {{3, 71},   {7, 51},   {17, 32},  {40, 13}, {70, 5},
                                                 {100, 14}, {121, 31}, {131, 51}, {134, 71}};
    for (int position = 1; position <= 8; ++position) {
        const std::string name = "power_manage_" + std::to_string(position + 2) + "min.png";
        g.png(name, 140, 80, [position](cairo_t* cr, int, int) {
            const double ax = 70;
            const double ay = 71;
            for (int i = 0; i < 8; ++i) {
                const double a0 = std::atan2(kDialPoints[i][1] - ay, kDialPoints[i][0] - ax);
                const double a1 = std::atan2(kDialPoints[i + 1][1] - ay, kDialPoints[i + 1][0] - ax);
                cairo_new_path(cr);
                cairo_arc(cr, ax, ay, 62, a0 + 0.03, a1 - 0.03);
                cairo_arc_negative(cr, ax, ay, 46, a1 - 0.03, a0 + 0.03);
                cairo_close_path(cr);
                Set(cr, i < position ? kAccent : kPanel);
                cairo_fill(cr);
            }
            const double mid = std::atan2(kDialPoints[position][1] - ay + kDialPoints[position - 1][1] - ay,
                                          kDialPoints[position][0] - ax + kDialPoints[position - 1][0] - ax);
            cairo_move_to(cr, ax, ay);
            cairo_line_to(cr, ax + 40 * std::cos(mid), ay + 40 * std::sin(mid));
            Set(cr, kWhite);
            cairo_set_line_width(cr, 2.5);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_stroke(cr);
            cairo_arc(cr, ax, ay, 5, 0, 2 * kPi);
            Set(cr, kEdge);
            cairo_fill(cr);
            Text(cr, std::to_string(position + 2) + "min", ax, ay - 20, 10, kText);
        });
    }

    // Header pictures and status icons.
    g.png("Logo pic.png", 160, 30, [](cairo_t* cr, int w, int h) { Text(cr, "ZAVRIN", w / 2.0, h / 2.0, 20, kAccent); });
    g.png("device name.png", 200, 30, [](cairo_t* cr, int w, int h) { Text(cr, "ZR2", w / 2.0, h / 2.0, 20, kText); });
    g.png("Status_Wired.png", 30, 30, [](cairo_t* cr, int, int) {
        Set(cr, kAccent);
        cairo_rectangle(cr, 10, 4, 10, 12);
        cairo_fill(cr);
        cairo_rectangle(cr, 12, 1, 2, 4);
        cairo_rectangle(cr, 16, 1, 2, 4);
        cairo_fill(cr);
        cairo_move_to(cr, 15, 16);
        cairo_curve_to(cr, 15, 24, 8, 22, 8, 29);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    });
    g.png("Status_BLE.png", 30, 30, [](cairo_t* cr, int, int) {
        Set(cr, kAccent);
        cairo_move_to(cr, 9, 9);
        cairo_line_to(cr, 20, 20);
        cairo_line_to(cr, 15, 25);
        cairo_line_to(cr, 15, 5);
        cairo_line_to(cr, 20, 10);
        cairo_line_to(cr, 9, 21);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    });
    g.png("Status_Wireless.png", 30, 30, [](cairo_t* cr, int, int) {
        Set(cr, kAccent);
        cairo_set_line_width(cr, 2);
        for (double r : {6.0, 12.0, 18.0}) {
            cairo_new_path(cr);
            cairo_arc(cr, 15, 25, r, -kPi * 0.8, -kPi * 0.2);
            cairo_stroke(cr);
        }
        cairo_arc(cr, 15, 25, 2, 0, 2 * kPi);
        cairo_fill(cr);
    });

    // The mouse and its button numbers.
    g.png("mouse/mouse_nr.png", 215, 398, [](cairo_t* cr, int w, int h) {
        cairo_save(cr);
        cairo_translate(cr, w / 2.0, h / 2.0);
        cairo_scale(cr, w / 2.0 - 8, h / 2.0 - 6);
        cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
        cairo_restore(cr);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0x2A / 255.0, 0x2A / 255.0, 0x2A / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 0x40 / 255.0, 0x40 / 255.0, 0x40 / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 1, 0x24 / 255.0, 0x24 / 255.0, 0x24 / 255.0);
        cairo_set_source(cr, p);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(p);
        Set(cr, kEdge);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
        Set(cr, kDeep);
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, w / 2.0, 8);
        cairo_line_to(cr, w / 2.0, h * 0.36);
        cairo_move_to(cr, 14, h * 0.36);
        cairo_curve_to(cr, w * 0.3, h * 0.4, w * 0.7, h * 0.4, w - 14, h * 0.36);
        cairo_stroke(cr);
        FillRound(cr, w / 2.0 - 7, 50, 14, 40, 7, kDark, kAccent, 2);
        Set(cr, kAccent);
        cairo_rectangle(cr, 14, 140, 3, 40);
        cairo_rectangle(cr, 14, 190, 3, 40);
        cairo_fill(cr);
        Text(cr, "ZR2", w / 2.0, h * 0.7, 18, kEdge);
    });
    for (int n = 1; n <= 9; ++n) {
        g.png("mouse/number" + std::to_string(n) + ".png", 26, 26, [n](cairo_t* cr, int w, int h) {
            cairo_arc(cr, w / 2.0, h / 2.0, w / 2.0 - 1, 0, 2 * kPi);
            Set(cr, kAccent);
            cairo_fill_preserve(cr);
            Set(cr, kWhite);
            cairo_set_line_width(cr, 1.5);
            cairo_stroke(cr);
            Digit(cr, n, w, h, kWhite, 13);
        });
        g.png("mouse/serial_number" + std::to_string(n) + ".png", 21, 21, [n](cairo_t* cr, int w, int h) {
            FillRound(cr, 0, 0, w, h, 3, kPanel, kEdge);
            Digit(cr, n, w, h, kText, 11);
        });
    }

    // Dialog frames (bitmaps at their dialogs' design sizes).
    g.frame("Frame_common.bmp", 429, 140, DialogFrame(kAccent));
    g.frame("Frame_launch.bmp", 429, 140, DialogFrame(kAccent));
    g.frame("Frame_DPI.bmp", 429, 140, DialogFrame(kAccent));
    g.frame("Frame_warning.bmp", 319, 102, DialogFrame(0x0080FF));
    // The attention dialog grown for a long notice (a file's path and a reason).
    g.frame("Frame_notice.bmp", 319, 172, DialogFrame(0x0080FF));
    g.frame("Frame_pairing.bmp", 429, 200, DialogFrame(kAccent));
    g.frame("Frame_Macro_Manager.bmp", 528, 365, DialogFrame(kAccent));
    g.bmp("Frame_Lighting_Setting.bmp", 230, 82, Panel());
    g.frame("Frame_progress_nr.bmp", 429, 140, DialogFrame(kAccent));
    g.bmp("Frame_progress_ov.bmp", 429, 140, [](cairo_t* cr, int w, int h) {
        DialogFrame(kAccent)(cr, w, h);
        cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, w, 0);
        cairo_pattern_add_color_stop_rgb(p, 0, 0x35 / 255.0, 0xA0 / 255.0, 0xDE / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 1, 0x8F / 255.0, 0xD4 / 255.0, 0xF5 / 255.0);
        cairo_rectangle(cr, 0, 26, w, h - 26);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    });
}

// ---- The program's own pictures -------------------------------------------

struct Resource {
    const char* type;  // ResourceType enumerator
    int id;
    cairo_surface_t* picture;
};

void DrawIcon(cairo_t* cr, int w, int h) {
    FillRound(cr, 0, 0, w, h, w / 6.0, kDark, kAccent, w / 24.0);
    cairo_move_to(cr, w * 0.28, h * 0.28);
    cairo_line_to(cr, w * 0.72, h * 0.28);
    cairo_line_to(cr, w * 0.28, h * 0.72);
    cairo_line_to(cr, w * 0.72, h * 0.72);
    Set(cr, kAccent);
    cairo_set_line_width(cr, w / 9.0);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_stroke(cr);
}

void DrawMainFrame(cairo_t* cr, int w, int h) {
    cairo_pattern_t* p = cairo_pattern_create_radial(w * 0.5, h * 0.5, 50, w * 0.5, h * 0.5, w * 0.7);
    cairo_pattern_add_color_stop_rgb(p, 0, 0x26 / 255.0, 0x26 / 255.0, 0x26 / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, 0x17 / 255.0, 0x17 / 255.0, 0x17 / 255.0);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    // Header strip with the accent rule, and a faint technical grid behind the mouse.
    Set(cr, kPanel);
    cairo_rectangle(cr, 0, 0, w, 30);
    cairo_fill(cr);
    Set(cr, kAccent);
    cairo_rectangle(cr, 0, 30, w, 2);
    cairo_fill(cr);
    Set(cr, kEdge, 0.25);
    cairo_set_line_width(cr, 1);
    for (int x = 300; x < 830; x += 20) {
        cairo_move_to(cr, x + 0.5, 50);
        cairo_line_to(cr, x + 0.5, 700);
    }
    for (int y = 50; y <= 700; y += 20) {
        cairo_move_to(cr, 300, y + 0.5);
        cairo_line_to(cr, 830, y + 0.5);
    }
    cairo_stroke(cr);
    Text(cr, "ZAVRIN ZR2", 90, 15, 13, kText);
    Set(cr, kEdge);
    cairo_rectangle(cr, 0.5, 0.5, w - 1, h - 1);
    cairo_stroke(cr);
}

// The colour palette: its layout and colours are what the palette dialog's
// click rule reads, so they are exact.
void DrawPalette(cairo_t* cr, int, int) {
    Set(cr, kPaletteBackground);
    cairo_paint(cr);
    // Spectrum (18, 26)-(222, 270): hue across, saturated at the top, grey 128 at the bottom.
    cairo_surface_t* target = cairo_get_target(cr);
    cairo_surface_flush(target);
    unsigned char* data = cairo_image_surface_get_data(target);
    const int stride = cairo_image_surface_get_stride(target);
    const int x0 = 18, y0 = 26, x1 = 222, y1 = 270;
    for (int y = y0; y < y1; ++y) {
        const double t = static_cast<double>(y - y0) / (y1 - y0 - 1);
        for (int x = x0; x < x1; ++x) {
            const double hue = 6.0 * (x - x0) / (x1 - x0);
            const int sector = static_cast<int>(hue) % 6;
            const double f = hue - std::floor(hue);
            double r = 0, g = 0, b = 0;
            switch (sector) {
                case 0: r = 1; g = f; break;
                case 1: r = 1 - f; g = 1; break;
                case 2: g = 1; b = f; break;
                case 3: g = 1 - f; b = 1; break;
                case 4: r = f; b = 1; break;
                default: r = 1; b = 1 - f; break;
            }
            auto mix = [t](double c) { return static_cast<std::uint32_t>(std::lround((c * (1 - t) + 0.5 * t) * 255)); };
            auto* px = reinterpret_cast<std::uint32_t*>(data + static_cast<std::size_t>(y) * stride) + x;
            *px = 0xFF000000u | (mix(r) << 16) | (mix(g) << 8) | mix(b);
        }
    }
    cairo_surface_mark_dirty(target);
    static constexpr std::uint32_t kSwatches[6][8] = {
        {0xFF8080, 0xFFFF80, 0x80FF80, 0x00FF80, 0x80FFFF, 0x0080FF, 0xFF80C0, 0xFF80FF},
        {0xFF0000, 0xFFFF00, 0x80FF00, 0x00FF40, 0x00FFFF, 0x0080C0, 0x8080C0, 0xFF00FF},
        {0x804040, 0xFF8040, 0x00FF00, 0x008080, 0x004080, 0x8080FF, 0x800040, 0xFF0080},
        {0x800000, 0xFF8000, 0x008000, 0x008040, 0x0000FF, 0x0000A0, 0x800080, 0x8000FF},
        {0x400000, 0x804000, 0x004000, 0x004040, 0x000080, 0x000040, 0x400040, 0x400080},
        {0x000000, 0x808000, 0x808040, 0x808080, 0x408080, 0xC0C0C0, 0x400040, 0xFFFFFF}};
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    for (int row = 0; row < 6; ++row) {
        for (int col = 0; col < 8; ++col) {
            Set(cr, FromRgbHex(kSwatches[row][col]));
            cairo_rectangle(cr, 244 + 30 * col, 26 + 29 * row, 20, 20);
            cairo_fill(cr);
        }
    }
    // Preview square and the R, G, B number boxes.
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_DEFAULT);
    Set(cr, kPreviewOutline);
    cairo_set_line_width(cr, 1);
    cairo_rectangle(cr, 244.5, 211.5, 59, 59);
    cairo_stroke(cr);
    const char* letters[] = {"R", "G", "B"};
    for (int i = 0; i < 3; ++i) {
        const double y = 211 + i * 21;
        Text(cr, letters[i], 330, y + 9, 12, kText);
        Set(cr, kEdge);
        cairo_rectangle(cr, 342.5, y + 0.5, 60, 17);
        cairo_stroke(cr);
    }
}

// The scroll bar's arrows: three 18 x 20 frames (normal, hover, pressed) side by side.
void DrawArrowStrip(cairo_t* cr, bool up) {
    for (int frame = 0; frame < 3; ++frame) {
        const double x = frame * 18.0;
        Set(cr, frame == 0 ? kDark : frame == 1 ? kPanel : kEdge);
        cairo_rectangle(cr, x, 0, 18, 20);
        cairo_fill(cr);
        const Colorref c = frame == 0 ? kText : frame == 1 ? kAccent : kWhite;
        if (up) {
            Triangle(cr, x + 4, 13, x + 14, 13, x + 9, 7, c);
        } else {
            Triangle(cr, x + 4, 7, x + 14, 7, x + 9, 13, c);
        }
    }
}

cairo_status_t ReadFrom(void* closure, unsigned char* data, unsigned int length) {
    auto* in = static_cast<std::pair<const unsigned char*, std::size_t>*>(closure);
    if (length > in->second) return CAIRO_STATUS_READ_ERROR;
    std::memcpy(data, in->first, length);
    in->first += length;
    in->second -= length;
    return CAIRO_STATUS_SUCCESS;
}

// The pixels a PNG of `picture` decodes to: what the program drew when its
// bitmaps were PNG data, and so what it draws from their pixel runs.
std::vector<std::uint32_t> PngPixels(cairo_surface_t* picture) {
    const std::vector<unsigned char> png = PngBytes(picture);
    std::pair<const unsigned char*, std::size_t> in{png.data(), png.size()};
    cairo_surface_t* decoded = cairo_image_surface_create_from_png_stream(ReadFrom, &in);
    cairo_surface_flush(decoded);
    const int w = cairo_image_surface_get_width(decoded);
    const int h = cairo_image_surface_get_height(decoded);
    const int stride = cairo_image_surface_get_stride(decoded);
    const unsigned char* data = cairo_image_surface_get_data(decoded);
    std::vector<std::uint32_t> pixels;
    pixels.reserve(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        pixels.insert(pixels.end(), row, row + w);
    }
    cairo_surface_destroy(decoded);
    return pixels;
}

// The bitmaps (the main frame, the palette) as pixel runs, the form that costs
// nothing to read at start.
std::vector<unsigned char> RunBytes(cairo_surface_t* picture) {
    return zavrin::EncodePixelRuns(cairo_image_surface_get_width(picture), cairo_image_surface_get_height(picture),
                                   PngPixels(picture));
}

// Bitmaps as pixel runs, a frame ready-made at scale 2 from the pixels its
// bitmap's runs hold, the rest as PNG data.
std::vector<unsigned char> ResourceBytes(const Resource& r) {
    const std::string type(r.type);
    if (type == "Bitmap") return RunBytes(r.picture);
    if (type == "ReadyMadeFrame") {
        return ReadyMadeFrameRuns(PngPixels(r.picture), cairo_image_surface_get_width(r.picture),
                                  cairo_image_surface_get_height(r.picture));
    }
    return PngBytes(r.picture);
}

bool WriteResourceSource(const fs::path& path, const std::vector<Resource>& resources) {
    std::string out =
        "// Generated by tools/skingen at build time: the program's own pictures, the\n"
        "// bitmaps and the ready-made frames as pixel runs (platform/PixelRuns.h), the\n"
        "// others as PNG data.\n"
        "#include \"platform/Resources.h\"\n\nnamespace zavrin {\nnamespace {\n";
    auto name = [](const Resource& r) { return "k" + std::string(r.type) + std::to_string(r.id); };
    for (const Resource& r : resources) {
        const std::vector<unsigned char> bytes = ResourceBytes(r);
        out += "const std::uint8_t " + name(r) + "[] = {";
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (i % 20 == 0) out += "\n   ";
            out += " " + std::to_string(bytes[i]) + ",";
        }
        out += "\n};\n";
    }
    out += "const EmbeddedResource kTable[] = {\n";
    for (const Resource& r : resources) {
        out += "    {ResourceType::" + std::string(r.type) + ", " + std::to_string(r.id) + ", " + name(r) + "},\n";
    }
    out += "};\n}  // namespace\n\nstd::span<const EmbeddedResource> generatedResources() { return kTable; }\n\n"
           "}  // namespace zavrin\n";
    fs::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::trunc);
    file << out;
    return static_cast<bool>(file);
}

void PutLe(std::vector<unsigned char>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
}

// An icon file with the program icon at the sizes Windows picks from (taskbar,
// title bar, tray, Explorer). Each entry holds a PNG, which every Windows since
// Vista and Wine read.
std::vector<unsigned char> IconFileBytes() {
    constexpr int kSizes[] = {16, 24, 32, 48, 64, 256};
    constexpr std::uint32_t kHeaderSize = 6;
    constexpr std::uint32_t kEntrySize = 16;
    std::vector<std::vector<unsigned char>> pngs;
    for (int size : kSizes) {
        cairo_surface_t* s = Paint(size, size, DrawIcon);
        pngs.push_back(PngBytes(s));
        cairo_surface_destroy(s);
    }
    std::vector<unsigned char> out;
    PutLe(out, 0, 2);  // reserved
    PutLe(out, 1, 2);  // type: icon
    PutLe(out, static_cast<std::uint32_t>(pngs.size()), 2);
    std::uint32_t offset = kHeaderSize + kEntrySize * static_cast<std::uint32_t>(pngs.size());
    for (std::size_t i = 0; i < pngs.size(); ++i) {
        const int size = kSizes[i];
        out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));  // 0 stands for 256
        out.push_back(static_cast<unsigned char>(size >= 256 ? 0 : size));
        out.push_back(0);  // no palette
        out.push_back(0);  // reserved
        PutLe(out, 1, 2);   // colour planes
        PutLe(out, 32, 2);  // bits per pixel
        PutLe(out, static_cast<std::uint32_t>(pngs[i].size()), 4);
        PutLe(out, offset, 4);
        offset += static_cast<std::uint32_t>(pngs[i].size());
    }
    for (const auto& png : pngs) out.insert(out.end(), png.begin(), png.end());
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    // The Windows program's icon file (several sizes in one .ico):
    //   skingen --ico <file.ico>
    if (argc == 3 && std::string(argv[1]) == "--ico") {
        if (!WriteFile(fs::path(argv[2]), IconFileBytes())) {
            std::fprintf(stderr, "skingen: could not write %s\n", argv[2]);
            return 1;
        }
        return 0;
    }
    // The desktop's icon in one size, for the installed icon theme:
    //   skingen --icon <size> <file.png>
    if (argc == 4 && std::string(argv[1]) == "--icon") {
        const int size = std::atoi(argv[2]);
        if (size < 16 || size > 1024) {
            std::fprintf(stderr, "skingen: icon size %s is not between 16 and 1024\n", argv[2]);
            return 2;
        }
        cairo_surface_t* icon = Paint(size, size, DrawIcon);
        const fs::path out(argv[3]);
        if (out.has_parent_path()) fs::create_directories(out.parent_path());
        std::ofstream file(out, std::ios::binary | std::ios::trunc);
        const std::vector<unsigned char> png = PngBytes(icon);
        file.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
        cairo_surface_destroy(icon);
        if (!file) {
            std::fprintf(stderr, "skingen: could not write %s\n", argv[3]);
            return 1;
        }
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "usage: skingen <skins folder> <generated resources .cpp>\n"
                             "       skingen --icon <size> <file.png>\n"
                             "       skingen --ico <file.ico>\n");
        return 2;
    }
    Generator generator{fs::path(argv[1])};
    DrawSkins(generator);

    cairo_surface_t* mainFrame = Paint(1127, 740, DrawMainFrame);
    std::vector<Resource> resources = {
        {"Icon", 128, Paint(64, 64, DrawIcon)},
        {"Bitmap", 364, mainFrame},
        {"ReadyMadeFrame", 364, cairo_surface_reference(mainFrame)},
        {"Bitmap", 287, Paint(500, 291, DrawPalette)},
        {"Png", 187, Paint(54, 20, [](cairo_t* cr, int, int) { DrawArrowStrip(cr, false); })},
        {"Png", 188, Paint(54, 20, [](cairo_t* cr, int, int) { DrawArrowStrip(cr, true); })},
    };
    const bool written = WriteResourceSource(fs::path(argv[2]), resources);
    for (Resource& r : resources) cairo_surface_destroy(r.picture);
    if (!generator.ok() || !written) {
        std::fprintf(stderr, "skingen: could not write every picture\n");
        return 1;
    }
    return 0;
}
