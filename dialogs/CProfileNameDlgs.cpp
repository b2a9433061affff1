#include "dialogs/CProfileNameDlgs.h"

#include "dialogs/CAttentionDlg.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kAddPrompt = 141;
constexpr int kRenamePrompt = 144;
constexpr int kWarningTitle = 150;
constexpr NamePromptLayout kProfilePromptLayout{
    {429, 140},        "skins\\Frame_common.bmp", {20, 26, 409, 48}, UiColor::TextNormal,
    DT_CENTER | DT_VCENTER | DT_SINGLELINE, {60, 56, 369, 78}, {60, 56, 369, 78}, {140, 100, 205, 123},
    {224, 100, 289, 123}};
}  // namespace

CProfileNameDlg::CProfileNameDlg(HWND owner, int promptText, std::string startText)
    : CNamePromptDlg(owner, promptText, std::move(startText), kProfilePromptLayout) {}

void CProfileNameDlg::OnOkButton() {
    const std::string name = typedText();
    if (name.empty()) {
        CAttentionDlg notice(languageText(kWarningTitle), languageText(kEmptyNameText), GetSafeHwnd());
        notice.DoModal();
        return;
    }
    Accept(name);
    CSmallDlg::OnOkButton();
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
