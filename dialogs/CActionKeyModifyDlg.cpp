#include "dialogs/CActionKeyModifyDlg.h"

#include "model/NameTables.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kCaptionText = 221;
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
}  // namespace

CActionKeyModifyDlg::CActionKeyModifyDlg(MacroAction* action, PlatformServices& services,
                                         HWND parent)
    : CKeyCaptureDlg(parent, SIZE{319, 102}, "skins\\Frame_warning.bmp", services),
      action_(action),
      capturedKey_(action->b0) {}

void CActionKeyModifyDlg::BuildExtras() {
    AddText(ControlId::DialogMessage, RECT{10, 4, 280, 24}, UiColor::White,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, languageText(kCaptionText));
    AddCloseButton();
    AddKeyNameBox(RECT{11, 40, 306, 62}, std::string(keyName(capturedKey_)));
    AddButton(ControlId::DialogOk, RECT{85, 72, 150, 95}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{170, 72, 235, 95}, languageText(kCancelText));
}

void CActionKeyModifyDlg::OnCapturedKey(std::uint8_t virtualKey) {
    capturedKey_ = virtualKey;
    ShowKeyName(std::string(keyName(capturedKey_)));
}

void CActionKeyModifyDlg::OnOkButton() {
    action_->b0 = capturedKey_;
    CKeyCaptureDlg::OnOkButton();
}

}  // namespace zavrin
