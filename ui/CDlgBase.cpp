#include "ui/CDlgBase.h"

#include "platform/ReadyMadeFrames.h"
#include "platform/Resources.h"
#include "ui/CWndPopup.h"
#include "ui/ControlGeometry.h"
#include "ui/OpenDialogs.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr POINT kNoPoint{-1, -1};

// The last frame file a dialog loaded, as prepared at the UI scale. Dialogs
// open and close again and again (a user going through the actions of several
// buttons), and decoding and scaling the frame is most of an opening at scale
// 2. One frame only, so that memory stays level however many dialogs open.
struct PreparedFrame {
    std::filesystem::path path;
    float scale = 0;
    SIZE size{};
    COLORREF background = 0;
    // One of the two: the scaled picture, or a frame drawn from its runs.
    std::shared_ptr<const Image> cache;
    std::shared_ptr<const PixelRunsImage> runs;
};

PreparedFrame& LastPreparedFrame() {
    static PreparedFrame frame;
    return frame;
}
}  // namespace

CDlgBase::CDlgBase(HWND owner) : CDialog(owner) {}

CDlgBase::~CDlgBase() {
    focusControl_ = nullptr;
    // Controls go list by list, each list from the front, as they were made.
    for (auto& list : controlLists_) {
        for (auto& control : list) control.reset();
        list.clear();
    }
    UnregisterOpenDialog(registeredHandle_);
}

BOOL CDlgBase::OnInitDialog() {
    CDialog::OnInitDialog();
    icon = LoadResourceImage(ResourceType::Icon, kIconMain);
    SetWindowText(GetSafeHwnd(), kWindowTitle);
    // A dialog that starts hidden (showAfterInit) is never mapped on the way.
    const std::uint32_t show = showAfterInit == SW_SHOW ? SWP_SHOWWINDOW : 0;
    SetWindowPos(HWND_NOTOPMOST, 0, 0, windowWidth, windowHeight, show | SWP_NOMOVE);
    if (!uiBuilt) {
        uiBuilt = true;
        BuildControls(GetClientRect());
    }
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
    for (const auto& list : controlLists_) {
        for (const auto& control : list) {
            if (control && control->id == id) return control.get();
        }
    }
    return nullptr;
}

void CDlgBase::ReleaseControlImages() {
    for (auto& list : controlLists_) {
        for (auto& control : list) {
            if (control) control->ReleaseImages();
        }
    }
}

bool CDlgBase::LoadFrameBitmap(const std::filesystem::path& path) {
    PreparedFrame& last = LastPreparedFrame();
    if ((last.cache || last.runs) && last.scale == uiScale && last.path == path) {
        frameSize = last.size;
        backgroundColor = last.background;
        frameCache = last.cache;
        frameRuns = last.runs;
        return true;
    }
    if (uiScale == kReadyMadeFrameScale && SetReadyMadeFrame(LoadReadyMadeFrame(path))) {
        last = PreparedFrame{path, uiScale, frameSize, backgroundColor, nullptr, frameRuns};
        return true;
    }
    auto bitmap = LoadImageFile(path);
    if (!bitmap) return false;
    frameSize = bitmap->size();
    SetFrameBitmap(std::move(bitmap));
    last = PreparedFrame{path, uiScale, frameSize, backgroundColor, frameCache, nullptr};
    return true;
}

void CDlgBase::LoadFrameResource(int id) {
    // The ready-made frame is only looked at (its runs scanned) at its scale.
    if (uiScale == kReadyMadeFrameScale &&
        SetReadyMadeFrame(PixelRunsImage::Open(FindResourceBytes(ResourceType::ReadyMadeFrame, id)))) {
        return;
    }
    // A build that holds the picture as a PNG decodes it.
    if (auto runs = PixelRunsImage::Open(FindResourceBytes(ResourceType::Bitmap, id))) {
        SetFrameRuns(std::move(runs));
    } else {
        SetFrameBitmap(LoadBitmapResource(id));
    }
}

