#pragma once

#include "platform/PlatformServices.h"

namespace zavrin {

// Platform services that hand every call to other services: a wrapper that
// changes a few services derives from it and overrides only those.
class ForwardingServices : public PlatformServices {
public:
    explicit ForwardingServices(PlatformServices& inner) : inner_(inner) {}

    bool AddTrayIcon(const TrayIconRequest& request) override { return inner_.AddTrayIcon(request); }
    void RemoveTrayIcon() override { inner_.RemoveTrayIcon(); }
    void ShowTrayMenu() override { inner_.ShowTrayMenu(); }
    bool TrayIconShown() const override { return inner_.TrayIconShown(); }
    void UpdateTrayMenu(const std::vector<TrayMenuItem>& menu) override { inner_.UpdateTrayMenu(menu); }
    bool ShowNotification(const std::string& title, const std::string& text) override {
        return inner_.ShowNotification(title, text);
    }
    bool StartsWithDesktop() const override { return inner_.StartsWithDesktop(); }
    bool SetStartWithDesktop(bool enabled) override { return inner_.SetStartWithDesktop(enabled); }
    bool ClaimSingleInstance(const std::filesystem::path& dataFolder) override {
        return inner_.ClaimSingleInstance(dataFolder);
    }
    bool SignalFirstInstance(const std::filesystem::path& dataFolder) override {
        return inner_.SignalFirstInstance(dataFolder);
    }
    void SetShowRequestTarget(HWND target, UINT showMessage) override {
        inner_.SetShowRequestTarget(target, showMessage);
    }
    void SetControlRequestHandler(std::function<std::string(const std::string&)> handler) override {
        inner_.SetControlRequestHandler(std::move(handler));
    }
    bool ShellOpen(std::string_view target) override { return inner_.ShellOpen(target); }
    bool OpenPointerSettings() override { return inner_.OpenPointerSettings(); }
    std::optional<std::filesystem::path> AskForFile(const FileDialogRequest& request) override {
        return inner_.AskForFile(request);
    }
    void SetClipboardText(std::string_view text) override { inner_.SetClipboardText(text); }
    std::string GetClipboardText() override { return inner_.GetClipboardText(); }
    void StartKeyboardCapture(HWND target, UINT message) override { inner_.StartKeyboardCapture(target, message); }
    void StopKeyboardCapture() override { inner_.StopKeyboardCapture(); }
    void RegisterDeviceNotifications(HWND target) override { inner_.RegisterDeviceNotifications(target); }
    ForegroundWatcher* FrontProgramWatcher() override { return inner_.FrontProgramWatcher(); }

private:
    PlatformServices& inner_;
};

}  // namespace zavrin
