#include "platform/headless/HeadlessDesktop.h"

#include "platform/Resources.h"

// Headless runs draw with the system's own drawing backend, so that their
// pictures are what the desktop program shows.
#ifdef _WIN32
#include "platform/win32/GdiplusGraphics.h"
#else
#include "platform/cairo/CairoGraphics.h"
#endif

namespace zavrin {

HeadlessDesktop::HeadlessDesktop(ScreenMetrics metrics)
#ifdef _WIN32
    : backend_(metrics), graphics_(CreateGdiplusGraphics()) {
#else
    : backend_(metrics), graphics_(CreateCairoGraphics()) {
#endif
    SetGraphics(graphics_.get());
    windows_ = std::make_unique<WindowSystem>(backend_, graphics_.get());
}

HeadlessDesktop::~HeadlessDesktop() {
    windows_.reset();
    if (GetGraphics() == graphics_.get()) SetGraphics(nullptr);
}

void HeadlessDesktop::pump() { windows_->PumpPending(); }

void HeadlessDesktop::advance(std::chrono::milliseconds d) {
    VirtualClock& c = clock();
    const Clock::Duration target = c.now() + d;
    pump();
    while (true) {
        const auto next = windows_->NextDeadline();
        if (!next || *next > target) break;
        if (*next > c.now()) c.advance(*next - c.now());
        pump();
        if (windows_->QuitPending()) return;
    }
    if (target > c.now()) c.advance(target - c.now());
    pump();
}

void HeadlessDesktop::move(POINT screen) {
    backend_.mouseMove(screen);
    pump();
}

void HeadlessDesktop::press(POINT screen, MouseButton button) {
    backend_.mouseDown(screen, button);
    pump();
}

void HeadlessDesktop::release(POINT screen, MouseButton button) {
    backend_.mouseUp(screen, button);
    pump();
}

void HeadlessDesktop::click(POINT screen, MouseButton button) {
    backend_.click(screen, button);
    pump();
}

void HeadlessDesktop::doubleClick(POINT screen) {
    backend_.doubleClick(screen);
    pump();
}

void HeadlessDesktop::key(std::uint32_t virtualKey) {
    backend_.keyDown(virtualKey);
    backend_.keyUp(virtualKey);
    pump();
}

bool HeadlessDesktop::writePng(HWND hwnd, const std::filesystem::path& path) {
    const Image* surface = GetWindowSurface(hwnd);
    return surface != nullptr && WritePngFile(*surface, path);
}

COLORREF HeadlessDesktop::pixel(HWND hwnd, POINT client) {
    const Image* surface = GetWindowSurface(hwnd);
    return surface != nullptr ? surface->colorAt(client.x, client.y) : 0;
}

}  // namespace zavrin
