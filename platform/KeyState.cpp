#include "platform/KeyState.h"

#include "platform/Messages.h"

namespace zavrin {

void KeyState::note(std::uint32_t key, bool down) {
    // The sided modifier codes also hold their generic key down, as on Windows.
    auto set = [&](std::uint32_t k) {
        if (k < down_.size()) down_[k] = down;
    };
    set(key);
    if (key == VK_LSHIFT || key == VK_RSHIFT) set(static_cast<std::uint32_t>(VK_SHIFT));
    if (key == VK_LCONTROL || key == VK_RCONTROL) set(static_cast<std::uint32_t>(VK_CONTROL));
    if (key == VK_LMENU || key == VK_RMENU) set(static_cast<std::uint32_t>(VK_MENU));
    if (!down && (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU)) {
        // A generic release lets go of both sides.
        const std::uint32_t base = key == VK_SHIFT ? VK_LSHIFT : key == VK_CONTROL ? VK_LCONTROL : VK_LMENU;
        set(base);
        set(base + 1);
    }
}

bool KeyState::isDown(int virtualKey) const {
    if (virtualKey < 0 || static_cast<std::size_t>(virtualKey) >= down_.size()) return false;
    return down_[static_cast<std::size_t>(virtualKey)];
}

}  // namespace zavrin
