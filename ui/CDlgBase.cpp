#include "ui/CDlgBase.h"

#include "platform/Resources.h"
#include "ui/CWndPopup.h"
#include "ui/ControlGeometry.h"
#include "ui/MouseTracking.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr RECT kNoRect{-1, -1, -1, -1};
constexpr POINT kNoPoint{-1, -1};
// The dialog asks for hover reports almost at once, so controls light up
// without delay.
constexpr std::uint32_t kHoverTimeMs = 1;
}  // namespace

CDlgBase::CDlgBase(HWND owner) : CDialog(owner) {}

CDlgBase::~CDlgBase() {
    hoverControl = nullptr;
    focusControl_ = nullptr;
    pressedControl = nullptr;
    // Controls go list by list, each list from the front, as they were made.
    for (auto& list : controlLists) {
        for (auto& control : list) control.reset();
        list.clear();
    }
    UnregisterOpenDialog(registeredHandle_);
}

BOOL CDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    icon = LoadResourceImage(ResourceType::Icon, kIconMain);
    SetWindowText(GetSafeHwnd(), kWindowTitle);
    SetWindowPos(HWND_NOTOPMOST, 0, 0, windowWidth, windowHeight, SWP_SHOWWINDOW | SWP_NOMOVE);
    BuildControls(GetClientRect());
    CenterWindow();
    return TRUE;
}

void CDlgBase::SetKeyboardFocus(CControlBase* control) {
    if (control == focusControl_) return;
    if (focusControl_ != nullptr) focusControl_->OnKeyboardFocus(FALSE);
    focusControl_ = control;
    if (focusControl_ != nullptr) focusControl_->OnKeyboardFocus(TRUE);
}

bool CDlgBase::RegisterInOpenDialogs() {
    if (!RegisterOpenDialog(GetSafeHwnd())) return false;
    registeredHandle_ = GetSafeHwnd();
    return true;
}

CControlBase* CDlgBase::FindControl(std::uint32_t id) const {
    for (const auto& list : controlLists) {
        for (const auto& control : list) {
            if (control && control->id == id) return control.get();
        }
    }
    return nullptr;
}

void CDlgBase::ReleaseControlImages() {
    for (auto& list : controlLists) {
        for (auto& control : list) {
            if (control) control->ReleaseImages();
        }
    }
}

bool CDlgBase::LoadFrameBitmap(const std::filesystem::path& path) {
    auto bitmap = LoadImageFile(path);
    if (!bitmap) return false;
    frameSize = bitmap->size();
    SetFrameBitmap(std::move(bitmap));
    return true;
}

void CDlgBase::SetFrameBitmap(std::shared_ptr<const Image> bitmap) {
    if (!bitmap || bitmap->empty()) return;
    const int bw = frameSize.cx;
    const int bh = frameSize.cy;
    // Kept for owners that look at it; the cache itself is always the whole
    // picture at the UI scale, so that scaled dialogs get their whole frame.
    frameInset = (windowWidth <= bw && windowHeight <= bh) ? 0 : std::min(std::min(bw, 100), bh);
    backgroundColor = bitmap->averageColor();
    frameCache = Image(scaled(bitmap->width(), uiScale), scaled(bitmap->height(), uiScale));
    // The frame is an opaque bitmap: transparent parts of the picture come out
    // black, so that copying the cache never leaves holes in the window.
    frameCache.fill(UiColor::Black);
    if (Graphics* graphics = GetGraphics()) {
        auto canvas = graphics->CreateCanvas(frameCache);
        canvas->DrawImage(*bitmap, frameCache.bounds(), bitmap->bounds(),
                          ImageDrawOptions{255, Interpolation::HighQuality, BlendMode::SourceOver});
        canvas->Flush();
    }
}

void CDlgBase::DrawFrame(Canvas& dc, const RECT& client) const {
    dc.FillRect(client, backgroundColor);
    if (frameCache.empty()) return;
    const int w = std::min(frameCache.width(), client.right - client.left);
    const int h = std::min(frameCache.height(), client.bottom - client.top);
    dc.CopyImage(frameCache, POINT{client.left, client.top}, RECT{0, 0, w, h});
}

void CDlgBase::DrawControls(Canvas& dc, const RECT& clip) {
    const RECT area = painting_ ? IntersectRect(clip, paintClip_) : clip;
    for (const auto& list : controlLists) {
        for (const auto& control : list) {
            if (!control || !control->IsDisplayed()) continue;
            if (!RectsIntersect(control->rect, area)) continue;
            control->Draw(dc, area);
        }
    }
}

