#include "platform/Resources.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRuns.h"
#include "platform/PixelRunsImage.h"

namespace zavrin {

namespace {

std::span<const EmbeddedResource> g_resources;
Graphics* g_graphics = nullptr;

// Picture files decoded and still held somewhere, by path.
struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type written{};
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
struct LoadedPicture {
    FileStamp stamp;
    std::weak_ptr<const Image> picture;
};
std::mutex g_loadedMutex;
std::unordered_map<std::filesystem::path::string_type, LoadedPicture> g_loaded;

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
    // The same skin picture is asked for by many controls (every radio
    // button, every DPI bar): while one of them still holds it, the others
    // share it rather than decode it again. A file that changed since is read
    // anew.
    std::error_code sizeError;
    std::error_code timeError;
    const FileStamp stamp{std::filesystem::file_size(path, sizeError),
                          std::filesystem::last_write_time(path, timeError)};
    const bool stamped = !sizeError && !timeError;
    std::lock_guard lock(g_loadedMutex);
    LoadedPicture& loaded = g_loaded[path.native()];
    if (stamped && loaded.stamp == stamp) {
        if (auto shared = loaded.picture.lock()) return shared;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::shared_ptr<const Image> picture = Decode(bytes);
    loaded = LoadedPicture{stamped ? stamp : FileStamp{}, stamped ? picture : nullptr};
    return picture;
}

std::shared_ptr<const Image> LoadResourceImage(ResourceType type, int id) {
    const std::span<const std::uint8_t> bytes = FindResourceBytes(type, id);
    if (LooksLikePixelRuns(bytes)) {
        const auto runs = PixelRunsImage::Open(bytes);
        if (!runs) return nullptr;
        return std::make_shared<const Image>(runs->decode());
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
