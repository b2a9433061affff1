#include "platform/Activation.h"

namespace zavrin {

HWND Activation::activate(HWND h, WPARAM how) {
    const HWND previous = active_;
    if (h == previous) {
        if (table_.live(h) != nullptr) zorder_.bringToFront(h);
        return previous;
    }
    if (h && table_.live(h) == nullptr) return HWND{};
    active_ = h;
    if (table_.live(previous) != nullptr) {
        table_.send(previous, WM_NCACTIVATE, FALSE, 0);
        table_.send(previous, WM_ACTIVATE, WA_INACTIVE, HandleToLParam(h));
    }
    // A handler of the old window may have activated something else meanwhile.
    if (active_ == h && table_.live(h) != nullptr) {
        zorder_.bringToFront(h);
        backend_.ActivateNativeWindow(h.value);
        table_.send(h, WM_NCACTIVATE, TRUE, 0);
        table_.send(h, WM_ACTIVATE, how, HandleToLParam(previous));
    }
    return previous;
}

void Activation::activateNextAfter(HWND leaving) {
    const WindowRecord* rec = table_.live(leaving);
    auto candidate = [&](HWND w) {
        const WindowRecord* r = table_.live(w);
        return r != nullptr && w != leaving && r->visible && !r->minimized && r->enabled &&
               (r->exStyle & WS_EX_NOACTIVATE) == 0;
    };
    const HWND next = rec != nullptr && candidate(rec->owner) ? rec->owner : zorder_.firstFromTop(candidate);
    activate(next, WA_ACTIVE);
}

}  // namespace zavrin
