#include "platform/PointerState.h"

namespace zavrin {

POINT PointerState::cursor() const {
    std::lock_guard lock(mutex_);
    return cursor_;
}

WPARAM PointerState::note(const InputEvent& e) {
    {
        std::lock_guard lock(mutex_);
        cursor_ = e.screen;
    }
    const WPARAM buttonFlag = e.button == MouseButton::Left    ? MK_LBUTTON
                              : e.button == MouseButton::Right ? MK_RBUTTON
                                                               : MK_MBUTTON;
    if (e.kind == InputEvent::Kind::ButtonDown) buttons_ |= buttonFlag;
    if (e.kind == InputEvent::Kind::ButtonUp) buttons_ &= ~buttonFlag;
    WPARAM flags = buttons_;
    if (e.shift) flags |= MK_SHIFT;
    if (e.control) flags |= MK_CONTROL;
    return flags;
}

}  // namespace zavrin
