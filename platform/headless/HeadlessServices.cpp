#include "platform/headless/HeadlessServices.h"

#ifdef _WIN32
#include "platform/win32/Win32SingleInstance.h"
#else
#include "platform/posix/SingleInstance.h"
#endif

namespace zavrin {

HeadlessServices::HeadlessServices() = default;
HeadlessServices::~HeadlessServices() = default;

bool HeadlessServices::AddTrayIcon(const TrayIconRequest& request) {
    if (!trayAvailable) return false;
    tray = request;
    return true;
}

void HeadlessServices::RemoveTrayIcon() {
    tray.reset();
}

bool HeadlessServices::ShowNotification(const std::string& title, const std::string& text) {
    if (!notificationServiceAnswers) return false;
    notifications.push_back({title, text});
    return true;
}

bool HeadlessServices::SetStartWithDesktop(bool enabled) {
    startWithDesktopRequests.push_back(enabled);
    startsWithDesktop = enabled;
    return true;
}

bool HeadlessServices::ClaimSingleInstance(const std::filesystem::path& dataFolder) {
    instance_ = std::make_unique<SystemSingleInstance>();
    return instance_->claim(dataFolder);
}

bool HeadlessServices::SignalFirstInstance(const std::filesystem::path& dataFolder) {
    return SystemSingleInstance::signalFirst(dataFolder);
}

void HeadlessServices::SetShowRequestTarget(HWND target, UINT showMessage) {
    if (instance_) instance_->setTarget(target, showMessage);
}

void HeadlessServices::SetControlRequestHandler(std::function<std::string(const std::string&)> handler) {
    if (instance_) instance_->setControlHandler(std::move(handler));
}

bool HeadlessServices::ShellOpen(std::string_view target) {
    shellOpened.emplace_back(target);
    return !target.empty();
}

bool HeadlessServices::OpenPointerSettings() {
    ++pointerSettingsOpened;
    return pointerSettingsAvailable;
}

std::optional<std::filesystem::path> HeadlessServices::AskForFile(
    const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

void HeadlessServices::StartKeyboardCapture(HWND target, UINT message) { keyCapture_.start(target, message); }

void HeadlessServices::StopKeyboardCapture() { keyCapture_.stop(); }

void HeadlessServices::CaptureKey(std::uint32_t virtualKey, bool released, std::uint32_t timeMs) {
    keyCapture_.deliver(virtualKey, released, timeMs);
}

}  // namespace zavrin
