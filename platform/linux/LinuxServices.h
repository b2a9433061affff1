#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>

#include "platform/KeyCaptureTarget.h"
#include "platform/PlatformServices.h"
#include "platform/posix/SingleInstance.h"

typedef struct _GDBusConnection GDBusConnection;

namespace zavrin {

class SdlBackend;

namespace linuxdesktop {
class GLibLoop;
class StatusNotifierItem;
class X11ForegroundWatcher;
}  // namespace linuxdesktop

// The operating-system services on a Linux desktop.
//
//   tray              a StatusNotifierItem over D-Bus (no watcher: no tray, AddTrayIcon false)
//   notifications     org.freedesktop.Notifications over the same connection
//   start at login    an XDG autostart entry (linuxdesktop::AutostartEntryPath)
//   single instance   posix::SingleInstance (lock file and socket per data folder)
//   shell             addresses and documents through xdg-open, programs started
//                     directly; the mouse settings of GNOME, KDE or XFCE
//   file dialogs      the desktop portal, else zenity or kdialog, else the
//                     program's own fallback (setFileDialogFallback)
//   clipboard         SDL's (the X selection)
//   keyboard capture  the key events of the program's own windows
//   device changes    nothing to do: the hidraw transport watches /dev itself
//
// D-Bus runs on a GLib loop thread of its own, started on first use; what
// arrives there is handed to the UI thread with PostMessage.
class LinuxServices final : public PlatformServices {
public:
    // `backend` (may be null: no keyboard capture) supplies the key events of
    // the program's windows. Waits for the desktop's dialogs wake the loop of
    // the installed WindowSystem, whichever its backend.
    explicit LinuxServices(SdlBackend* backend);
    ~LinuxServices() override;

    bool AddTrayIcon(const TrayIconRequest& request) override;
    void RemoveTrayIcon() override;
    void ShowTrayMenu() override;
    bool TrayIconShown() const override;
    void UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) override;
    bool ShowNotification(const std::string& title, const std::string& text) override;
    bool StartsWithDesktop() const override;
    bool SetStartWithDesktop(bool enabled) override;

    bool ClaimSingleInstance(const std::filesystem::path& dataFolder) override;
    bool SignalFirstInstance(const std::filesystem::path& dataFolder) override;
    void SetShowRequestTarget(HWND target, UINT showMessage) override;
    void SetControlRequestHandler(std::function<std::string(const std::string&)> handler) override;

    bool ShellOpen(std::string_view target) override;
    bool OpenPointerSettings() override;

    std::optional<std::filesystem::path> AskForFile(const FileDialogRequest& request) override;

    void SetClipboardText(std::string_view text) override;
    std::string GetClipboardText() override;

    void StartKeyboardCapture(HWND target, UINT message) override;
    void StopKeyboardCapture() override;

    void RegisterDeviceNotifications(HWND target) override;
    // The X11 watcher (XWayland in a Wayland session), made on first use.
    ForegroundWatcher* FrontProgramWatcher() override;

    // The dialog used where the desktop has no file chooser (a skinned one with
    // an edit box): given the request, the chosen path or nothing.
    using FileDialogFallback = std::function<std::optional<std::filesystem::path>(const FileDialogRequest&)>;
    void setFileDialogFallback(FileDialogFallback fallback) { fileDialogFallback_ = std::move(fallback); }
    // Skips the portal and the dialog programs (tests, and users who want the
    // program's own dialog).
    void setUseDesktopFileDialogs(bool use) { useDesktopDialogs_ = use; }

    // The session bus, connected on first use; null when there is none.
    GDBusConnection* sessionBus();
    // The tray item's bus name while shown (tests).
    std::string trayBusName() const;

private:
    linuxdesktop::GLibLoop& loop();

    SdlBackend* backend_;
    posix::SingleInstance instance_;
    std::unique_ptr<linuxdesktop::GLibLoop> loop_;
    GDBusConnection* bus_ = nullptr;
    bool busTried_ = false;
    std::unique_ptr<linuxdesktop::StatusNotifierItem> tray_;
    std::unique_ptr<linuxdesktop::X11ForegroundWatcher> foreground_;
    bool foregroundTried_ = false;
    FileDialogFallback fileDialogFallback_;
    bool useDesktopDialogs_ = true;
    KeyCaptureTarget keyCapture_;
};

}  // namespace zavrin
