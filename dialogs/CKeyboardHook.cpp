#include "dialogs/CKeyboardHook.h"

namespace zavrin {

CKeyboardHook::CKeyboardHook(PlatformServices& services) : services_(services) {}

CKeyboardHook::~CKeyboardHook() {
    StopHook();
}

void CKeyboardHook::StartHook(HWND window) {
    services_.StartKeyboardCapture(window, kMessage);
    running_ = true;
}

std::optional<CKeyboardHook::Key> CKeyboardHook::KeyFrom(UINT message, WPARAM wParam,
                                                         LPARAM lParam) const {
    if (message != kMessage || !running_ || wParam == 0) return std::nullopt;
    return Key{static_cast<std::uint32_t>(wParam), isRelease(lParam), timeStamp(lParam)};
}

void CKeyboardHook::StopHook() {
    // Only the hook that started the capture ends it, so a stopped hook's
    // destructor never cuts off another dialog's capture.
    if (!running_) return;
    services_.StopKeyboardCapture();
    running_ = false;
}

}  // namespace zavrin
