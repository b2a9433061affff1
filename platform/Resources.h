#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

#include "platform/Image.h"
#include "platform/PixelRunsImage.h"

namespace zavrin {

// The program's own pictures are compiled into it: PNG data by resource number
// and type, as the Windows resources were ("PNG" 187/188 scroll arrows, "BITMAP"
// 364 frame and 287 palette, "ICON" 128). The table is generated at build time
// (library zavrin_resources, function generatedResources()) and installed once
// by main or by a test with InstallResources.
// ReadyMadeFrame is a Bitmap used as a window frame, ready-made at UI scale 2
// (ReadyMadeFrames.h), under the Bitmap's number.
enum class ResourceType { Png, Bitmap, Icon, ReadyMadeFrame };

struct EmbeddedResource {
    ResourceType type;
    int id;
    std::span<const std::uint8_t> bytes;  // PNG data or pixel runs (PixelRuns.h), static storage
};

// The program's own table, generated at build time (library zavrin_resources).
std::span<const EmbeddedResource> generatedResources();

// Makes `table` the program's resources; the spans must stay valid for the run.
// UI thread, before any resource is loaded.
void InstallResources(std::span<const EmbeddedResource> table);

// The raw bytes of a resource; an empty span when there is none.
std::span<const std::uint8_t> FindResourceBytes(ResourceType type, int id);

// Picture loading; decoding goes through the installed Graphics (Canvas.h), so
// these work only after SetGraphics. A picture is decoded once, here; drawing
// only scales it. Pictures are shared read-only: the same pointer may be held by
// several controls. UI thread.

// A PNG or BMP file; null when the file is missing or cannot be decoded (a
// missing skin picture is simply not drawn). While a picture of a file is
// held anywhere, loading the same file again (unchanged in size and time)
// gives the same picture without decoding it.
std::shared_ptr<const Image> LoadImageFile(const std::filesystem::path& path);

// The frame ready-made at UI scale 2 for the frame picture file `picture`
// (ReadyMadeFrames.h); null when there is none, when it is broken, or when it
// was made from other bytes than the picture's now (a skin picture replaced
// after the build is scaled at run time rather than shown as it was). Reads
// the picture through to tell, without decoding it.
std::shared_ptr<const PixelRunsImage> LoadReadyMadeFrame(const std::filesystem::path& picture);

// An embedded resource decoded; null when it is missing or broken.
std::shared_ptr<const Image> LoadResourceImage(ResourceType type, int id);
inline std::shared_ptr<const Image> LoadPngResource(int id) { return LoadResourceImage(ResourceType::Png, id); }
inline std::shared_ptr<const Image> LoadBitmapResource(int id) { return LoadResourceImage(ResourceType::Bitmap, id); }

// Writes `image` as a PNG file; false when encoding or writing fails.
bool WritePngFile(const Image& image, const std::filesystem::path& path);

// The resource numbers the program uses.
inline constexpr int kIconMain = 128;
inline constexpr int kBitmapMainFrame = 364;       // 1127 x 740
inline constexpr int kBitmapColorPalette = 287;    // 500 x 291
inline constexpr int kPngScrollDownArrow = 187;    // 54 x 20, three 18 x 20 frames
inline constexpr int kPngScrollUpArrow = 188;      // 54 x 20, three 18 x 20 frames

}  // namespace zavrin
