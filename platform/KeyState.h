#pragma once

// Internal to the window layer. Not for use outside platform/.

#include <array>
#include <cstdint>

namespace zavrin {

// The keys held down, by virtual-key code (GetKeyState). UI thread only.
class KeyState {
public:
    void note(std::uint32_t key, bool down);
    bool isDown(int virtualKey) const;

private:
    std::array<bool, 256> down_{};
};

}  // namespace zavrin
