#include "dialogs/CKeyCaptureDlg.h"

namespace zavrin {

namespace {
constexpr WPARAM kLastVirtualKey = 0xFF;
}  // namespace

CKeyCaptureDlg::CKeyCaptureDlg(HWND parent, SIZE designSize, std::string framePicture,
                               PlatformServices& services)
    : CSmallDlg(parent, designSize, std::move(framePicture), true), hook_(services) {}

CKeyCaptureDlg::~CKeyCaptureDlg() {
    hook_.StopHook();
}

BOOL CKeyCaptureDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    hook_.StartHook(GetSafeHwnd());
    return TRUE;
}

BOOL CKeyCaptureDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd() &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return TRUE;
    return CSmallDlg::PreTranslateMessage(msg);
}

void CKeyCaptureDlg::OnOkButton() {
    hook_.StopHook();
    CSmallDlg::OnOkButton();
}

void CKeyCaptureDlg::OnCloseButton() {
    hook_.StopHook();
    CSmallDlg::OnCloseButton();
}

void CKeyCaptureDlg::AddKeyNameBox(const RECT& designRect, const std::string& name) {
    keyNameBox_ = designRect;
    keyNameText_ = AddText(kKeyNameText, designRect, UiColor::Black, DT_CENTER | DT_VCENTER | DT_SINGLELINE, name);
    keyNameText_->SetFont(TahomaHeight(), "Tahoma");
}

void CKeyCaptureDlg::ShowKeyName(const std::string& name) {
    if (keyNameText_ != nullptr) keyNameText_->ShowText(name);
}

void CKeyCaptureDlg::DrawExtras(Canvas& dc) {
    if (keyNameText_ == nullptr) return;
    const RECT& r = keyNameBox_;
    dc.FillRect(Scaled(r.left, r.top, r.right, r.bottom), UiColor::White);
}

LRESULT CKeyCaptureDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (const std::optional<CKeyboardHook::Key> key = hook_.KeyFrom(message, wParam, lParam)) {
        if (!key->release && key->virtualKey <= kLastVirtualKey)
            OnCapturedKey(static_cast<std::uint8_t>(key->virtualKey));
        return 0;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
