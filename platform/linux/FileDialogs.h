#pragma once

#include <filesystem>
#include <functional>

#include "platform/PlatformServices.h"

typedef struct _GDBusConnection GDBusConnection;

namespace zavrin::linuxdesktop {

class GLibLoop;

// How the desktop's file dialogs are waited for: the caller's loop runs (windows
// keep painting, timers keep firing) until `done` turns true; false when the
// program is quitting meanwhile. `wake` ends a wait from another thread.
struct DialogWait {
    std::function<bool(const std::function<bool()>& done)> runUntil;
    std::function<void()> wake;
};

struct DialogAnswer {
    enum class Outcome { Chosen, Cancelled, Unavailable };
    Outcome outcome = Outcome::Unavailable;
    std::filesystem::path path;
};

// The desktop portal's file chooser (org.freedesktop.portal.FileChooser), which
// every desktop with xdg-desktop-portal answers, sandboxed or not. Unavailable
// when no portal answers the call.
DialogAnswer AskPortal(GLibLoop& loop, GDBusConnection* bus, const FileDialogRequest& request, const DialogWait& wait);

// zenity, else kdialog, when installed. Unavailable when neither is.
DialogAnswer AskDialogProgram(const FileDialogRequest& request, const DialogWait& wait);

// Adds the default extension to a saved file's name when the user typed none.
std::filesystem::path WithDefaultExtension(const FileDialogRequest& request, std::filesystem::path path);

}  // namespace zavrin::linuxdesktop