void CDlgBase::SetFrameRuns(std::shared_ptr<const PixelRunsImage> runs) {
    if (!runs) return;
    if (uiScale != 1.0f || !runs->isOpaque()) {
        SetFrameBitmap(std::make_shared<const Image>(runs->decode()));
        return;
    }
    backgroundColor = runs->averageColor();
    frameCache.reset();
    frameRuns = std::move(runs);
}

bool CDlgBase::SetReadyMadeFrame(std::shared_ptr<const PixelRunsImage> ready) {
    if (uiScale != kReadyMadeFrameScale || !ready || !ready->isOpaque()) return false;
    frameSize = SIZE{static_cast<int>(static_cast<float>(ready->width()) / kReadyMadeFrameScale),
                     static_cast<int>(static_cast<float>(ready->height()) / kReadyMadeFrameScale)};
    backgroundColor = ready->averageColor();
    frameCache.reset();
    frameRuns = std::move(ready);
    return true;
}

void CDlgBase::SetFrameBitmap(std::shared_ptr<const Image> bitmap) {
    if (!bitmap || bitmap->empty()) return;
    frameRuns.reset();
    // The cache is always the whole picture at the UI scale, so that scaled
    // dialogs get their whole frame.
    backgroundColor = bitmap->averageColor();
    if (uiScale == 1.0f && bitmap->isOpaque()) {
        frameCache = std::move(bitmap);
        return;
    }
    auto cache = std::make_shared<Image>(scaled(bitmap->width(), uiScale), scaled(bitmap->height(), uiScale));
    // The frame is an opaque bitmap: transparent parts of the picture come out
    // black, so that copying the cache never leaves holes in the window. An
    // opaque picture covers every pixel of the cache by itself.
    if (!bitmap->isOpaque()) cache->fill(UiColor::Black);
    if (Graphics* graphics = GetGraphics()) {
        auto canvas = graphics->CreateCanvas(*cache);
        canvas->DrawImage(*bitmap, cache->bounds(), bitmap->bounds(),
                          ImageDrawOptions{255, Interpolation::HighQuality, BlendMode::SourceOver});
        canvas->Flush();
    }
    frameCache = std::move(cache);
}

void CDlgBase::DrawFrame(Canvas& dc, const RECT& client) const {
    if (!frameRuns && (!frameCache || frameCache->empty())) {
        dc.FillRect(client, backgroundColor);
        return;
    }
    const SIZE picture = frameRuns ? frameRuns->size() : frameCache->size();
    const int w = std::min(picture.cx, client.right - client.left);
    const int h = std::min(picture.cy, client.bottom - client.top);
    // The copy replaces every pixel it covers: only what lies beyond the frame
    // (right of it, below it) takes the background colour.
    if (client.left + w < client.right)
        dc.FillRect(RECT{client.left + w, client.top, client.right, client.bottom}, backgroundColor);
    if (client.top + h < client.bottom)
        dc.FillRect(RECT{client.left, client.top + h, client.left + w, client.bottom}, backgroundColor);
    if (frameRuns) {
        // Only the rows and columns being painted are decoded.
        frameRuns->CopyTo(dc, POINT{client.left, client.top}, RECT{0, 0, w, h}, painting_ ? paintClip_ : client);
        return;
    }
    dc.CopyImage(*frameCache, POINT{client.left, client.top}, RECT{0, 0, w, h});
}

void CDlgBase::DrawControls(Canvas& dc, const RECT& clip) {
    const RECT area = painting_ ? IntersectRect(clip, paintClip_) : clip;
    for (const auto& list : controlLists_) {
        for (const auto& control : list) {
            if (!control || !control->IsDisplayed()) continue;
            if (!RectsIntersect(control->Rect(), area)) continue;
            control->Draw(dc, area);
        }
    }
}

