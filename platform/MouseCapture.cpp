#include "platform/MouseCapture.h"

namespace zavrin {

HWND MouseCapture::set(HWND h) {
    const HWND previous = capture_;
    if (table_.live(h) == nullptr) return previous;
    capture_ = h;
    if (previous && previous != h) backend_.SetNativeCapture(previous.value, false);
    backend_.SetNativeCapture(h.value, true);
    if (previous && previous != h) table_.send(previous, WM_CAPTURECHANGED, 0, HandleToLParam(h));
    return previous;
}

bool MouseCapture::release() {
    const HWND previous = capture_;
    capture_ = HWND{};
    if (previous) {
        backend_.SetNativeCapture(previous.value, false);
        table_.send(previous, WM_CAPTURECHANGED, 0, 0);
    }
    return true;
}

void MouseCapture::forget(HWND h) {
    if (capture_ != h) return;
    capture_ = HWND{};
    table_.send(h, WM_CAPTURECHANGED, 0, 0);
}

}  // namespace zavrin
