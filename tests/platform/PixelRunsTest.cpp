#include <gtest/gtest.h>

#include <vector>

#include "platform/PixelRuns.h"
#include "platform/PixelRunsImage.h"
#include "platform/Resources.h"
#include "TestGraphics.h"

using namespace zavrin;

namespace {

// Flat areas, a one-pixel rule, a gradient: every kind of block.
std::vector<std::uint32_t> Picture(int w, int h) {
    std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h, 0xFF1F1F1Fu);
    for (int x = 0; x < w; ++x) p[static_cast<std::size_t>(h / 2) * w + x] = 0xFFDEA035u;
    for (int x = 0; x < w; ++x) p[x] = 0xFF000000u | static_cast<std::uint32_t>(x * 3);
    p.back() = 0x80402010u;
    return p;
}

}  // namespace

TEST(PixelRuns, RoundTripKeepsEveryPixelAndFlatAreasStaySmall) {
    const int w = 97, h = 31;
    const auto pixels = Picture(w, h);
    const auto bytes = EncodePixelRuns(w, h, pixels);
    EXPECT_LT(bytes.size(), pixels.size() * 4 / 8);
    const auto decoded = DecodePixelRuns(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->width, w);
    EXPECT_EQ(decoded->height, h);
    EXPECT_EQ(decoded->pixels, pixels);

    // One pixel, and a picture without any repeat.
    const std::vector<std::uint32_t> one{0x12345678u};
    EXPECT_EQ(DecodePixelRuns(EncodePixelRuns(1, 1, one))->pixels, one);
    const std::vector<std::uint32_t> distinct{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(DecodePixelRuns(EncodePixelRuns(3, 2, distinct))->pixels, distinct);
}

TEST(PixelRuns, BrokenDataIsRefusedNotReadPastItsEnd) {
    const auto good = EncodePixelRuns(40, 10, Picture(40, 10));
    ASSERT_TRUE(DecodePixelRuns(good));
    // Cut anywhere, one word too many, a foreign header.
    for (std::size_t cut = 0; cut < good.size(); cut += 4) {
        EXPECT_FALSE(DecodePixelRuns(std::span(good).first(cut))) << cut;
    }
    auto longer = good;
    longer.insert(longer.end(), {1, 0, 0, 0});
    EXPECT_FALSE(DecodePixelRuns(longer));
    auto foreign = good;
    foreign[0] = 0x89;
    EXPECT_FALSE(DecodePixelRuns(foreign));

    auto header = [](std::uint32_t w, std::uint32_t h, std::vector<std::uint32_t> words) {
        std::vector<std::uint8_t> b{'Z', 'R', 'U', 'N'};
        words.insert(words.begin(), {w, h});
        for (std::uint32_t v : words)
            for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
        return b;
    };
    EXPECT_TRUE(DecodePixelRuns(header(2, 2, {0x80000004u, 7})));
    EXPECT_FALSE(DecodePixelRuns(header(2, 2, {0x80000005u, 7})));               // more than the picture
    EXPECT_FALSE(DecodePixelRuns(header(2, 2, {0x80000000u, 7, 0x80000004u, 7})));  // an empty block
    EXPECT_FALSE(DecodePixelRuns(header(2, 2, {4, 1, 2, 3})));                   // literals cut short
    EXPECT_FALSE(DecodePixelRuns(header(0, 2, {})));
    EXPECT_FALSE(DecodePixelRuns(header(70000, 70000, {0x80000001u, 7})));
}

TEST(PixelRuns, EmbeddedRunsLoadLikeAnyResourceAndBrokenOnesGiveNoPicture) {
    auto graphics = CreateTestGraphics();
    SetGraphics(graphics.get());
    const std::vector<std::uint32_t> pixels{0xFF010203u, 0xFF010203u, 0xFF010203u, 0xFFFFFFFFu};
    static const std::vector<std::uint8_t> runs = EncodePixelRuns(2, 2, pixels);
    static const std::vector<std::uint8_t> cut(runs.begin(), runs.end() - 4);
    static const EmbeddedResource table[] = {{ResourceType::Bitmap, 1, runs}, {ResourceType::Bitmap, 2, cut}};
    InstallResources(table);
    const auto image = LoadBitmapResource(1);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->size(), (SIZE{2, 2}));
    EXPECT_EQ(image->colorAt(0, 1), RGB(1, 2, 3));
    EXPECT_EQ(image->colorAt(1, 1), RGB(255, 255, 255));
    EXPECT_FALSE(LoadBitmapResource(2));
    InstallResources({});
    SetGraphics(nullptr);
}

