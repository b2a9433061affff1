#include "platform/InputRouter.h"

namespace zavrin {

void InputRouter::handle(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    switch (e.kind) {
        case Kind::MouseMove:
        case Kind::ButtonDown:
        case Kind::ButtonUp:
        case Kind::Wheel:
            handleMouse(e);
            return;
        case Kind::KeyDown:
        case Kind::KeyUp:
        case Kind::Char:
            handleKey(e);
            return;
        case Kind::CloseRequested:
        case Kind::FocusGained:
        case Kind::FocusLost:
        case Kind::Minimized:
        case Kind::Restored:
            handleDesktopRequest(e);
            return;
    }
}

void InputRouter::handleKey(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    if (e.kind != Kind::Char) parts_.keys.note(e.key, e.kind == Kind::KeyDown);
    const HWND active = parts_.activation.active();
    const WindowRecord* rec = parts_.table.live(active);
    if (rec == nullptr || !rec->enabled) return;
    const UINT message = e.kind == Kind::KeyDown ? WM_KEYDOWN : e.kind == Kind::KeyUp ? WM_KEYUP : WM_CHAR;
    parts_.table.dispatch(MSG{active, message, e.key, 1, parts_.pointer.cursor()});
}

void InputRouter::handleDesktopRequest(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    const HWND h{e.window};
    switch (e.kind) {
        case Kind::CloseRequested:
            parts_.queue.post(MSG{h, WM_CLOSE, 0, 0, parts_.pointer.cursor()});
            return;
        case Kind::FocusGained:
            if (parts_.table.live(h) != nullptr) parts_.activation.activate(h, WA_ACTIVE);
            return;
        case Kind::FocusLost:
            if (parts_.activation.active() == h) parts_.activation.activate(HWND{}, WA_INACTIVE);
            return;
        case Kind::Minimized:
            if (parts_.table.live(h) != nullptr) parts_.placement.show(h, SW_MINIMIZE);
            return;
        case Kind::Restored:
            if (const WindowRecord* rec = parts_.table.live(h); rec != nullptr && rec->minimized)
                parts_.placement.show(h, SW_RESTORE);
            return;
        default:
            return;
    }
}

void InputRouter::startMove(HWND h) {
    const WindowRecord* rec = parts_.table.live(h);
    if (rec == nullptr || (parts_.pointer.buttons() & MK_LBUTTON) == 0) return;
    drag_.start(*rec, parts_.pointer.cursor());
    // A fast drag leaves the window before it has followed; the desktop must
    // keep sending the moves.
    parts_.backend.SetNativeCapture(h.value, true);
}

bool InputRouter::followWindowMove(const InputEvent& e) {
    // The button-up ends the move and goes nowhere else.
    const HWND moving = drag_.window();
    if (!moving) return false;
    if (parts_.table.live(moving) == nullptr) {
        drag_.end();
    } else if (e.kind == InputEvent::Kind::MouseMove) {
        const POINT origin = drag_.origin(e.screen);
        parts_.placement.setPos(moving, HWND{}, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return true;
    } else if (e.kind == InputEvent::Kind::ButtonUp && e.button == MouseButton::Left) {
        if (!parts_.capture.heldBy(moving)) parts_.backend.SetNativeCapture(moving.value, false);
        drag_.end();
        return true;
    }
    return false;
}

bool InputRouter::activateOnPress(HWND target) {
    const WindowRecord* rec = parts_.table.live(target);
    if (rec == nullptr) {
        // A click on the bare desktop takes the activation away from the program.
        if (parts_.activation.active()) parts_.activation.activate(HWND{}, WA_INACTIVE);
        return false;
    }
    if (rec->enabled && parts_.activation.active() != target && (rec->exStyle & WS_EX_NOACTIVATE) == 0) {
        if (parts_.table.send(target, WM_MOUSEACTIVATE, 0, MAKELPARAM(static_cast<int>(HTCLIENT), 0)) !=
            MA_NOACTIVATE) {
            parts_.activation.activate(target, WA_CLICKACTIVE);
        }
    }
    return true;
}

UINT InputRouter::buttonMessage(const InputEvent& e, const WindowRecord& rec) {
    if (e.kind == InputEvent::Kind::ButtonDown) {
        const bool dbl = e.clickCount >= 2 && (rec.classStyle & CS_DBLCLKS) != 0;
        return e.button == MouseButton::Left    ? (dbl ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN)
               : e.button == MouseButton::Right ? (dbl ? WM_RBUTTONDBLCLK : WM_RBUTTONDOWN)
                                                : WM_MBUTTONDOWN;
    }
    return e.button == MouseButton::Left    ? WM_LBUTTONUP
           : e.button == MouseButton::Right ? WM_RBUTTONUP
                                            : WM_MBUTTONUP;
}

void InputRouter::handleMouse(const InputEvent& e) {
    using Kind = InputEvent::Kind;
    const WPARAM flags = parts_.pointer.note(e);
    if (followWindowMove(e)) return;

    parts_.hover.pointerMoved(e.screen);

    WindowTable& table = parts_.table;
    const HWND under = e.window != 0 && table.live(HWND{e.window}) != nullptr
                           ? HWND{e.window}
                           : parts_.zorder.windowFromPoint(e.screen);
    const HWND captured = parts_.capture.window();
    const HWND target = captured ? captured : under;
    if (e.kind == Kind::ButtonDown && !captured && !activateOnPress(target)) return;

    const WindowRecord* rec = table.live(target);
    if (rec == nullptr || !rec->enabled) return;
    const POINT client{e.screen.x - rec->rect.left, e.screen.y - rec->rect.top};
    UINT message = WM_MOUSEMOVE;
    switch (e.kind) {
        case Kind::MouseMove:
            table.send(target, WM_SETCURSOR, target.value, MAKELPARAM(static_cast<int>(HTCLIENT), WM_MOUSEMOVE));
            break;
        case Kind::ButtonDown:
        case Kind::ButtonUp:
            message = buttonMessage(e, *rec);
            break;
        case Kind::Wheel:
            table.dispatch(MSG{target, WM_MOUSEWHEEL, MAKEWPARAM(static_cast<int>(flags), e.wheelDelta),
                               LParamFromPoint(e.screen), parts_.pointer.cursor()});
            return;
        default:
            return;
    }
    if (table.live(target) == nullptr) return;
    table.dispatch(MSG{target, message, flags, LParamFromPoint(client), parts_.pointer.cursor()});
}

}  // namespace zavrin
