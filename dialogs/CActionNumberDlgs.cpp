#include "dialogs/CActionNumberDlgs.h"

#include "dialogs/CAttentionDlg.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
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
    : CNamePromptDlg(parent, captionText, std::move(startText)), action(a) {}

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
    if (!Store(typedText())) return;
    ReleaseControlImages();
    EndDialog(IDOK);
}

BOOL CActionNumberDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_CHAR && msg.hwnd == GetSafeHwnd()) {
        const auto c = static_cast<std::uint32_t>(msg.wParam);
        // Said, then passed on all the same: the box still gets the character.
        if ((c < '0' || c > '9') && c != VK_BACK) Warn(kDigitsOnlyText);
    }
    return CNamePromptDlg::PreTranslateMessage(msg);
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
