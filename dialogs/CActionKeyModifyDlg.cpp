#include "dialogs/CActionKeyModifyDlg.h"

#include "model/NameTables.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kCaptionText = 221;
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr WPARAM kLastVirtualKey = 0xFF;
}  // namespace

CActionKeyModifyDlg::CActionKeyModifyDlg(MacroAction* action, PlatformServices& services,
                                         HWND parent)
    : CSmallDlg(parent, SIZE{319, 102}, "skins\\Frame_warning.bmp", true),
      action_(action),
      hook_(services),
      capturedKey_(action->b0) {}

CActionKeyModifyDlg::~CActionKeyModifyDlg() {
    hook_.StopHook();
}

void CActionKeyModifyDlg::BuildExtras() {
    AddText(ControlId::DialogMessage, RECT{10, 4, 280, 24}, UiColor::White,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, languageText(kCaptionText));
    AddCloseButton();
    CStaticText* name =
        AddText(kKeyNameText, RECT{11, 40, 306, 62}, UiColor::Black,
                DT_CENTER | DT_VCENTER | DT_SINGLELINE, std::string(keyName(capturedKey_)));
    name->SetFont(TahomaHeight(), "Tahoma");
    AddButton(ControlId::DialogOk, RECT{85, 72, 150, 95}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{170, 72, 235, 95}, languageText(kCancelText));
}

BOOL CActionKeyModifyDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    hook_.StartHook(GetSafeHwnd());
    return TRUE;
}

void CActionKeyModifyDlg::DrawExtras(Canvas& dc) {
    dc.FillRect(Scaled(11, 40, 306, 62), UiColor::White);
}

BOOL CActionKeyModifyDlg::PreTranslateMessage(MSG& msg) {
    // Enter and Escape are keys to capture here, not dialog commands.
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd() &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return TRUE;
    return CSmallDlg::PreTranslateMessage(msg);
}

void CActionKeyModifyDlg::OnHookKey(WPARAM virtualKey, LPARAM lParam) {
    if (CKeyboardHook::isRelease(lParam) || virtualKey > kLastVirtualKey) return;
    capturedKey_ = static_cast<std::uint8_t>(virtualKey);
    if (auto* name = dynamic_cast<CStaticText*>(FindControl(kKeyNameText))) {
        name->displayText = std::string(keyName(capturedKey_));
        name->SetText(name->displayText);
        InvalidateRect(&name->rect, FALSE);
    }
}

void CActionKeyModifyDlg::OnOkButton() {
    action_->b0 = capturedKey_;
    hook_.StopHook();
    CSmallDlg::OnOkButton();
}

void CActionKeyModifyDlg::OnCloseButton() {
    hook_.StopHook();
    CSmallDlg::OnCloseButton();
}

LRESULT CActionKeyModifyDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CKeyboardHook::kMessage) {
        if (hook_.running()) OnHookKey(wParam, lParam);
        return 0;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
