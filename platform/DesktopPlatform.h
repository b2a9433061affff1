#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "platform/Backend.h"
#include "platform/Canvas.h"
#include "platform/PlatformServices.h"

namespace zavrin {

// What one operating system supplies to the program: native windows and input,
// drawing, and the services beside them. Each desktop backend implements the
// two functions below in its own folder; the program links the one for the
// system it is built for, and `main` is the only caller.
struct DesktopPlatform {
    std::unique_ptr<Backend> backend;
    std::unique_ptr<Graphics> graphics;
    std::unique_ptr<PlatformServices> services;
};

// Opens the desktop: a display connection, the drawing backend and the
// services. Null, with a one-line reason in `error`, when no display can be
// reached or the system has no desktop backend.
std::unique_ptr<DesktopPlatform> OpenDesktopPlatform(std::string& error);

// A second start hands over before it opens anything: when a copy of the
// program already runs for `dataFolder`, asks it to show itself and returns
// true, and the caller ends. False when no copy answered; the caller then
// starts as usual (and claims the folder then, so a copy that was starting at
// the same time is still met). Opening the display costs far more than the
// hand-over itself, on systems where it does so at all.
bool HandOverToRunningCopy(const std::filesystem::path& dataFolder);

// The drawing backend of this system, for headless runs (virtual screen, real
// pictures): cairo and pango on Linux, GDI+ on Windows.
std::unique_ptr<Graphics> CreatePlatformGraphics();

}  // namespace zavrin
