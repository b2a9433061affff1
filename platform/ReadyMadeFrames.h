#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace zavrin {

// Window frames at UI scale 2, made at build time. Scaling a frame picture
// at start (decoding it, filtering it into a frame cache of four times its
// size) costs more than anything else a window does before its first frame
// at that scale, so the skin generator scales each frame once, with the very
// operation the program would use, and writes the result as pixel runs
// (PixelRuns.h). The program draws such a frame as it draws a frame at scale
// 1: straight from its runs. At other scales frames are still scaled at run
// time.
inline constexpr float kReadyMadeFrameScale = 2.0f;

// Where the ready-made frame of the frame picture file `picture` lies:
// "skins/Frame_common.bmp" gives "skins/Frame_common@2x.runs".
std::filesystem::path ReadyMadeFramePath(const std::filesystem::path& picture);

// What a frame file's bytes were, so that a ready-made frame is only taken for
// the very picture it was made from: skins are files a user can replace, and
// copies of a skins folder do not keep the files' times in order. FNV-1a over
// the bytes, fed in pieces.
class PictureFingerprint {
public:
    void add(std::span<const std::uint8_t> bytes);
    std::uint64_t size() const { return size_; }
    std::uint64_t hash() const { return hash_; }

private:
    std::uint64_t size_ = 0;
    std::uint64_t hash_ = 0xCBF29CE484222325ull;
};

// A ready-made frame file: the magic "ZR2X", the picture's size and hash
// (64-bit little-endian each), then the frame's pixel runs.
std::vector<std::uint8_t> ReadyMadeFrameFile(const PictureFingerprint& picture, std::span<const std::uint8_t> runs);

// The pixel runs of a ready-made frame file made from the picture
// `picture`; nothing when the file is of another picture or no such file.
std::optional<std::span<const std::uint8_t>> ReadyMadeFrameRuns(std::span<const std::uint8_t> file,
                                                                const PictureFingerprint& picture);

}  // namespace zavrin
