#include "platform/Placement.h"

#include <algorithm>

namespace zavrin {

bool Placement::enable(HWND h, bool on) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    const bool wasDisabled = !rec->enabled;
    if (rec->enabled == on) return wasDisabled;
    rec->enabled = on;
    if (!on && capture_.heldBy(h)) capture_.release();
    table_.send(h, WM_ENABLE, on ? TRUE : FALSE, 0);
    return wasDisabled;
}

bool Placement::show(HWND h, int command) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    switch (command) {
        case SW_HIDE:
            return hide(*rec);
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
            return minimize(*rec);
        default:
            return showNormal(*rec, command);
    }
}

bool Placement::hide(WindowRecord& rec) {
    const HWND h = rec.hwnd;
    if (!rec.visible) return false;
    rec.visible = false;
    backend_.ShowNativeWindow(h.value, false);
    table_.send(h, WM_SHOWWINDOW, FALSE, 0);
    if (activation_.active() == h) activation_.activateNextAfter(h);
    return true;
}

bool Placement::minimize(WindowRecord& rec) {
    const HWND h = rec.hwnd;
    const bool wasVisible = rec.visible;
    if (!rec.visible) {
        rec.visible = true;
        backend_.ShowNativeWindow(h.value, true);
    }
    if (!rec.minimized) {
        rec.minimized = true;
        backend_.MinimizeNativeWindow(h.value, true);
        table_.send(h, WM_SIZE, SIZE_MINIMIZED, MAKELPARAM(rec.rect.width(), rec.rect.height()));
    }
    if (activation_.active() == h) activation_.activateNextAfter(h);
    return wasVisible;
}

bool Placement::showNormal(WindowRecord& rec, int command) {
    const HWND h = rec.hwnd;
    const bool wasVisible = rec.visible;
    const bool restore = rec.minimized && command != SW_SHOWNA;
    if (!rec.visible) {
        rec.visible = true;
        backend_.ShowNativeWindow(h.value, true);
        table_.send(h, WM_SHOWWINDOW, TRUE, 0);
        paint_.invalidate(h, nullptr, true);
    }
    if (restore) {
        rec.minimized = false;
        backend_.MinimizeNativeWindow(h.value, false);
        table_.send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rec.rect.width(), rec.rect.height()));
        paint_.invalidate(h, nullptr, true);
    }
    if (command == SW_MAXIMIZE) rec.maximized = true;
    if (command == SW_RESTORE || command == SW_SHOWNORMAL) rec.maximized = false;
    const bool activates = command != SW_SHOWNA && command != SW_SHOWNOACTIVATE &&
                           (rec.exStyle & WS_EX_NOACTIVATE) == 0 && table_.live(h) != nullptr;
    if (activates) {
        activation_.activate(h, WA_ACTIVE);
    } else if (!wasVisible && command != SW_SHOWNA) {
        zorder_.bringToFront(h);
    }
    return wasVisible;
}

bool Placement::setPos(HWND h, HWND insertAfter, int x, int y, int cx, int cy, std::uint32_t flags) {
    WindowRecord* rec = table_.live(h);
    if (rec == nullptr) return false;
    RECT r = rec->rect;
    if ((flags & SWP_NOMOVE) == 0) r = OffsetRect(r, x - r.left, y - r.top);
    if ((flags & SWP_NOSIZE) == 0) {
        r.right = r.left + std::max(cx, 0);
        r.bottom = r.top + std::max(cy, 0);
    }
    if ((flags & SWP_NOZORDER) == 0) restack(*rec, insertAfter);
    if (r != rec->rect) moveTo(*rec, r);
    if (table_.live(h) == nullptr) return true;
    if ((flags & SWP_SHOWWINDOW) != 0) {
        show(h, (flags & SWP_NOACTIVATE) != 0 ? SW_SHOWNA : SW_SHOW);
    } else if ((flags & SWP_HIDEWINDOW) != 0) {
        show(h, SW_HIDE);
    }
    return true;
}

void Placement::restack(WindowRecord& rec, HWND insertAfter) {
    const HWND h = rec.hwnd;
    if (insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
        const bool topmost = insertAfter == HWND_TOPMOST;
        if (topmost != IsTopmost(&rec)) {
            rec.exStyle = topmost ? (rec.exStyle | WS_EX_TOPMOST) : (rec.exStyle & ~WS_EX_TOPMOST);
            backend_.SetNativeTopmost(h.value, topmost);
        }
        zorder_.bringToFront(h);
    } else if (insertAfter == HWND_TOP) {
        zorder_.bringToFront(h);
    }
}

void Placement::moveTo(WindowRecord& rec, const RECT& r) {
    const HWND h = rec.hwnd;
    const bool moved = r.left != rec.rect.left || r.top != rec.rect.top;
    const bool sized = r.width() != rec.rect.width() || r.height() != rec.rect.height();
    rec.rect = r;
    backend_.MoveNativeWindow(h.value, r);
    if (sized) paint_.resize(rec);
    if (moved) table_.send(h, WM_MOVE, 0, MAKELPARAM(r.left, r.top));
    if (sized && table_.live(h) != nullptr) table_.send(h, WM_SIZE, SIZE_RESTORED, MAKELPARAM(r.width(), r.height()));
    if (table_.live(h) != nullptr) table_.send(h, WM_WINDOWPOSCHANGED, 0, 0);
}

}  // namespace zavrin
