#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ReferenceScenes.h"
#include "TestGraphics.h"
#include "platform/Resources.h"

using namespace zavrin;
using namespace zavrin::test;

namespace {

// Where the Linux build writes cairo's pictures and the Windows build reads them.
std::filesystem::path ReferenceFolder() { return std::filesystem::path(ZAVRIN_REFERENCE_SCENES_DIR); }

Image Render(Graphics& graphics, const ReferenceScene& scene) {
    Image image(kSceneWidth, kSceneHeight);
    auto canvas = graphics.CreateCanvas(image);
    scene.draw(*canvas);
    canvas->Flush();
    return image;
}

}  // namespace

#ifndef _WIN32

TEST(ReferenceScenes, CairoPicturesAreWrittenForTheOtherBackends) {
    auto graphics = CreateTestGraphics();
    std::filesystem::create_directories(ReferenceFolder());
    for (const ReferenceScene& scene : ReferenceScenes()) {
        const Image image = Render(*graphics, scene);
        EXPECT_NE(image.alphaAt(kSceneWidth / 2, kSceneHeight / 2), 0) << scene.name;
        EXPECT_TRUE(WritePngFile(image, ReferenceFolder() / (scene.name + ".png"))) << scene.name;
    }
}

#else

// GDI+ and cairo filter and antialias with their own kernels, so edges and
// stretched pictures may differ a little; flat areas and the overall picture
// must not.
TEST(ReferenceScenes, GdiplusDrawsWhatCairoDraws) {
    auto graphics = CreateTestGraphics();
    if (!std::filesystem::exists(ReferenceFolder() / "fills.png")) {
        GTEST_SKIP() << "no cairo pictures in " << ReferenceFolder() << "; run the Linux tests first";
    }
    constexpr int kCloseEnough = 12;       // per channel, for a pixel to count as equal
    constexpr double kAllowedShare = 0.06; // of the pixels may differ more (edges)
    constexpr int kWorst = 120;            // no pixel may be this far off
    for (const ReferenceScene& scene : ReferenceScenes()) {
        std::ifstream file(ReferenceFolder() / (scene.name + ".png"), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        Image reference;
        ASSERT_TRUE(graphics->DecodeImage(bytes, reference)) << scene.name;
        ASSERT_EQ(reference.size(), (SIZE{kSceneWidth, kSceneHeight}));
        const Image drawn = Render(*graphics, scene);
        int differing = 0;
        int worst = 0;
        for (int y = 0; y < kSceneHeight; ++y) {
            for (int x = 0; x < kSceneWidth; ++x) {
                const std::uint32_t a = drawn.argb(x, y);
                const std::uint32_t b = reference.argb(x, y);
                int far = 0;
                for (int shift = 0; shift < 32; shift += 8) {
                    far = std::max(far, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
                }
                worst = std::max(worst, far);
                if (far > kCloseEnough) ++differing;
            }
        }
        EXPECT_LE(differing, kAllowedShare * kSceneWidth * kSceneHeight) << scene.name;
        EXPECT_LT(worst, kWorst) << scene.name;
        WritePngFile(drawn, ReferenceFolder() / (scene.name + "-gdiplus.png"));
    }
}

#endif
