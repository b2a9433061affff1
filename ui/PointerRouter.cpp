#include "ui/PointerRouter.h"

#include "ui/MouseTracking.h"

namespace zavrin {

namespace {
constexpr RECT kNoArea{-1, -1, -1, -1};
constexpr POINT kNoPoint{-1, -1};
}  // namespace

POINT PointerRouter::CursorInClient() const { return ScreenToClient(host_.PointerWindow(), GetCursorPos()); }

void PointerRouter::Move(WPARAM keyFlags, POINT p) {
    if (!tracking_) tracking_ = TrackHoverAndLeave(host_.PointerWindow(), rules_.hoverTimeMs);
    if (buttonHeld_ && !rules_.heldTargetHearsMoves) return;
    if (hovered_ != nullptr && tracking_ && PtInRect(hovered_->PointerArea(), p)) {
        lastPoint_ = p;
        PointerTarget* target = hovered_;
        if (target->OnMouseMove(keyFlags, p)) host_.Repaint(target->PointerArea(), false);
        return;
    }
    // While the left button is held on a target no other target gets moves.
    if (buttonHeld_) return;
    lastPoint_ = p;
    PointerTarget* old = hovered_;
    hovered_ = tracking_ ? host_.SweepMove(keyFlags, p) : nullptr;
    if (old != nullptr) host_.Repaint(old->PointerArea(), false);
    if (hovered_ != nullptr && hovered_ != old) host_.Repaint(hovered_->PointerArea(), false);
}

void PointerRouter::Leave() {
    tracking_ = false;
    if (buttonHeld_) return;
    if (PointerTarget* target = hovered_) {
        lastPoint_ = host_.LeavePoint(*target, CursorInClient());
        target->OnMouseMove(0, lastPoint_);
        host_.Repaint(target->PointerArea(), false);
    }
    hovered_ = nullptr;
}

void PointerRouter::HoverReport() {
    PointerTarget* target = hovered_;
    if (target == nullptr) return;
    const POINT cursor = CursorInClient();
    if (!PtInRect(target->PointerArea(), cursor)) return;
    lastPoint_ = cursor;
    if (!rules_.hoverReportMoves || target->OnMouseMove(0, cursor)) host_.Repaint(target->PointerArea(), false);
}

PointerRouter::Outcome PointerRouter::LeftDown(WPARAM keyFlags, POINT p) {
    LosePress();
    PointerTarget* target = host_.PressTarget(hovered_, p);
    if (target == nullptr) {
        pressedArea_ = kNoArea;
        return {};
    }
    buttonHeld_ = true;
    hovered_ = target;
    pressed_ = target;
    pressedArea_ = target->PointerArea();
    host_.TargetPressed(*target);
    const bool changed = target->OnLButtonDown(keyFlags, p) != FALSE;
    if (changed) host_.Repaint(target->PointerArea(), false);
    // A press that arrives while the capture is still held (its release went to
    // another window) is complete as it is.
    const HWND window = host_.PointerWindow();
    if (!capturing_ && IsWindow(window)) {
        SetCapture(window);
        capturing_ = true;
    }
    return {true, changed};
}

PointerRouter::Outcome PointerRouter::LeftUp(WPARAM keyFlags, POINT p) {
    if (capturing_) {
        capturing_ = false;
        ReleaseCapture();
    }
    buttonHeld_ = false;
    Outcome outcome;
    if (PointerTarget* target = hovered_) {
        // The target's handlers may move it or make the window forget it, so
        // its area and its repaint rule are taken first.
        const RECT area = target->PointerArea();
        const bool whole = target->RepaintsWholeWindow();
        outcome.onTarget = true;
        outcome.changed = target->OnLButtonUp(keyFlags, p) != FALSE;
        if (outcome.changed && hovered_ != nullptr) host_.Repaint(area, whole);
        if (PtInRect(pressedArea_, p) || PtInRect(area, p)) {
            lastPoint_ = p;
        } else {
            lastPoint_ = kNoPoint;
            hovered_ = nullptr;
        }
    }
    pressedArea_ = kNoArea;
    return outcome;
}

PointerRouter::Outcome PointerRouter::DoubleClick(WPARAM keyFlags, POINT p) {
    RECT area = kNoArea;
    PointerTarget* target = host_.DoubleClickTarget(hovered_, p, area);
    if (target == nullptr) return {};
    const bool changed = target->OnLButtonDblClk(keyFlags, p) != FALSE;
    if (changed && hovered_ == target) host_.Repaint(target->PointerArea(), false);
    pressedArea_ = area;
    return {true, changed};
}

PointerRouter::Outcome PointerRouter::RightUp(WPARAM keyFlags, POINT p) {
    PointerTarget* target = host_.RightClickTarget(hovered_, p);
    if (target == nullptr) return {};
    const bool changed = target->OnRButtonUp(keyFlags, p) != FALSE;
    if (changed && hovered_ == target) host_.Repaint(target->PointerArea(), false);
    return {true, changed};
}

PointerRouter::Routed PointerRouter::Route(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_MOUSEMOVE:
            Move(wParam, PointFromLParam(lParam));
            return {true, true, {}};
        case WM_MOUSELEAVE:
            Leave();
            return {true, true, {}};
        case WM_MOUSEHOVER:
            HoverReport();
            return {true, true, {}};
        case WM_LBUTTONDOWN:
            return {true, false, LeftDown(wParam, PointFromLParam(lParam))};
        case WM_LBUTTONUP:
            return {true, false, LeftUp(wParam, PointFromLParam(lParam))};
        case WM_LBUTTONDBLCLK:
            return {true, false, DoubleClick(wParam, PointFromLParam(lParam))};
        case WM_RBUTTONUP:
            return {true, false, RightUp(wParam, PointFromLParam(lParam))};
        case WM_CAPTURECHANGED:
            // Another window took the mouse (or it was released): the flag must
            // say so, or the next press would not take the capture back and its
            // button-up outside the window would be lost as well.
            CaptureChanged(HandleFromLParam(lParam));
            return {true, false, {}};
        default:
            return {};
    }
}

void PointerRouter::CaptureChanged(HWND newOwner) {
    if (newOwner != host_.PointerWindow()) capturing_ = false;
}

void PointerRouter::LosePress() {
    if (pressed_ != nullptr && pressed_ != hovered_) {
        PointerTarget* target = pressed_;
        pressed_ = nullptr;
        target->OnFocus(FALSE);
    }
}

void PointerRouter::Forget(const PointerTarget* target) {
    if (target == nullptr) return;
    if (hovered_ == target) hovered_ = nullptr;
    if (pressed_ == target) pressed_ = nullptr;
}

}  // namespace zavrin
