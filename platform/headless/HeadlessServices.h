#pragma once

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/KeyCaptureTarget.h"
#include "platform/PlatformServices.h"

namespace zavrin {

// The system's own single-instance guard: a named mutex and event on Windows,
// a lock file and a Unix socket elsewhere.
#ifdef _WIN32
namespace win32 {
class SingleInstance;
}
using SystemSingleInstance = win32::SingleInstance;
#else
namespace posix {
class SingleInstance;
}
using SystemSingleInstance = posix::SingleInstance;
#endif

// The operating-system services of a run without a display: the tray icon,
// shell requests and file dialogs are recorded for tests and scripts to look
// at and answer; the clipboard is a string; keyboard capture takes the
// program's own key events; single instance is real (per data folder, across
// processes), so tests running side by side never meet. UI thread.
class HeadlessServices final : public PlatformServices {
public:
    HeadlessServices();
    ~HeadlessServices() override;

    bool AddTrayIcon(const TrayIconRequest& request) override;
    void RemoveTrayIcon() override;
    void ShowTrayMenu() override { ++trayMenuShows; }
    bool TrayIconShown() const override { return tray.has_value(); }
    void UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) override {
        if (tray) tray->menu = menu;
    }
    // Recorded in `notifications`; false when a test took the service away.
    bool ShowNotification(const std::string& title, const std::string& text) override;
    bool StartsWithDesktop() const override { return startsWithDesktop; }
    bool SetStartWithDesktop(bool enabled) override;

    bool ClaimSingleInstance(const std::filesystem::path& dataFolder) override;
    bool SignalFirstInstance(const std::filesystem::path& dataFolder) override;
    void SetShowRequestTarget(HWND target, UINT showMessage) override;
    void SetControlRequestHandler(std::function<std::string(const std::string&)> handler) override;

    bool ShellOpen(std::string_view target) override;
    bool OpenPointerSettings() override;

    // Answers from `fileAnswers` (front first); with none queued the dialog is
    // cancelled.
    std::optional<std::filesystem::path> AskForFile(const FileDialogRequest& request) override;

    void SetClipboardText(std::string_view text) override { clipboard = std::string(text); }
    std::string GetClipboardText() override { return clipboard; }

    void StartKeyboardCapture(HWND target, UINT message) override;
    void StopKeyboardCapture() override;
    void RegisterDeviceNotifications(HWND) override {}
    ForegroundWatcher* FrontProgramWatcher() override { return &foreground; }

    // Hands a key to the capture target as the desktop backends do.
    void CaptureKey(std::uint32_t virtualKey, bool released, std::uint32_t timeMs);
    // The window the captured keys go to; none while the capture is stopped.
    HWND CaptureTarget() const { return keyCapture_.target(); }

    // Tests and scripts say which program is in front.
    FakeForegroundWatcher foreground;
    std::optional<TrayIconRequest> tray;
    bool trayAvailable = true;  // false: a desktop without a tray
    int trayMenuShows = 0;
    struct Notification {
        std::string title;
        std::string text;
    };
    std::vector<Notification> notifications;
    bool notificationServiceAnswers = true;
    // The start with the desktop: its state and every change asked for.
    bool startsWithDesktop = false;
    std::vector<bool> startWithDesktopRequests;
    std::vector<std::string> shellOpened;
    int pointerSettingsOpened = 0;
    bool pointerSettingsAvailable = true;  // false: a desktop without a known settings panel
    std::deque<std::optional<std::filesystem::path>> fileAnswers;
    std::vector<FileDialogRequest> fileRequests;
    std::string clipboard;

private:
    KeyCaptureTarget keyCapture_;
    std::unique_ptr<SystemSingleInstance> instance_;
};

}  // namespace zavrin
