#include "dialogs/CActionNumberDlgs.h"

#include "dialogs/CAttentionDlg.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr int kWarningTitle = 150;
constexpr int kDigitsOnlyText = 175;
constexpr int kDelayCaption = 220;
constexpr int kFirstMoveCaption = 222;  // 222..225: left, right, up, down
constexpr std::uint8_t kMoveXCode = 229;
constexpr std::uint8_t kMoveYCode = 230;

std::string StartDistance(const MacroAction& action, int direction) {
    int distance = static_cast<std::int8_t>(action.b3);
    if (direction == CActionXYModifyDlg::kLeft || direction == CActionXYModifyDlg::kUp)
        distance = -distance;
    return std::to_string(distance);
}

int MoveCaption(int direction) {
    if (direction >= CActionXYModifyDlg::kLeft && direction <= CActionXYModifyDlg::kUp)
        return kFirstMoveCaption + direction - CActionXYModifyDlg::kLeft;
    return kFirstMoveCaption + 3;
}
}  // namespace

CActionNumberDlg::CActionNumberDlg(MacroAction* a, HWND parent, int captionText,
                                   std::string startText)
    : CSmallDlg(parent, SIZE{319, 102}, "skins\\Frame_warning.bmp", true),
      action(a),
      captionText_(captionText),
      startText_(std::move(startText)) {}

void CActionNumberDlg::BuildExtras() {
    AddText(ControlId::DialogCaption, RECT{10, 4, 280, 24}, UiColor::White,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, languageText(captionText_));
    AddCloseButton();
    AddEditBox(ControlId::EditBox, RECT{13, 42, 304, 60}, startText_);
    AddButton(ControlId::DialogOk, RECT{85, 72, 150, 95}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{170, 72, 235, 95}, languageText(kCancelText));
}

BOOL CActionNumberDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    SetKeyboardFocus(FindControl(ControlId::EditBox));
    return TRUE;
}

std::optional<std::uint32_t> CActionNumberDlg::ReadNumber(const std::string& text,
                                                          std::uint32_t limit) {
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        // Stop growing once past the limit so that long texts cannot overflow.
        if (value <= limit) value = value * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, limit));
}

void CActionNumberDlg::Warn(int textId) {
    CAttentionDlg warning(languageText(kWarningTitle), languageText(textId), GetSafeHwnd());
    warning.DoModal();
}

void CActionNumberDlg::OnOkButton() {
    const CControlBase* box = FindControl(ControlId::EditBox);
    if (!Store(box != nullptr ? box->GetText() : std::string())) return;
    CSmallDlg::OnOkButton();
}

BOOL CActionNumberDlg::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd != GetSafeHwnd()) return CSmallDlg::PreTranslateMessage(msg);
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_RETURN) {
            OnOkButton();
            return TRUE;
        }
        if (msg.wParam == VK_ESCAPE) return TRUE;
    }
    if (msg.message == WM_CHAR) {
        const auto c = static_cast<std::uint32_t>(msg.wParam);
        // Said, then passed on all the same: the box still gets the character.
        if ((c < '0' || c > '9') && c != VK_BACK) Warn(kDigitsOnlyText);
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

CActionTimeModifyDlg::CActionTimeModifyDlg(MacroAction* a, HWND parent)
    : CActionNumberDlg(a, parent, kDelayCaption, std::to_string(delayMilliseconds(*a))) {}

bool CActionTimeModifyDlg::Store(const std::string& text) {
    const auto milliseconds = ReadNumber(text, kMaxDelay);
    if (!milliseconds) {
        Warn(kDigitsOnlyText);
        return false;
    }
    *action = makeDelay(*milliseconds);
    return true;
}

CActionXYModifyDlg::CActionXYModifyDlg(MacroAction* a, int direction, HWND parent)
    : CActionNumberDlg(a, parent, MoveCaption(direction), StartDistance(*a, direction)),
      direction_(direction) {}

bool CActionXYModifyDlg::Store(const std::string& text) {
    const int distance =
        static_cast<int>(std::max<std::uint32_t>(1, ReadNumber(text, kMaxDistance).value_or(1)));
    const bool negative = direction_ == kLeft || direction_ == kUp;
    const bool horizontal = direction_ == kLeft || direction_ == kRight;
    action->b0 = horizontal ? kMoveXCode : kMoveYCode;
    action->b2 = 0;
    action->b3 = static_cast<std::uint8_t>(negative ? -distance : distance);
    return true;
}

}  // namespace zavrin
