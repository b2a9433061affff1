// The desktop platform of Linux (and other systems with X11 or Wayland): the
// SDL backend, cairo and pango for drawing, and the Linux services.
#include "platform/DesktopPlatform.h"
#include "platform/cairo/CairoGraphics.h"
#include "platform/linux/LinuxServices.h"
#include "platform/posix/SingleInstance.h"
#include "platform/sdl/SdlBackend.h"

namespace zavrin {

std::unique_ptr<DesktopPlatform> OpenDesktopPlatform(std::string& error) {
    std::unique_ptr<SdlBackend> backend = SdlBackend::Open(error);
    if (!backend) return nullptr;
    auto platform = std::make_unique<DesktopPlatform>();
    platform->services = std::make_unique<LinuxServices>(backend.get());
    platform->graphics = CreateCairoGraphics();
    platform->backend = std::move(backend);
    return platform;
}

bool HandOverToRunningCopy(const std::filesystem::path& dataFolder) {
    return posix::SingleInstance::signalFirst(dataFolder);
}

std::unique_ptr<Graphics> CreatePlatformGraphics() { return CreateCairoGraphics(); }

}  // namespace zavrin