CWndPopup* CDlgBase::OpenPopup(int slot, std::unique_ptr<CWndPopup> menu, POINT at, UINT reportMessage,
                               int ownerParam) {
    if (!menu->Create(GetSafeHwnd(), RECT{at.x, at.y, at.x + 1, at.y + 1}, reportMessage, ownerParam))
        return nullptr;
    CWndPopup* open = menu.release();
    SetPopup(slot, open);
    return open;
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
    pointer_.LosePress();
    if (slot < 0 || slot >= kPopupSlotCount) return;
    PopupSlot& entry = popupSlots_[static_cast<std::size_t>(slot)];
    if (IsWindow(entry.hwnd)) zavrin::PostMessage(entry.hwnd, WM_CLOSE, 0, 0);
    entry = PopupSlot{};
}

LRESULT CDlgBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const PointerRouter::Routed routed = pointer_.Route(message, wParam, lParam); routed.taken) {
        return routed.finished ? 0 : AfterPointerMessage(message, wParam, lParam, routed.outcome);
    }
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            // Painting covers the whole client area, so nothing is erased.
            return TRUE;
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
        default:
            return CDialog::WindowProc(message, wParam, lParam);
    }
}

LRESULT CDlgBase::AfterPointerMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                      PointerRouter::Outcome outcome) {
    switch (message) {
        case WM_LBUTTONDOWN: {
            if (outcome.onTarget) return 0;
            // A press on the background drags the whole window.
            const POINT p = PointFromLParam(lParam);
            PostMessage(WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(p.x, p.y));
            break;
        }
        case WM_LBUTTONDBLCLK:
            if (outcome.onTarget) return 0;
            break;
        case WM_RBUTTONUP:
            if (outcome.onTarget) return outcome.changed ? TRUE : FALSE;
            break;
        default:
            break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
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

PointerTarget* CDlgBase::SweepMove(WPARAM flags, POINT p) {
    CControlBase* found = nullptr;
    for (const auto& list : controlLists_) {
        for (const auto& control : list) {
            if (!control || !control->IsDisplayed() || !control->IsMouseActive()) continue;
            // Every control hears the move, so the ones just left drop their hover look.
            control->OnMouseMove(flags, p);
            if (PtInRect(control->Rect(), p)) found = control.get();
        }
    }
    return found;
}

PointerTarget* CDlgBase::PressTarget(PointerTarget* hovered, POINT p) {
    return hovered != nullptr && PtInRect(hovered->PointerArea(), p) ? hovered : nullptr;
}

PointerTarget* CDlgBase::DoubleClickTarget(PointerTarget* hovered, POINT p, RECT& pressedArea) {
    if (hovered == nullptr) return nullptr;
    // Visibility plays no part in this look-up.
    for (const auto& list : controlLists_) {
        for (const auto& control : list) {
            if (!control || !PtInRect(control->Rect(), p)) continue;
            pressedArea = control->Rect();
            return hovered;
        }
    }
    return nullptr;
}

PointerTarget* CDlgBase::RightClickTarget(PointerTarget* hovered, POINT p) {
    if (hovered == nullptr) return nullptr;
    // Only the common list takes right clicks.
    for (const auto& control : controlLists_[kCommonList]) {
        if (control && PtInRect(control->Rect(), p)) return hovered;
    }
    return nullptr;
}

POINT CDlgBase::LeavePoint(const PointerTarget& hovered, POINT cursor) const {
    // A maximised window can lose the mouse to a window on top while the cursor
    // still lies over the control; it keeps its look then.
    return IsZoomed(GetSafeHwnd()) && PtInRect(hovered.PointerArea(), cursor) ? cursor : kNoPoint;
}

void CDlgBase::Repaint(const RECT& area, bool wholeWindow) {
    if (wholeWindow) {
        Invalidate(TRUE);
    } else {
        InvalidateRect(&area, TRUE);
    }
}

void CDlgBase::TargetPressed(PointerTarget& target) {
    auto& control = static_cast<CControlBase&>(target);
    if (control.TakesKeyboardFocus()) SetKeyboardFocus(&control);
}

}  // namespace zavrin
