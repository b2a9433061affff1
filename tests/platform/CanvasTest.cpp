#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "platform/Canvas.h"
#include "TestGraphics.h"

using namespace zavrin;

namespace {

constexpr COLORREF kAccent = 0xDEA035;  // red 0x35, green 0xA0, blue 0xDE
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

class CanvasTest : public ::testing::Test {
protected:
    std::unique_ptr<Graphics> graphics = CreateTestGraphics();
    Image target{200, 100};
    std::unique_ptr<Canvas> canvas = graphics->CreateCanvas(target);

    // The bounding box of pixels that differ from `background`.
    RECT inkBox(COLORREF background) {
        canvas->Flush();
        RECT box{target.width(), target.height(), 0, 0};
        for (int y = 0; y < target.height(); ++y)
            for (int x = 0; x < target.width(); ++x)
                if (target.colorAt(x, y) != background) {
                    box.left = std::min(box.left, x);
                    box.top = std::min(box.top, y);
                    box.right = std::max(box.right, x + 1);
                    box.bottom = std::max(box.bottom, y + 1);
                }
        return box;
    }
};

Image Solid(int w, int h, COLORREF c) {
    Image i(w, h);
    i.fill(c);
    return i;
}

}  // namespace

TEST_F(CanvasTest, FillUsesTheRedInTheLowByteConvention) {
    canvas->FillRect({10, 10, 20, 20}, kAccent);
    canvas->Flush();
    EXPECT_EQ(target.colorAt(10, 10), kAccent);
    EXPECT_EQ(target.argb(19, 19), 0xFF35A0DEu);  // A, R, G, B
    EXPECT_EQ(target.alphaAt(20, 20), 0);         // right and bottom edges excluded
    EXPECT_EQ(canvas->GetPixel({15, 15}), kAccent);
}

TEST_F(CanvasTest, TranslucentFillBlendsAndClipLimitsEverything) {
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    canvas->FillRect({0, 0, 10, 10}, RGB(200, 100, 0), 128);
    EXPECT_NEAR(GetRValue(canvas->GetPixel({5, 5})), 100, 2);
    EXPECT_NEAR(GetGValue(canvas->GetPixel({5, 5})), 50, 2);
    canvas->PushClip({50, 50, 60, 60});
    canvas->FillRect({0, 0, 200, 100}, kGreen);
    canvas->PopClip();
    EXPECT_EQ(inkBox(RGB(0, 0, 0)), (RECT{0, 0, 60, 60}));
    EXPECT_EQ(canvas->GetPixel({49, 55}), RGB(0, 0, 0));
    EXPECT_EQ(canvas->GetPixel({55, 55}), kGreen);
}

TEST_F(CanvasTest, StretchedPictureCoversTheDestinationWithItsColours) {
    Image quad(2, 2);
    quad.setArgb(0, 0, OpaqueArgb(kRed));
    quad.setArgb(1, 0, OpaqueArgb(kGreen));
    quad.setArgb(0, 1, OpaqueArgb(kBlue));
    quad.setArgb(1, 1, OpaqueArgb(kAccent));
    canvas->DrawImage(quad, RECT{100, 0, 200, 100});
    canvas->Flush();
    EXPECT_EQ(target.colorAt(100, 0), kRed);
    EXPECT_EQ(target.colorAt(199, 0), kGreen);
    EXPECT_EQ(target.colorAt(100, 99), kBlue);
    EXPECT_EQ(target.colorAt(199, 99), kAccent);
    EXPECT_EQ(target.alphaAt(99, 50), 0);
}

TEST_F(CanvasTest, AStripFrameNeverBleedsIntoItsNeighbours) {
    Image strip(3 * 18, 20);
    for (int x = 0; x < strip.width(); ++x)
        for (int y = 0; y < 20; ++y) strip.setArgb(x, y, OpaqueArgb(x < 18 ? kRed : x < 36 ? kGreen : kBlue));
    canvas->DrawImage(strip, RECT{0, 0, 54, 60}, RECT{18, 0, 36, 20});
    for (int y = 0; y < 60; ++y) {
        ASSERT_EQ(target.colorAt(0, y), kGreen);
        ASSERT_EQ(target.colorAt(53, y), kGreen);
    }
}

