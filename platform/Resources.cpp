#include "platform/Resources.h"

#include <fstream>
#include <iterator>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/Canvas.h"
#include "platform/PixelRuns.h"
#include "platform/PixelRunsImage.h"
#include "platform/ReadyMadeFrames.h"

namespace zavrin {

namespace {

// Large enough that reading a frame picture through takes few calls, small
// enough to be cheap memory.
constexpr std::size_t kPictureReadPiece = 64 * 1024;

std::span<const EmbeddedResource> g_resources;
Graphics* g_graphics = nullptr;

// Picture files decoded and still held somewhere, by path, with what their
// bytes were. Reading a small file again is cheap; decoding it is not. The
// bytes, not the file's size and time, tell a changed file: a picture
// rewritten within the file system's time resolution with the same size is
// still read anew.
struct FileBytes {
    std::size_t size = 0;
    std::size_t hash = 0;
    friend bool operator==(const FileBytes&, const FileBytes&) = default;
};
struct LoadedPicture {
    FileBytes bytes;
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
    // share it rather than decode it again. A file that changed since is
    // decoded anew.
    std::ifstream in(path, std::ios::binary);
    if (!in) return nullptr;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const FileBytes read{bytes.size(), std::hash<std::string>{}(bytes)};
    std::lock_guard lock(g_loadedMutex);
    LoadedPicture& loaded = g_loaded[path.native()];
    if (loaded.bytes == read) {
        if (auto shared = loaded.picture.lock()) return shared;
    }
    std::shared_ptr<const Image> picture = Decode(
        std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    loaded = LoadedPicture{read, picture};
    return picture;
}

std::shared_ptr<const PixelRunsImage> LoadReadyMadeFrame(const std::filesystem::path& picture) {
    std::error_code error;
    const std::filesystem::path readyPath = ReadyMadeFramePath(picture);
    if (!std::filesystem::is_regular_file(readyPath, error) || !std::filesystem::is_regular_file(picture, error))
        return nullptr;
    std::ifstream ready(readyPath, std::ios::binary);
    std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(ready)), std::istreambuf_iterator<char>());
    // The picture is only read through, in pieces, to tell whether the frame
    // was made from it; nothing of it is kept.
    std::ifstream in(picture, std::ios::binary);
    if (!ready || !in) return nullptr;
    PictureFingerprint fingerprint;
    std::vector<char> piece(kPictureReadPiece);
    while (in.read(piece.data(), static_cast<std::streamsize>(piece.size())) || in.gcount() > 0) {
        fingerprint.add(std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(piece.data()),
                                                      static_cast<std::size_t>(in.gcount())));
    }
    const auto runs = ReadyMadeFrameRuns(file, fingerprint);
    if (!runs) return nullptr;
    file.erase(file.begin(), file.begin() + (runs->data() - file.data()));
    return PixelRunsImage::OpenOwned(std::move(file));
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
