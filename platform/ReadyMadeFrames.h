#pragma once

#include <filesystem>

namespace zavrin {

// Window frames at UI scale 2, made at build time. Scaling a frame picture
// at start (decoding it, filtering it into a frame cache of four times its
// size) costs more than anything else a window does before its first frame
// at that scale, so the skin generator scales each frame once, with the very
// operation the program would use, and writes the result as pixel runs
// (PixelRuns.h) beside the picture. The program draws such a frame as it
// draws a frame at scale 1: straight from its runs. At other scales frames
// are still scaled at run time.
inline constexpr float kReadyMadeFrameScale = 2.0f;

// Where the ready-made frame of the frame picture `picture` lies:
// "skins/Frame_common.bmp" gives "skins/Frame_common@2x.runs".
inline std::filesystem::path ReadyMadeFramePath(const std::filesystem::path& picture) {
    std::filesystem::path ready = picture;
    ready.replace_filename(picture.stem().native() + std::filesystem::path("@2x.runs").native());
    return ready;
}

}  // namespace zavrin
