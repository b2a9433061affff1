#include "ui/Looks.h"

#include <string>

#include "platform/Resources.h"
#include "ui/CControlBase.h"

namespace zavrin {

namespace {
Picture LoadSkin(std::string_view base, std::string_view suffix) {
    std::string name(base);
    name += suffix;
    return LoadImageFile(SkinPath(name));
}
}  // namespace

bool Looks::Load(std::string_view base) {
    Release();
    auto at = [this](Look look) -> Picture& { return pictures_[static_cast<std::size_t>(look)]; };
    at(Look::Normal) = LoadSkin(base, "_nr.png");
    at(Look::Hover) = LoadSkin(base, "_ov.png");
    at(Look::Pressed) = LoadSkin(base, "_dn.png");
    Picture checked = LoadSkin(base, "_check.png");
    at(Look::Checked) = checked ? std::move(checked) : at(Look::Pressed);
    return at(Look::Normal) != nullptr;
}

bool Looks::Set(std::initializer_list<Look> looks, const std::filesystem::path& path) {
    Picture picture = LoadImageFile(path);
    for (Look look : looks) pictures_[static_cast<std::size_t>(look)] = picture;
    return picture != nullptr;
}

bool Looks::LoadStrip(const std::filesystem::path& path) {
    strip_ = LoadImageFile(path);
    return strip_ != nullptr;
}

void Looks::Release() {
    for (Picture& picture : pictures_) picture.reset();
    strip_.reset();
}

}  // namespace zavrin
