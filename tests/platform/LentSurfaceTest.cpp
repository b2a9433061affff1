// A backend whose desktop reads the program's memory lends each window the
// memory of its surface (the Linux desktop does, over MIT-SHM): frames must be
// painted there and shown without a copy, through a resize and a layered
// window's update too. A frame that reaches Present in other memory is still
// shown, copied, which hides the fault on screen; this test sees it.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/WindowSystem.h"
#include "platform/headless/HeadlessBackend.h"
#ifdef _WIN32
#include "platform/win32/GdiplusGraphics.h"
#else
#include "platform/cairo/CairoGraphics.h"
#endif
#include "tests/platform/RecordingWindow.h"

using namespace zavrin;
using namespace zavrin::test;

namespace {

// The headless desktop, with lent surfaces.
class LendingBackend final : public Backend {
public:
    HeadlessBackend inner;

    struct Lent {
        std::weak_ptr<std::vector<std::uint32_t>> memory;
        std::uint32_t* pixels = nullptr;
    };
    std::map<NativeWindowId, Lent> lent;
    int copiedFrames = 0;
    int framesInPlace = 0;
    int lentWhileOldStillHeld = 0;

    Image CreateSurface(NativeWindowId id, int width, int height) override {
        if (!lent[id].memory.expired()) ++lentWhileOldStillHeld;
        auto memory = std::make_shared<std::vector<std::uint32_t>>(static_cast<std::size_t>(width) * height);
        lent[id] = Lent{memory, memory->data()};
        return Image::Over(width, height, memory->data(), memory);
    }
    void Present(NativeWindowId id, const Image& surface, const RECT& dirty) override {
        (surface.data() == lent[id].pixels ? framesInPlace : copiedFrames)++;
        inner.Present(id, surface, dirty);
    }

    Clock& clock() override { return inner.clock(); }
    void CreateNativeWindow(NativeWindowId id, const NativeWindowParams& p) override { inner.CreateNativeWindow(id, p); }
    void DestroyNativeWindow(NativeWindowId id) override { inner.DestroyNativeWindow(id); }
    void MoveNativeWindow(NativeWindowId id, const RECT& r) override { inner.MoveNativeWindow(id, r); }
    void ShowNativeWindow(NativeWindowId id, bool shown) override { inner.ShowNativeWindow(id, shown); }
    void SetNativeTopmost(NativeWindowId id, bool topmost) override { inner.SetNativeTopmost(id, topmost); }
    void SetNativeOpacity(NativeWindowId id, std::uint8_t alpha) override { inner.SetNativeOpacity(id, alpha); }
    void ActivateNativeWindow(NativeWindowId id) override { inner.ActivateNativeWindow(id); }
    bool PollEvent(InputEvent& event) override { return inner.PollEvent(event); }
    WaitResult WaitForEvent(Clock::Duration timeout) override { return inner.WaitForEvent(timeout); }
    void Wake() override { inner.Wake(); }
    ScreenMetrics GetScreenMetrics() override { return inner.GetScreenMetrics(); }
};

constexpr COLORREF kBody = RGB(40, 120, 200);

}  // namespace

TEST(LentSurfaces, FramesArePaintedInTheLentMemoryThroughResizesAndLayeredUpdates) {
    LendingBackend backend;
#ifdef _WIN32
    const std::unique_ptr<Graphics> graphics = CreateGdiplusGraphics();
#else
    const std::unique_ptr<Graphics> graphics = CreateCairoGraphics();
#endif
    WindowSystem windows(backend, graphics.get());

    RecordingWnd window;
    window.handlers[WM_PAINT] = [&](WPARAM, LPARAM) -> LRESULT {
        PAINTSTRUCT ps;
        if (Canvas* canvas = BeginPaint(window.GetSafeHwnd(), ps)) canvas->FillRect(RECT{0, 0, 400, 400}, kBody);
        EndPaint(window.GetSafeHwnd(), ps);
        return 0;
    };
    ASSERT_TRUE(window.CreateEx(0, WS_POPUP | WS_VISIBLE, RECT{10, 10, 110, 60}, HWND{}));
    windows.PumpPending();
    const HWND h = window.GetSafeHwnd();
    const NativeWindowId id = h.value;
    ASSERT_EQ(GetWindowSurface(h)->data(), backend.lent[id].pixels);
    EXPECT_EQ(backend.lent[id].pixels[0], OpaqueArgb(kBody));

    // A new size: a new piece of memory, asked for once the old one is let go.
    window.SetWindowPos(HWND{}, 10, 10, 300, 120, SWP_NOZORDER);
    windows.PumpPending();
    EXPECT_EQ(backend.lentWhileOldStillHeld, 0);
    ASSERT_EQ(GetWindowSurface(h)->width(), 300);
    EXPECT_EQ(GetWindowSurface(h)->data(), backend.lent[id].pixels);
    EXPECT_EQ(backend.lent[id].pixels[300 * 120 - 1], OpaqueArgb(kBody));

    // A layered window's picture is copied into its lent memory.
    RecordingWnd display;
    ASSERT_TRUE(display.CreateEx(WS_EX_LAYERED | WS_EX_NOACTIVATE | WS_EX_TOPMOST, WS_POPUP | WS_VISIBLE,
                                 RECT{500, 500, 540, 520}, HWND{}));
    Image picture(40, 20);
    picture.fill(RGB(200, 10, 10));
    ASSERT_TRUE(UpdateLayeredWindow(display.GetSafeHwnd(), picture));
    windows.PumpPending();
    EXPECT_EQ(backend.lent[display.GetSafeHwnd().value].pixels[40 * 20 - 1], OpaqueArgb(RGB(200, 10, 10)));

    EXPECT_GT(backend.framesInPlace, 2);
    EXPECT_EQ(backend.copiedFrames, 0);

    // A copy of a lent surface is a picture of its own.
    Image copy = *GetWindowSurface(h);
    copy.fill(RGB(0, 0, 0));
    EXPECT_EQ(backend.lent[id].pixels[0], OpaqueArgb(kBody));
}
