#include "platform/DesktopPlatform.h"

#include "platform/win32/GdiplusGraphics.h"
#include "platform/win32/Win32Backend.h"
#include "platform/win32/Win32Services.h"

namespace zavrin {

std::unique_ptr<DesktopPlatform> OpenDesktopPlatform(std::string& error) {
    auto platform = std::make_unique<DesktopPlatform>();
    auto backend = std::make_unique<Win32Backend>();
    Win32Backend* windows = backend.get();
    auto services = std::make_unique<Win32Services>([windows](HWND h) { return windows->nativeHandle(h.value); });
    Win32Services* shell = services.get();
    windows->setForeignMessageHandler([shell](std::uint32_t message, std::uintptr_t, std::intptr_t) {
        if (message == ShowRequestMessage) shell->onShowRequest();
    });
    platform->graphics = CreateGdiplusGraphics();
    if (!platform->graphics) {
        error = "GDI+ could not be started";
        return nullptr;
    }
    platform->backend = std::move(backend);
    platform->services = std::move(services);
    return platform;
}

// Opening the Windows backend connects to nothing; the program claims its
// folder right after, and a second copy hands over there.
bool HandOverToRunningCopy(const std::filesystem::path&) { return false; }

std::unique_ptr<Graphics> CreatePlatformGraphics() { return CreateGdiplusGraphics(); }

}  // namespace zavrin
