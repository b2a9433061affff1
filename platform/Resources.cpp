#include "platform/Resources.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRuns.h"

namespace zavrin {

namespace {

std::span<const EmbeddedResource> g_resources;
Graphics* g_graphics = nullptr;

std::shared_ptr<const Image> Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.empty() || g_graphics == nullptr) return nullptr;
    auto image = std::make_shared<Image>();
    if (!g_graphics->DecodeImage(bytes, *image) || image->empty()) return nullptr;
    return image;
}

}  // namespace

void SetGraphics(Graphics* graphics) { g_graphics = graphics; }
Graphics* GetGraphics() { return g_graphics; }

void InstallResources(std::span<const EmbeddedResource> table) { g_resources = table; }

std::span<const std::uint8_t> FindResourceBytes(ResourceType type, int id) {
    for (const EmbeddedResource& r : g_resources) {
        if (r.type == type && r.id == id) return r.bytes;
    }
    return {};
}

std::shared_ptr<const Image> LoadImageFile(const std::filesystem::path& path) {
    // A folder opens as a stream on some systems and then fails while read;
    // only a regular file can be a picture.
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return nullptr;
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return Decode(bytes);
}

std::shared_ptr<const Image> LoadResourceImage(ResourceType type, int id) {
    const std::span<const std::uint8_t> bytes = FindResourceBytes(type, id);
    if (LooksLikePixelRuns(bytes)) {
        std::optional<PixelRuns> runs = DecodePixelRuns(bytes);
        if (!runs) return nullptr;
        return std::make_shared<const Image>(runs->width, runs->height, std::move(runs->pixels));
    }
    return Decode(bytes);
}

bool WritePngFile(const Image& image, const std::filesystem::path& path) {
    if (g_graphics == nullptr) return false;
    std::vector<std::uint8_t> bytes;
    if (!g_graphics->EncodePng(image, bytes)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace zavrin
