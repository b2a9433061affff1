#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/PlatformServices.h"

namespace zavrin {

// The platform services on Windows: the notification-area icon and its menu,
// single instance through a named mutex, the shell, the common file dialogs,
// the clipboard, keyboard capture with a low-level keyboard hook inside the
// program, HID arrival and removal notifications, notifications as balloons of
// the tray icon, and the start at login as the value "Zavrin ZR2" under
// HKCU\Software\Microsoft\Windows\CurrentVersion\Run.
//
// Native notifications (tray clicks, a second copy's request, device changes,
// hooked keys) reach a hidden window of this object on the UI thread and are
// passed on to the layer's windows with PostMessage.
//
// Single instance: see win32::SingleInstance. A show request that reaches the
// main window itself (message 2999 to the class "Kestrune_QTV") is passed in
// through onShowRequest.
class Win32Services final : public PlatformServices {
public:
    // `nativeHandleOf` gives the native handle of a layer window (for owners of
    // file dialogs).
    explicit Win32Services(std::function<std::uintptr_t(HWND)> nativeHandleOf);
    ~Win32Services() override;
    Win32Services(const Win32Services&) = delete;
    Win32Services& operator=(const Win32Services&) = delete;

    // A request to show the program that reached the main window itself (an
    // older copy's message to the window class): same as one through the mutex's window.
    void onShowRequest();

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
    ForegroundWatcher* FrontProgramWatcher() override;

    struct Impl;

private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace zavrin
