#include "platform/DesktopPlatform.h"
#include "platform/cairo/CairoGraphics.h"

namespace zavrin {

// Used where no desktop backend is built: the program runs headless only.
std::unique_ptr<DesktopPlatform> OpenDesktopPlatform(std::string& error) {
    error = "no desktop backend is built into this program; run it with --headless";
    return nullptr;
}

// Headless runs hand over in CVelmorApp, which costs them nothing extra.
bool HandOverToRunningCopy(const std::filesystem::path&) { return false; }

std::unique_ptr<Graphics> CreatePlatformGraphics() {
    return CreateCairoGraphics();
}

}  // namespace zavrin
