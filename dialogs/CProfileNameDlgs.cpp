#include "dialogs/CProfileNameDlgs.h"

#include "dialogs/CAttentionDlg.h"
#include "ui/CEditBox.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr int kAddPrompt = 141;
constexpr int kRenamePrompt = 144;
constexpr int kWarningTitle = 150;
constexpr SIZE kDesignSize{429, 140};
constexpr RECT kEditPlace{60, 56, 369, 78};
}  // namespace

CProfileNameDlg::CProfileNameDlg(HWND owner, int promptText, std::string startText)
    : CSmallDlg(owner, kDesignSize, "skins\\Frame_common.bmp", true),
      promptText_(promptText),
      startText_(std::move(startText)) {}

void CProfileNameDlg::BuildExtras() {
    AddCloseButton();
    AddText(ControlId::DialogCaption, RECT{20, 26, 409, 48}, UiColor::TextNormal,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE, languageText(promptText_));
    AddEditBox(ControlId::EditBox, kEditPlace, startText_);
    AddButton(ControlId::DialogOk, RECT{140, 100, 205, 123}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{224, 100, 289, 123}, languageText(kCancelText));
}

BOOL CProfileNameDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    SetKeyboardFocus(FindControl(ControlId::EditBox));
    return TRUE;
}

void CProfileNameDlg::DrawExtras(Canvas& dc) {
    dc.FillRect(Scaled(kEditPlace.left, kEditPlace.top, kEditPlace.right, kEditPlace.bottom),
                UiColor::White);
}

void CProfileNameDlg::OnOkButton() {
    const CControlBase* box = FindControl(ControlId::EditBox);
    const std::string name = box != nullptr ? box->GetText() : std::string();
    if (name.empty()) {
        CAttentionDlg notice(languageText(kWarningTitle), languageText(kEmptyNameText),
                             GetSafeHwnd());
        notice.DoModal();
        return;
    }
    Accept(name);
    CSmallDlg::OnOkButton();
}

BOOL CProfileNameDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd()) {
        if (msg.wParam == VK_RETURN) {
            OnOkButton();
            return TRUE;
        }
        if (msg.wParam == VK_ESCAPE) return TRUE;
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

CAddProfileDlg::CAddProfileDlg(ProfileStore& store, int slot, HWND owner)
    : CProfileNameDlg(owner, kAddPrompt, ""), store_(store), slot_(slot) {}

void CAddProfileDlg::Accept(const std::string& name) {
    store_.settings.setProfileShowCount(store_.settings.profileShowCount() + 1);
    store_.resetProfileAt(slot_);
    if (slot_ >= 0 && slot_ < kProfileCount)
        store_.profiles[static_cast<std::size_t>(slot_)].settings[Setting::ProfileName].value =
            name;
}

CEditProfileDlg::CEditProfileDlg(std::string& nameSetting, HWND owner)
    : CProfileNameDlg(owner, kRenamePrompt, nameSetting), nameSetting_(nameSetting) {}

void CEditProfileDlg::Accept(const std::string& name) {
    nameSetting_ = name;
}

}  // namespace zavrin
