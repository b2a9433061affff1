#include "platform/Snapshot.h"

#include <vector>

#include "platform/Canvas.h"
#include "platform/Resources.h"
#include "platform/WindowSystem.h"

namespace zavrin {

bool WriteImagePng(const Image& image, const std::filesystem::path& path) {
    return !image.empty() && WritePngFile(image, path);
}

bool WriteWindowPng(HWND hwnd, const std::filesystem::path& path) {
    const Image* surface = GetWindowSurface(hwnd);
    return surface != nullptr && WriteImagePng(*surface, path);
}

Image ComposeScreen(SIZE screen) {
    Image picture(screen.cx, screen.cy);
    Graphics* graphics = GetGraphics();
    WindowSystem* windows = WindowSystem::Current();
    if (graphics == nullptr || windows == nullptr) return picture;
    auto canvas = graphics->CreateCanvas(picture);
    canvas->FillRect(RECT{0, 0, screen.cx, screen.cy}, 0x000000);
    std::vector<HWND> order = windows->ZOrder();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (!IsWindowVisible(*it)) continue;
        const Image* surface = GetWindowSurface(*it);
        if (surface == nullptr || surface->empty()) continue;
        ImageDrawOptions options;
        options.opacity = GetWindowOpacity(*it);
        const RECT r = GetWindowRect(*it);
        canvas->DrawImage(*surface, r, RECT{0, 0, surface->width(), surface->height()}, options);
    }
    canvas->Flush();
    return picture;
}

}  // namespace zavrin