TEST(PixelRunsImage, RowsAndPartsDecodeAsTheWholePictureDoes) {
    const int w = 97, h = 31;
    const auto pixels = Picture(w, h);
    const auto bytes = EncodePixelRuns(w, h, pixels);
    const auto runs = PixelRunsImage::Open(bytes);
    ASSERT_TRUE(runs);
    EXPECT_EQ(runs->size(), (SIZE{w, h}));
    const Image whole(w, h, pixels);  // a copy
    EXPECT_EQ(runs->averageColor(), whole.averageColor());
    EXPECT_FALSE(runs->isOpaque());  // the last pixel is half transparent
    const Image decoded = runs->decode();
    EXPECT_TRUE(std::equal(decoded.data(), decoded.data() + pixels.size(), pixels.begin()));
    // Any span of any row, starting inside a repeat or a literal block.
    std::vector<std::uint32_t> row(static_cast<std::size_t>(w));
    for (int y : {0, 1, h / 2, h - 1}) {
        for (auto [left, right] : {std::pair{0, w}, {1, 2}, {5, 60}, {w - 1, w}, {30, 31}}) {
            runs->decodeRow(y, left, right, row.data());
            for (int x = left; x < right; ++x)
                ASSERT_EQ(row[static_cast<std::size_t>(x - left)], pixels[static_cast<std::size_t>(y) * w + x])
                    << x << "," << y;
        }
    }
    // Broken runs open to nothing, as they decode to nothing.
    for (std::size_t cut = 0; cut < bytes.size(); cut += 4) EXPECT_FALSE(PixelRunsImage::Open(std::span(bytes).first(cut)));
}

TEST(PixelRunsImage, DrawsTheSamePixelsAsACopyOfTheDecodedPictureAndOnlyWhereVisible) {
    auto graphics = CreateTestGraphics();
    // Wider than a strip holds rows of, so that the copy goes strip by strip.
    const int w = 1200, h = 40;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<std::uint32_t>((i / 7) * 2654435761u >> 8);
    const auto bytes = EncodePixelRuns(w, h, pixels);
    const auto runs = PixelRunsImage::Open(bytes);
    ASSERT_TRUE(runs);
    ASSERT_TRUE(runs->isOpaque());
    const auto decoded = std::make_shared<Image>(w, h, pixels);

    const RECT src{3, 2, 1100, 39};
    const POINT at{10, 5};
    // A part of the window being painted, and all of it (several strips).
    for (const RECT visible : {RECT{40, 9, 700, 30}, RECT{0, 0, w + 20, h + 10}}) {
        Image expected(w + 20, h + 10);
        Image actual(w + 20, h + 10);
        expected.fill(RGB(9, 9, 9));
        actual.fill(RGB(9, 9, 9));
        {
            auto dc = graphics->CreateCanvas(expected);
            dc->PushClip(visible);
            dc->CopyImage(*decoded, at, src);
            dc->Flush();
        }
        {
            auto dc = graphics->CreateCanvas(actual);
            runs->CopyTo(*dc, at, src, visible);
            dc->Flush();
        }
        EXPECT_TRUE(std::equal(expected.data(), expected.data() + (w + 20) * (h + 10), actual.data()));
    }
}
