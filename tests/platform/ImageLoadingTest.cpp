#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Resources.h"
#include "TestGraphics.h"
#include "platform/headless/HeadlessDesktop.h"
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;

namespace {

std::filesystem::path OutputDir() {
    std::filesystem::path dir = std::filesystem::path(ZAVRIN_TEST_OUTPUT_DIR) / "platform";
    std::filesystem::create_directories(dir);
    return dir;
}

// A 24-bit bitmap file, bottom-up unless `topDown`, with rows padded to 4 bytes.
std::vector<std::uint8_t> MakeBmp(int w, int h, bool topDown, COLORREF topLeft, COLORREF rest) {
    const int rowBytes = ((w * 24 + 31) / 32) * 4;
    std::vector<std::uint8_t> b(54 + static_cast<std::size_t>(rowBytes) * h, 0);
    auto put32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, static_cast<std::uint32_t>(b.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, static_cast<std::uint32_t>(w));
    put32(22, static_cast<std::uint32_t>(topDown ? -h : h));
    b[26] = 1;
    b[28] = 24;
    for (int row = 0; row < h; ++row) {
        const int y = topDown ? row : h - 1 - row;
        for (int x = 0; x < w; ++x) {
            const COLORREF c = (x == 0 && y == 0) ? topLeft : rest;
            const std::size_t p = 54 + static_cast<std::size_t>(row) * rowBytes + static_cast<std::size_t>(x) * 3;
            b[p] = GetBValue(c);
            b[p + 1] = GetGValue(c);
            b[p + 2] = GetRValue(c);
        }
    }
    return b;
}

class ImageLoading : public ::testing::Test {
protected:
    ImageLoading() { SetGraphics(graphics.get()); }
    ~ImageLoading() override { SetGraphics(nullptr); }
    std::unique_ptr<Graphics> graphics = CreateTestGraphics();
};

}  // namespace

TEST_F(ImageLoading, BitmapsReadTopLeftFirstInBothRowOrders) {
    for (bool topDown : {false, true}) {
        Image out;
        ASSERT_TRUE(graphics->DecodeImage(MakeBmp(3, 2, topDown, RGB(1, 2, 3), RGB(200, 100, 50)), out));
        EXPECT_EQ(out.width(), 3);
        EXPECT_EQ(out.height(), 2);
        EXPECT_EQ(out.colorAt(0, 0), RGB(1, 2, 3));
        EXPECT_EQ(out.colorAt(2, 1), RGB(200, 100, 50));
        EXPECT_EQ(out.alphaAt(2, 1), 255);
    }
}

TEST_F(ImageLoading, CutOrForeignFilesAreRefusedAndLeaveTheImageAlone) {
    auto bmp = MakeBmp(4, 4, false, 0, 0);
    bmp.resize(bmp.size() - 1);
    Image out(1, 1);
    EXPECT_FALSE(graphics->DecodeImage(bmp, out));
    const std::vector<std::uint8_t> junk{'G', 'I', 'F', '8', '9', 'a'};
    EXPECT_FALSE(graphics->DecodeImage(junk, out));
    EXPECT_EQ(out.width(), 1);
}

TEST_F(ImageLoading, PngRoundTripKeepsColoursAndAlpha) {
    Image in(5, 3);
    in.setArgb(0, 0, OpaqueArgb(0xDEA035));
    in.setArgb(4, 2, 0x80400000u);  // half-transparent red, premultiplied
    std::vector<std::uint8_t> png;
    ASSERT_TRUE(graphics->EncodePng(in, png));
    Image out;
    ASSERT_TRUE(graphics->DecodeImage(png, out));
    EXPECT_EQ(out.colorAt(0, 0), 0xDEA035u);
    EXPECT_EQ(out.alphaAt(4, 2), 0x80);
    EXPECT_EQ(out.alphaAt(1, 1), 0);
}