TEST_F(CanvasTest, PicturesBlendByTheirAlphaAndTheConstantOpacity) {
    canvas->FillRect({0, 0, 200, 100}, kRed);
    Image half(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) half.setArgb(x, y, 0x80000080u);  // blue at half alpha, premultiplied
    canvas->DrawImage(half, RECT{0, 0, 10, 10});
    const COLORREF mixed = canvas->GetPixel({5, 5});
    EXPECT_NEAR(GetRValue(mixed), 127, 2);
    EXPECT_NEAR(GetBValue(mixed), 128, 2);
    const Image blue = Solid(4, 4, kBlue);
    canvas->DrawImage(blue, RECT{20, 0, 30, 10}, ImageDrawOptions{64});
    EXPECT_NEAR(GetBValue(canvas->GetPixel({25, 5})), 64, 2);
    EXPECT_NEAR(GetRValue(canvas->GetPixel({25, 5})), 191, 2);
}

TEST_F(CanvasTest, CopyReplacesThePixelsAlphaIncluded) {
    canvas->FillRect({0, 0, 200, 100}, kRed);
    Image clear(10, 10);
    canvas->CopyImage(clear, {0, 0}, clear.bounds());
    canvas->Flush();
    EXPECT_EQ(target.alphaAt(5, 5), 0);
    EXPECT_EQ(target.colorAt(10, 10), kRed);
}

TEST_F(CanvasTest, TextIsAlignedAndCentredInItsRectangle) {
    const Font font{"Tahoma", 16, 0, FW_NORMAL, DEFAULT_CHARSET};
    const COLORREF white = RGB(255, 255, 255);
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    canvas->DrawText("Hi", RECT{0, 0, 200, 100}, DT_LEFT | DT_SINGLELINE | DT_VCENTER, font, white);
    const RECT left = inkBox(RGB(0, 0, 0));
    EXPECT_LT(left.left, 5);
    EXPECT_NEAR((left.top + left.bottom) / 2.0, 50.0, 5.0);

    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    canvas->DrawText("Hi", RECT{0, 0, 200, 100}, DT_CENTER | DT_SINGLELINE | DT_VCENTER, font, white);
    const RECT centre = inkBox(RGB(0, 0, 0));
    EXPECT_NEAR((centre.left + centre.right) / 2.0, 100.0, 4.0);

    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    canvas->DrawText("Hi", RECT{0, 0, 200, 100}, DT_RIGHT | DT_SINGLELINE, font, white);
    const RECT right = inkBox(RGB(0, 0, 0));
    EXPECT_GT(right.right, 194);
    EXPECT_LT(right.top, 10);
}

TEST_F(CanvasTest, EllipsisAndClippingKeepTextInsideItsRectangle) {
    const Font font{"Tahoma", 16};
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    const RECT box{20, 20, 80, 40};
    canvas->DrawText("A rather long macro name that cannot fit", box,
                     DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font, RGB(255, 255, 255));
    const RECT ink = inkBox(RGB(0, 0, 0));
    EXPECT_GE(ink.left, box.left);
    EXPECT_LE(ink.right, box.right);
    EXPECT_GT(ink.right, box.left + 30);  // the part that fits is drawn
}

TEST_F(CanvasTest, WordBreakMakesMoreLinesAndCalcRectMeasuresThem) {
    const Font font{"Tahoma", 16};
    RECT one{0, 0, 400, 0};
    const int single = canvas->DrawText("one two three four five six", one, DT_CALCRECT | DT_SINGLELINE, font, 0);
    RECT wrapped{0, 0, 60, 0};
    const int multi = canvas->DrawText("one two three four five six", wrapped, DT_CALCRECT | DT_WORDBREAK, font, 0);
    EXPECT_GE(multi, 3 * single);
    EXPECT_LE(wrapped.right, 60);
    EXPECT_GT(one.right, 100);
}

