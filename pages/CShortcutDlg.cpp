#include "pages/CShortcutDlg.h"

#include <array>

#include "device/KeyCodeTable.h"
#include "model/KeyAction.h"
#include "model/NameTables.h"
#include "ui/CCheckButton.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kTitleText = 180;
constexpr int kOkText = 4;
constexpr int kCancelText = 5;

// The boxes in the order their names join the shortcut's name.
struct ModifierBox {
    std::uint32_t id;
    const char* caption;
    std::uint8_t bit;
    int left;
};
constexpr std::array<ModifierBox, 4> kModifierBoxes{{
    {CShortcutDlg::kCtrlBox, "Ctrl", KeyModifier::Ctrl, 40},
    {CShortcutDlg::kShiftBox, "Shift", KeyModifier::Shift, 130},
    {CShortcutDlg::kAltBox, "Alt", KeyModifier::Alt, 220},
    {CShortcutDlg::kWinBox, "Win", KeyModifier::Win, 310},
}};

// Modifier keys are chosen with the boxes, never captured as the key.
constexpr std::uint8_t kLeftWindowsKey = 0x5B;
constexpr std::uint8_t kRightWindowsKey = 0x5C;
bool IsModifierKey(std::uint8_t vk) {
    return vk == kLeftWindowsKey || vk == kRightWindowsKey || (vk >= VK_LSHIFT && vk <= VK_RMENU);
}
}  // namespace

CShortcutDlg::CShortcutDlg(PlatformServices& services, HWND parent)
    : CKeyCaptureDlg(parent, SIZE{429, 140}, "skins\\Frame_common.bmp", services) {}

namespace {
CCheckButton* MakeCheckBox(CDlgBase& dialog, std::uint32_t id, const RECT& rect) {
    auto* box = dialog.AddControl(CDlgBase::kCommonList,
                                  std::make_unique<CCheckButton>(dialog.GetSafeHwnd(), id, rect, "",
                                                                 DT_LEFT, TRUE, TRUE, FALSE));
    box->LoadLooks("skins\\check");
    return box;
}
}  // namespace

void CShortcutDlg::BuildExtras() {
    AddText(ControlId::DialogMessage, RECT{10, 4, 280, 24}, UiColor::White,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, languageText(kTitleText));
    AddCloseButton();
    // The "no modifiers" box exists for the rule of OK but is not offered.
    MakeCheckBox(*this, kNoModifierBox, Scaled(20, 42, 31, 53))->SetShown(FALSE);
    for (const ModifierBox& m : kModifierBoxes) {
        MakeCheckBox(*this, m.id, Scaled(m.left, 42, m.left + 11, 53));
        CStaticText* caption =
            AddText(ControlId::DialogMessage, RECT{m.left + 16, 38, m.left + 80, 57},
                    UiColor::TextNormal, DT_LEFT | DT_VCENTER | DT_SINGLELINE, m.caption);
        caption->SetFont(TahomaHeight(), "Tahoma");
    }
    AddKeyNameBox(RECT{20, 66, 409, 90}, "");
    AddButton(ControlId::DialogOk, RECT{132, 106, 197, 129}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{232, 106, 297, 129}, languageText(kCancelText));
}

void CShortcutDlg::OnCapturedKey(std::uint8_t vk) {
    if (IsModifierKey(vk)) return;
    keyName_ = std::string(keyName(vk));
    usage_ = deviceKeyCode(vk);
    ShowKeyName(keyName_);
}

bool CShortcutDlg::Checked(std::uint32_t id) const {
    const auto* box = dynamic_cast<const CCheckButton*>(FindControl(id));
    return box != nullptr && box->IsChecked();
}

void CShortcutDlg::EnableModifierBoxes(bool enabled) {
    for (const ModifierBox& m : kModifierBoxes) {
        if (auto* box = dynamic_cast<CCheckButton*>(FindControl(m.id))) {
            box->SetDisabled(!enabled);
        }
    }
}

void CShortcutDlg::OnShortcutOk() {
    ButtonChoice choice;
    choice.action = KeyAction{ActionType::Keyboard, 0, usage_};
    if (!Checked(kNoModifierBox)) {
        for (const ModifierBox& m : kModifierBoxes) {
            if (!Checked(m.id)) continue;
            choice.name += std::string(m.caption) + "+";
            choice.action.value1 = static_cast<std::uint8_t>(choice.action.value1 | m.bit);
        }
    }
    choice.name += keyName_;
    if (choice.name.empty()) return;
    if (choice.name.back() == '+') choice.name.pop_back();
    result_ = choice;
}

void CShortcutDlg::OnOkButton() {
    OnShortcutOk();
    StopCapture();
    ReleaseControlImages();
    EndDialog(result_ ? IDOK : IDCANCEL);
}

LRESULT CShortcutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kNoModifierBox && lParam == ControlNotify::Click) {
        EnableModifierBoxes(!Checked(kNoModifierBox));
        return 0;
    }
    return CKeyCaptureDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
