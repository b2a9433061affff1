#include "platform/ZOrder.h"

#include <algorithm>

namespace zavrin {

void ZOrder::addOnTop(HWND h) {
    order_.insert(order_.begin(), h);
    bringToFront(h);
}

void ZOrder::bringToFront(HWND h) {
    const WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return;
    remove(h);
    auto pos = order_.begin();
    if (!IsTopmost(rec)) {
        pos = std::find_if(order_.begin(), order_.end(), [&](HWND w) { return !IsTopmost(table_.live(w)); });
    }
    order_.insert(pos, h);
    const std::vector<HWND> owned = ownedBy(h);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it) bringToFront(*it);
}

void ZOrder::remove(HWND h) { order_.erase(std::remove(order_.begin(), order_.end(), h), order_.end()); }

std::vector<HWND> ZOrder::ownedBy(HWND owner) const {
    std::vector<HWND> owned;
    for (HWND w : order_) {
        const WindowRecord* r = table_.live(w);
        if (r != nullptr && r->owner == owner) owned.push_back(w);
    }
    return owned;
}

HWND ZOrder::firstFromTop(const std::function<bool(HWND)>& wanted) const {
    for (HWND w : order_) {
        if (wanted(w)) return w;
    }
    return HWND{};
}

HWND ZOrder::windowFromPoint(POINT screen) const {
    return firstFromTop([&](HWND w) {
        const WindowRecord* r = table_.live(w);
        return r != nullptr && r->visible && !r->minimized && PtInRect(r->rect, screen);
    });
}

}  // namespace zavrin