TEST_F(CanvasTest, WordBreakWithEllipsisStillWrapsAndEndsInsideTheRectangle) {
    const Font font{"Tahoma", 16};
    const std::string text = "one two three four five six seven eight nine ten eleven twelve";
    const RECT tall{10, 0, 90, 100};
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    const int drawn = canvas->DrawText(text, tall, DT_WORDBREAK | DT_WORD_ELLIPSIS, font, RGB(255, 255, 255));
    EXPECT_GE(drawn, 3 * 16);  // several lines, not one cut-off line
    const RECT ink = inkBox(RGB(0, 0, 0));
    EXPECT_GT(ink.bottom, 40);
    EXPECT_LE(ink.bottom, tall.bottom);
    EXPECT_GE(ink.left, tall.left);
    EXPECT_LE(ink.right, tall.right);
}

// Text is drawn on one thread only: the text libraries share their font
// caches across the process. Debug builds (the sanitizer runs) stop a second
// thread at its first text.
TEST(CanvasThreadsDeathTest, TextOnASecondThreadIsCaughtInDebugBuilds) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto drawText = [] {
        const std::unique_ptr<Graphics> graphics = CreateTestGraphics();
        Image image(120, 40);
        const std::unique_ptr<Canvas> canvas = graphics->CreateCanvas(image);
        canvas->DrawText("Zavrin", RECT{0, 0, 120, 40}, DT_SINGLELINE, Font{"Tahoma", 12}, RGB(255, 255, 255));
        std::thread other([&] {
            Image second(120, 40);
            graphics->CreateCanvas(second)->MeasureText("Zavrin", Font{"Tahoma", 12});
        });
        other.join();
    };
    EXPECT_DEBUG_DEATH(drawText(), "second thread");
}

TEST_F(CanvasTest, CellHeightMatchesTheRequestedFontHeight) {
    for (int height : {12, 16, 24, 32}) {
        const SIZE s = canvas->MeasureText("Ag", Font{"Tahoma", height});
        EXPECT_NEAR(s.cy, height, 2) << height;
    }
    // A requested character width stretches the text.
    const SIZE narrow = canvas->MeasureText("DPI-4", Font{"Tahoma", 24, 0, FW_BOLD});
    const SIZE wide = canvas->MeasureText("DPI-4", Font{"Tahoma", 24, 24, FW_BOLD});
    EXPECT_GT(wide.cx, narrow.cx * 3 / 2);
}

TEST_F(CanvasTest, ChineseTextFallsBackToAnInstalledFace) {
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    canvas->DrawText("配置文件", RECT{0, 0, 200, 100}, DT_CENTER | DT_SINGLELINE | DT_VCENTER,
                     Font{"宋体", 12, 0, 0, GB2312_CHARSET}, RGB(255, 255, 255));
    const RECT ink = inkBox(RGB(0, 0, 0));
    EXPECT_GT(ink.right - ink.left, 30);
    EXPECT_GT(ink.bottom - ink.top, 6);
}

TEST_F(CanvasTest, ShapesDrawWhereAsked) {
    canvas->FillRect({0, 0, 200, 100}, RGB(0, 0, 0));
    const POINT triangle[] = {{10, 10}, {50, 10}, {10, 50}};
    canvas->FillPolygon(triangle, kRed);
    EXPECT_EQ(canvas->GetPixel({15, 15}), kRed);
    EXPECT_EQ(canvas->GetPixel({45, 45}), RGB(0, 0, 0));
    canvas->FrameRect({100, 10, 140, 50}, kGreen, 2);
    EXPECT_EQ(canvas->GetPixel({101, 30}), kGreen);
    EXPECT_EQ(canvas->GetPixel({103, 30}), RGB(0, 0, 0));
    canvas->FillEllipse({150, 10, 190, 50}, kBlue);
    EXPECT_EQ(canvas->GetPixel({170, 30}), kBlue);
    EXPECT_EQ(canvas->GetPixel({151, 11}), RGB(0, 0, 0));
    canvas->SetPixel({10, 90}, kAccent);
    EXPECT_EQ(canvas->GetPixel({10, 90}), kAccent);
}

TEST(ImageTest, AverageColourIsTheIntegerMeanOfEachChannel) {
    Image i(2, 1);
    i.setArgb(0, 0, OpaqueArgb(RGB(10, 20, 31)));
    i.setArgb(1, 0, OpaqueArgb(RGB(20, 30, 40)));
    EXPECT_EQ(i.averageColor(), RGB(15, 25, 35));
    EXPECT_EQ(Image().averageColor(), 0u);
}