void CDlgBase::SetPopup(int slot, CWndPopup* popup) {
    if (slot < 0 || slot >= kPopupSlotCount) return;
    popupSlots_[static_cast<std::size_t>(slot)] =
        PopupSlot{popup, popup ? popup->GetSafeHwnd() : HWND{}};
}

CWndPopup* CDlgBase::GetPopup(int slot) const {
    if (slot < 0 || slot >= kPopupSlotCount) return nullptr;
    const PopupSlot& entry = popupSlots_[static_cast<std::size_t>(slot)];
    // A menu deletes itself when its window goes, so the pointer is only good
    // while the handle still names a window.
    return IsWindow(entry.hwnd) ? entry.popup : nullptr;
}

void CDlgBase::ClosePopup(int slot) {
    if (pressedControl != nullptr && pressedControl != hoverControl) {
        pressedControl->OnFocus(FALSE);
        pressedControl = nullptr;
    }
    if (slot < 0 || slot >= kPopupSlotCount) return;
    PopupSlot& entry = popupSlots_[static_cast<std::size_t>(slot)];
    if (IsWindow(entry.hwnd)) zavrin::PostMessage(entry.hwnd, WM_CLOSE, 0, 0);
    entry = PopupSlot{};
}

void CDlgBase::InvalidateControl(const CControlBase* control) {
    if (control != nullptr) InvalidateRect(&control->rect, TRUE);
}

POINT CDlgBase::CursorInClient() const {
    return ScreenToClient(GetSafeHwnd(), GetCursorPos());
}

LRESULT CDlgBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            // Painting covers the whole client area, so nothing is erased.
            return TRUE;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, PointFromLParam(lParam));
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_MOUSEHOVER:
            OnMouseHover();
            return 0;
        case WM_LBUTTONDOWN:
            return OnLButtonDown(wParam, PointFromLParam(lParam), lParam);
        case WM_LBUTTONUP:
            return OnLButtonUp(wParam, PointFromLParam(lParam), lParam);
        case WM_LBUTTONDBLCLK:
            return OnLButtonDblClk(wParam, PointFromLParam(lParam), lParam);
        case WM_RBUTTONUP:
            return OnRButtonUp(wParam, PointFromLParam(lParam), lParam);
        case WM_KEYDOWN:
            if (focusControl_ != nullptr && focusControl_->IsDisplayed() &&
                focusControl_->OnKeyDown(wParam)) {
                return 0;
            }
            return CDialog::WindowProc(message, wParam, lParam);
        case WM_CHAR:
            if (focusControl_ != nullptr && focusControl_->IsDisplayed() &&
                focusControl_->OnChar(static_cast<std::uint32_t>(wParam))) {
                return 0;
            }
            return CDialog::WindowProc(message, wParam, lParam);
        case WM_CAPTURECHANGED:
            // Another window took the mouse (or it was released): the flag must
            // say so, or the next press would not take the capture back and its
            // button-up outside the window would be lost as well.
            if (HandleFromLParam(lParam) != GetSafeHwnd()) mouseCaptured = false;
            return CDialog::WindowProc(message, wParam, lParam);
        default:
            return CDialog::WindowProc(message, wParam, lParam);
    }
}

void CDlgBase::OnPaint() {
    PAINTSTRUCT ps;
    Canvas* dc = BeginPaint(GetSafeHwnd(), ps);
    if (dc != nullptr && !IsIconic(GetSafeHwnd())) {
        paintClip_ = ps.rcPaint;
        painting_ = true;
        DrawWindow(*dc, GetClientRect());
        painting_ = false;
    }
    EndPaint(GetSafeHwnd(), ps);
}

void CDlgBase::OnMouseMove(WPARAM flags, POINT p) {
    if (!trackingMouse) trackingMouse = TrackHoverAndLeave(GetSafeHwnd(), kHoverTimeMs);
    if (hoverControl != nullptr && PtInRect(hoverControl->rect, p) && trackingMouse) {
        lastMouse = p;
        if (hoverControl->OnMouseMove(flags, p)) InvalidateControl(hoverControl);
        return;
    }
    // While the left button is held on a control no other control gets moves.
    if (buttonDown) return;
    lastMouse = p;
    CControlBase* oldHover = hoverControl;
    bool found = false;
    if (trackingMouse) {
        for (const auto& list : controlLists) {
            for (const auto& control : list) {
                if (!control || !control->IsDisplayed() || !control->mouseActive) continue;
                // Every control hears the move, so the ones just left drop their hover look.
                control->OnMouseMove(flags, lastMouse);
                if (PtInRect(control->rect, p)) {
                    hoverControl = control.get();
                    found = true;
                }
            }
        }
    }
    InvalidateControl(oldHover);
    if (found) {
        InvalidateControl(hoverControl);
    } else {
        hoverControl = nullptr;
    }
}

