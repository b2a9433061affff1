#include "platform/ReadyMadeFrames.h"

#include <cstring>

namespace zavrin {

namespace {

constexpr std::uint8_t kMagic[4] = {'Z', 'R', '2', 'X'};
constexpr std::size_t kHeaderBytes = 4 + 8 + 8;
constexpr std::uint64_t kFnvPrime = 0x100000001B3ull;

void PutWord64(std::vector<std::uint8_t>& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint64_t Word64(std::span<const std::uint8_t> bytes, std::size_t at) {
    std::uint64_t value = 0;
    for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[at + static_cast<std::size_t>(i)];
    return value;
}

}  // namespace

std::filesystem::path ReadyMadeFramePath(const std::filesystem::path& picture) {
    std::filesystem::path ready = picture;
    ready.replace_filename(picture.stem().native() + std::filesystem::path("@2x.runs").native());
    return ready;
}

void PictureFingerprint::add(std::span<const std::uint8_t> bytes) {
    std::uint64_t hash = hash_;
    for (const std::uint8_t b : bytes) hash = (hash ^ b) * kFnvPrime;
    hash_ = hash;
    size_ += bytes.size();
}

std::vector<std::uint8_t> ReadyMadeFrameFile(const PictureFingerprint& picture, std::span<const std::uint8_t> runs) {
    std::vector<std::uint8_t> out(kMagic, kMagic + sizeof kMagic);
    PutWord64(out, picture.size());
    PutWord64(out, picture.hash());
    out.insert(out.end(), runs.begin(), runs.end());
    return out;
}

std::optional<std::span<const std::uint8_t>> ReadyMadeFrameRuns(std::span<const std::uint8_t> file,
                                                                const PictureFingerprint& picture) {
    if (file.size() < kHeaderBytes || std::memcmp(file.data(), kMagic, sizeof kMagic) != 0) return std::nullopt;
    if (Word64(file, 4) != picture.size() || Word64(file, 12) != picture.hash()) return std::nullopt;
    return file.subspan(kHeaderBytes);
}

}  // namespace zavrin
