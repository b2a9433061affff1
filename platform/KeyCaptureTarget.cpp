#include "platform/KeyCaptureTarget.h"

namespace zavrin {

void KeyCaptureTarget::deliver(std::uint32_t virtualKey, bool released, std::uint32_t timeMs) const {
    if (!target_) return;
    PostMessage(target_, message_, virtualKey, Pack(released, timeMs));
}

}  // namespace zavrin