void CDlgBase::OnMouseLeave() {
    trackingMouse = false;
    if (buttonDown) return;
    if (hoverControl != nullptr) {
        const POINT cursor = CursorInClient();
        lastMouse =
            (IsZoomed(GetSafeHwnd()) && PtInRect(hoverControl->rect, cursor)) ? cursor : kNoPoint;
        CControlBase* control = hoverControl;
        control->OnMouseMove(0, lastMouse);
        InvalidateControl(control);
    }
    hoverControl = nullptr;
}

void CDlgBase::OnMouseHover() {
    if (hoverControl == nullptr) return;
    const POINT cursor = CursorInClient();
    if (PtInRect(hoverControl->rect, cursor)) {
        lastMouse = cursor;
        InvalidateControl(hoverControl);
    }
}

LRESULT CDlgBase::OnLButtonDown(WPARAM flags, POINT p, LPARAM lParam) {
    if (pressedControl != nullptr && pressedControl != hoverControl) {
        pressedControl->OnFocus(FALSE);
        pressedControl = nullptr;
    }
    if (hoverControl != nullptr && PtInRect(hoverControl->rect, p)) {
        buttonDown = true;
        pressedControl = hoverControl;
        if (hoverControl->TakesKeyboardFocus()) SetKeyboardFocus(hoverControl);
        pressedRect = hoverControl->rect;
        CControlBase* control = hoverControl;
        if (control->OnLButtonDown(flags, p)) InvalidateControl(control);
        // A press that arrives while the capture is still held (its button-up was
        // lost to another window) is complete as it is: it does not move the window.
        if (!mouseCaptured && IsWindow(GetSafeHwnd())) {
            SetCapture(GetSafeHwnd());
            mouseCaptured = true;
        }
        return 0;
    }
    // A press on the background drags the whole window.
    pressedRect = kNoRect;
    PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
    return CDialog::WindowProc(WM_LBUTTONDOWN, flags, lParam);
}

LRESULT CDlgBase::OnLButtonUp(WPARAM flags, POINT p, LPARAM lParam) {
    if (mouseCaptured) {
        ReleaseCapture();
        mouseCaptured = false;
    }
    buttonDown = false;
    if (hoverControl != nullptr) {
        const RECT r = hoverControl->rect;
        const bool whole = hoverControl->repaintsWholeWindow;
        if (hoverControl->OnLButtonUp(flags, p) && hoverControl != nullptr) {
            if (whole) {
                Invalidate(TRUE);
            } else {
                InvalidateRect(&r, TRUE);
            }
        }
        if (PtInRect(pressedRect, p) || PtInRect(r, p)) {
            lastMouse = p;
        } else {
            lastMouse = kNoPoint;
            hoverControl = nullptr;
        }
    }
    pressedRect = kNoRect;
    return CDialog::WindowProc(WM_LBUTTONUP, flags, lParam);
}

LRESULT CDlgBase::OnLButtonDblClk(WPARAM flags, POINT p, LPARAM lParam) {
    if (hoverControl != nullptr) {
        // Visibility plays no part in this look-up.
        for (const auto& list : controlLists) {
            for (const auto& control : list) {
                if (!control || !PtInRect(control->rect, p)) continue;
                const RECT found = control->rect;
                CControlBase* target = hoverControl;
                if (target->OnLButtonDblClk(flags, p) && hoverControl == target)
                    InvalidateControl(target);
                pressedRect = found;
                return 0;
            }
        }
    }
    return CDialog::WindowProc(WM_LBUTTONDBLCLK, flags, lParam);
}

LRESULT CDlgBase::OnRButtonUp(WPARAM flags, POINT p, LPARAM lParam) {
    if (hoverControl != nullptr) {
        // Only the common list takes right clicks.
        for (const auto& control : controlLists[kCommonList]) {
            if (!control || !PtInRect(control->rect, p)) continue;
            CControlBase* target = hoverControl;
            const BOOL changed = target->OnRButtonUp(flags, p);
            if (changed && hoverControl == target) InvalidateControl(target);
            return changed;
        }
    }
    return CDialog::WindowProc(WM_RBUTTONUP, flags, lParam);
}

}  // namespace zavrin