TEST_F(ImageLoading, MissingFilesGiveNoPictureAndPresentOnesAreDecodedOnce) {
    EXPECT_EQ(LoadImageFile(OutputDir() / "no such picture.png"), nullptr);
    // A folder where a picture was expected is no picture either, not a crash.
    EXPECT_EQ(LoadImageFile(OutputDir()), nullptr);
    Image in(7, 9);
    in.fill(RGB(1, 2, 3));
    const auto path = OutputDir() / "written.png";
    ASSERT_TRUE(WritePngFile(in, path));
    const auto loaded = LoadImageFile(path);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->size(), (SIZE{7, 9}));
    const auto bmpPath = OutputDir() / "written.bmp";
    const auto bmp = MakeBmp(2, 2, false, RGB(9, 8, 7), RGB(0, 0, 0));
    std::ofstream(bmpPath, std::ios::binary).write(reinterpret_cast<const char*>(bmp.data()),
                                                    static_cast<std::streamsize>(bmp.size()));
    ASSERT_NE(LoadImageFile(bmpPath), nullptr);
    EXPECT_EQ(LoadImageFile(bmpPath)->colorAt(0, 0), RGB(9, 8, 7));
}

TEST_F(ImageLoading, AFileStillHeldIsSharedAndAChangedOneIsReadAgain) {
    // Bitmaps of one size have one length whatever their colours.
    const auto path = OutputDir() / "shared.bmp";
    auto write = [&](COLORREF color) {
        const auto bmp = MakeBmp(3, 2, false, color, color);
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
    };
    write(RGB(10, 20, 30));
    auto first = LoadImageFile(path);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadImageFile(path), first);

    // Another picture of the same length under the same name, with the same
    // time, as where file times are coarse (Windows, Wine) and it is written
    // at once.
    const auto firstWritten = std::filesystem::last_write_time(path);
    write(RGB(200, 100, 0));
    std::filesystem::last_write_time(path, firstWritten);
    const auto changed = LoadImageFile(path);
    ASSERT_NE(changed, nullptr);
    EXPECT_NE(changed, first);
    EXPECT_EQ(changed->colorAt(0, 0), RGB(200, 100, 0));
    // The first picture is unchanged for whoever holds it.
    EXPECT_EQ(first->colorAt(0, 0), RGB(10, 20, 30));

    // The new picture is the one shared now; a file removed gives none, even
    // while its picture is still held.
    first.reset();
    EXPECT_EQ(LoadImageFile(path), changed);
    std::filesystem::remove(path);
    EXPECT_EQ(LoadImageFile(path), nullptr);
}

TEST_F(ImageLoading, EmbeddedResourcesAreFoundByTypeAndNumber) {
    Image in(54, 20);
    in.fill(RGB(4, 5, 6));
    static std::vector<std::uint8_t> png;
    ASSERT_TRUE(graphics->EncodePng(in, png));
    static const EmbeddedResource table[] = {{ResourceType::Png, kPngScrollDownArrow, png}};
    InstallResources(table);
    const auto arrow = LoadPngResource(kPngScrollDownArrow);
    ASSERT_NE(arrow, nullptr);
    EXPECT_EQ(arrow->width(), 54);
    EXPECT_EQ(LoadPngResource(kPngScrollUpArrow), nullptr);
    EXPECT_EQ(LoadBitmapResource(kPngScrollDownArrow), nullptr);  // same number, other type
    InstallResources({});
}

TEST(WindowPng, AnyWindowCanBeWrittenAsPng) {
    HeadlessDesktop desktop;
    zavrin::test::RecordingWnd wnd;
    ASSERT_TRUE(zavrin::test::CreatePopup(wnd, {0, 0, 40, 30}));
    wnd.handlers[WM_PAINT] = [&](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        if (Canvas* c = BeginPaint(wnd.GetSafeHwnd(), ps)) c->FillRect({0, 0, 40, 30}, 0x323232);
        EndPaint(wnd.GetSafeHwnd(), ps);
        return 0;
    };
    desktop.pump();
    const auto path = OutputDir() / "window.png";
    ASSERT_TRUE(desktop.writePng(wnd.GetSafeHwnd(), path));
    const auto back = LoadImageFile(path);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->colorAt(39, 29), 0x323232u);
}
