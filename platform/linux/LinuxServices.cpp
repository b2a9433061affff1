#include "platform/linux/LinuxServices.h"

#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include <SDL.h>
#include <gio/gio.h>

#include "platform/Window.h"
#include "platform/WindowSystem.h"
#include "platform/linux/Autostart.h"
#include "platform/linux/FileDialogs.h"
#include "platform/linux/GLibLoop.h"
#include "platform/linux/Spawn.h"
#include "platform/linux/StatusNotifierItem.h"
#include "platform/linux/X11ForegroundWatcher.h"
#include "platform/sdl/SdlBackend.h"

namespace zavrin {

using namespace linuxdesktop;

LinuxServices::LinuxServices(SdlBackend* backend) : backend_(backend) {
    if (backend_ == nullptr) return;
    backend_->setKeyObserver([this](std::uint32_t vk, bool down, std::uint32_t timeMs) {
        keyCapture_.deliver(vk, !down, timeMs);
    });
}

LinuxServices::~LinuxServices() {
    if (backend_ != nullptr) backend_->setKeyObserver(nullptr);
    tray_.reset();
    if (bus_ != nullptr) {
        g_dbus_connection_flush_sync(bus_, nullptr, nullptr);
        g_object_unref(bus_);
    }
    loop_.reset();
}

GLibLoop& LinuxServices::loop() {
    if (!loop_) loop_ = std::make_unique<GLibLoop>();
    return *loop_;
}

GDBusConnection* LinuxServices::sessionBus() {
    if (busTried_) return bus_;
    busTried_ = true;
    // Only a bus that is there: no autolaunching of a private one.
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    bool present = address != nullptr && *address != 0;
    if (!present) {
        if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime != nullptr) {
            struct stat st{};
            present = ::stat((std::string(runtime) + "/bus").c_str(), &st) == 0 && S_ISSOCK(st.st_mode);
        }
    }
    if (!present) return nullptr;
    // A connection of our own, so that its callbacks never compete with
    // another library's use of the shared one.
    gchar* busAddress = g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, nullptr);
    if (busAddress == nullptr) return nullptr;
    loop().inContext([&] {
        bus_ = g_dbus_connection_new_for_address_sync(
            busAddress,
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, nullptr);
    });
    g_free(busAddress);
    if (bus_ != nullptr) g_dbus_connection_set_exit_on_close(bus_, FALSE);
    return bus_;
}

// ---- Tray ------------------------------------------------------------------------

bool LinuxServices::AddTrayIcon(const TrayIconRequest& request) {
    GDBusConnection* bus = sessionBus();
    if (bus == nullptr) return false;
    if (!tray_) {
        tray_ = std::make_unique<StatusNotifierItem>(loop(), bus);
        // A click on the item is the user's: the window it shows may come to the front.
        SdlBackend* backend = backend_;
        tray_->setUserActionHook([backend] {
            if (backend != nullptr) backend->allowForeground();
        });
    }
    return tray_->show(request);
}

void LinuxServices::RemoveTrayIcon() {
    if (tray_) tray_->hide();
}

void LinuxServices::ShowTrayMenu() {
    // The desktop shows the item's menu itself (dbusmenu).
}

ForegroundWatcher* LinuxServices::FrontProgramWatcher() {
    if (!foregroundTried_) {
        foregroundTried_ = true;
        foreground_ = linuxdesktop::X11ForegroundWatcher::Open();
    }
    return foreground_.get();
}

bool LinuxServices::TrayIconShown() const { return tray_ && tray_->shown(); }

void LinuxServices::UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) {
    if (tray_) tray_->updateMenu(menu);
}

// ---- Notifications ----------------------------------------------------------------

bool LinuxServices::ShowNotification(const std::string& title, const std::string& text) {
    GDBusConnection* bus = sessionBus();
    if (bus == nullptr) return false;
    // Sent without waiting for the answer: a desktop without a notification
    // server must not hold up the window, and the bus may start one.
    loop().inContext([&] {
        GVariantBuilder actions;
        g_variant_builder_init(&actions, G_VARIANT_TYPE("as"));
        GVariantBuilder hints;
        g_variant_builder_init(&hints, G_VARIANT_TYPE("a{sv}"));
        g_variant_builder_add(&hints, "{sv}", "desktop-entry", g_variant_new_string(kDesktopId));
        g_dbus_connection_call(bus, "org.freedesktop.Notifications", "/org/freedesktop/Notifications",
                               "org.freedesktop.Notifications", "Notify",
                               g_variant_new("(susssasa{sv}i)", "Zavrin ZR2", 0u, kDesktopId, title.c_str(),
                                             text.c_str(), &actions, &hints, -1),
                               G_VARIANT_TYPE("(u)"), G_DBUS_CALL_FLAGS_NONE, -1, nullptr, nullptr, nullptr);
    });
    return true;
}

// ---- Start at login ----------------------------------------------------------------

bool LinuxServices::StartsWithDesktop() const { return AutostartEntryPresent(AutostartEntryPath()); }

bool LinuxServices::SetStartWithDesktop(bool enabled) {
    const std::filesystem::path entry = AutostartEntryPath();
    return enabled ? WriteAutostartEntry(entry, RunningProgram()) : RemoveAutostartEntry(entry);
}

