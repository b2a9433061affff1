#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "platform/Image.h"

namespace zavrin {

// A decoded skin picture shared read-only, or nothing when the file was
// missing (then nothing is drawn for it).
using Picture = std::shared_ptr<const Image>;

// The looks a button's pictures stand for.
enum class Look : std::size_t { Normal, Hover, Pressed, Checked, CheckedHover, Count };

// The pictures of a button, one per look, or one strip with a frame per look.
// They are found from one base name, loaded together and released together,
// so a control never holds half a set.
class Looks {
public:
    // Loads "<base>_nr.png" (normal), "<base>_ov.png" (hover), "<base>_dn.png"
    // (pressed, and checked too) and "<base>_check.png" (checked, where a skin
    // has it); `base` is relative to the skin folder, like "skins\\check".
    // Files that are missing leave their look empty; true when the normal
    // picture was found.
    bool Load(std::string_view base);
    // One picture for the given looks, for skins whose names do not follow the
    // pattern (a single picture for every look, a hover drawn from "_dn").
    bool Set(std::initializer_list<Look> looks, const std::filesystem::path& path);
    // A strip of frames side by side; drawn instead of the single pictures.
    bool LoadStrip(const std::filesystem::path& path);
    void Release();

    const Picture& operator[](Look look) const { return pictures_[static_cast<std::size_t>(look)]; }
    const Picture& strip() const { return strip_; }
    // Something to draw: a strip or a normal picture.
    bool loaded() const { return strip_ || (*this)[Look::Normal]; }

private:
    std::array<Picture, static_cast<std::size_t>(Look::Count)> pictures_;
    Picture strip_;
};

}  // namespace zavrin