std::string LinuxServices::trayBusName() const { return tray_ && tray_->shown() ? tray_->busName() : std::string{}; }

// ---- Single instance ------------------------------------------------------------

bool LinuxServices::ClaimSingleInstance(const std::filesystem::path& dataFolder) { return instance_.claim(dataFolder); }

bool LinuxServices::SignalFirstInstance(const std::filesystem::path& dataFolder) {
    return posix::SingleInstance::signalFirst(dataFolder);
}

void LinuxServices::SetShowRequestTarget(HWND target, UINT showMessage) {
    // The second copy was started by the user: the first may come to the front.
    SdlBackend* backend = backend_;
    instance_.setRequestHandler([backend, target, showMessage](WPARAM request) {
        if (backend != nullptr && request == ShowRequestRelay::kShow) backend->allowForeground();
        PostMessage(target, showMessage, request, 0);
    });
}

void LinuxServices::SetControlRequestHandler(std::function<std::string(const std::string&)> handler) {
    instance_.setControlHandler(std::move(handler));
}

// ---- Shell ------------------------------------------------------------------------

bool LinuxServices::ShellOpen(std::string_view targetView) {
    const std::string target(targetView);
    if (target.empty()) return false;
    // An address ("https://...", "mailto:...") or a document: the desktop's
    // choice of program. A program: started as it is, no shell in between.
    const bool address = target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0;
    if (!address) {
        struct stat st{};
        if (::stat(target.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(target.c_str(), X_OK) == 0)
            return SpawnDetached({target});
        if (::stat(target.c_str(), &st) != 0) {
            // A bare program name, found in PATH.
            if (target.find('/') == std::string::npos && !FindProgram(target).empty()) return SpawnDetached({target});
            return false;
        }
    }
    return SpawnDetached({"xdg-open", target});
}

bool LinuxServices::OpenPointerSettings() {
    struct Settings {
        const char* desktop;  // as XDG_CURRENT_DESKTOP names it
        std::vector<std::string> argv;
    };
    const std::vector<Settings> known = {
        {"GNOME", {"gnome-control-center", "mouse"}},
        {"KDE", {"systemsettings", "kcm_mouse"}},
        {"KDE", {"systemsettings5", "mouse"}},
        {"XFCE", {"xfce4-mouse-settings"}},
    };
    const char* current = std::getenv("XDG_CURRENT_DESKTOP");
    const std::string desktop = current != nullptr ? current : "";
    // The running desktop's own settings first, then whichever is installed.
    for (const Settings& s : known)
        if (desktop.find(s.desktop) != std::string::npos && !FindProgram(s.argv[0]).empty()) return SpawnDetached(s.argv);
    for (const Settings& s : known)
        if (!FindProgram(s.argv[0]).empty()) return SpawnDetached(s.argv);
    return false;
}

// ---- File dialogs -----------------------------------------------------------------

std::optional<std::filesystem::path> LinuxServices::AskForFile(const FileDialogRequest& request) {
    if (useDesktopDialogs_) {
        // Modal for the owner, as the program's own dialogs are: its windows go
        // on painting and its timers firing while the desktop's dialog is open.
        const bool ownerWasEnabled = request.owner && IsWindowEnabled(request.owner);
        if (ownerWasEnabled) EnableWindow(request.owner, FALSE);
        DialogWait wait;
        WindowSystem* windows = WindowSystem::Current();
        Backend* loopBackend = windows != nullptr ? &windows->backend() : nullptr;
        wait.wake = [loopBackend] {
            if (loopBackend != nullptr) loopBackend->Wake();
        };
        wait.runUntil = [](const std::function<bool()>& done) {
            WindowSystem* windows = WindowSystem::Current();
            return windows != nullptr && windows->RunUntil(done);
        };
        DialogAnswer answer = AskPortal(loop(), sessionBus(), request, wait);
        if (answer.outcome == DialogAnswer::Outcome::Unavailable) answer = AskDialogProgram(request, wait);
        if (ownerWasEnabled && IsWindow(request.owner)) EnableWindow(request.owner, TRUE);
        if (answer.outcome == DialogAnswer::Outcome::Chosen) return answer.path;
        if (answer.outcome == DialogAnswer::Outcome::Cancelled) return std::nullopt;
    }
    if (fileDialogFallback_) {
        auto chosen = fileDialogFallback_(request);
        if (chosen) return WithDefaultExtension(request, *chosen);
    }
    return std::nullopt;
}

// ---- Clipboard ----------------------------------------------------------------------

void LinuxServices::SetClipboardText(std::string_view text) { SDL_SetClipboardText(std::string(text).c_str()); }

std::string LinuxServices::GetClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string out = text != nullptr ? text : "";
    SDL_free(text);
    return out;
}

// ---- Keyboard capture ----------------------------------------------------------------

void LinuxServices::StartKeyboardCapture(HWND target, UINT message) { keyCapture_.start(target, message); }

void LinuxServices::StopKeyboardCapture() { keyCapture_.stop(); }

void LinuxServices::RegisterDeviceNotifications(HWND target) {
    (void)target;  // the hidraw transport reports arrivals and removals itself
}

}  // namespace zavrin
