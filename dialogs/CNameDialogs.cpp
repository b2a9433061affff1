#include "dialogs/CNameDialogs.h"

#include "dialogs/CAttentionDlg.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr int kNewMacroText = 239;
constexpr int kNewFolderText = 243;
constexpr int kRenameText = 238;
constexpr int kFireKeyCaption = 170;
constexpr int kIntervalLabel = 171;
constexpr int kCountLabel = 172;
constexpr int kFireKeyNote = 173;
constexpr int kIntervalWarning = 174;
constexpr int kDigitsWarning = 175;
constexpr int kCountWarning = 176;
constexpr int kWarningTitle = 150;
constexpr int kFireKeyMenuEntry = 26;
constexpr int kMaxByte = 255;
constexpr int kMinInterval = 5;
constexpr std::uint8_t kFireKeyType = 0x30;
}  // namespace

// ---- Name prompts ---------------------------------------------------------------

CNamePromptDlg::CNamePromptDlg(HWND owner, int captionText, std::string startText, const NamePromptLayout& layout)
    : CSmallDlg(owner, layout.size, layout.frame, true),
      layout_(layout),
      captionText_(captionText),
      startText_(std::move(startText)) {}

void CNamePromptDlg::BuildExtras() {
    AddText(ControlId::DialogCaption, layout_.caption, layout_.captionColor, layout_.captionFormat,
            languageText(captionText_));
    AddCloseButton();
    AddEditBox(ControlId::EditBox, layout_.edit, startText_);
    AddButton(ControlId::DialogOk, layout_.ok, languageText(kOkText));
    AddButton(ControlId::DialogCancel, layout_.cancel, languageText(kCancelText));
}

BOOL CNamePromptDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    SetKeyboardFocus(FindControl(ControlId::EditBox));
    return TRUE;
}

void CNamePromptDlg::DrawExtras(Canvas& dc) {
    const RECT& f = layout_.field;
    dc.FillRect(Scaled(f.left, f.top, f.right, f.bottom), UiColor::White);
}

std::string CNamePromptDlg::typedText() const {
    const CControlBase* box = FindControl(ControlId::EditBox);
    return box != nullptr ? box->GetText() : std::string();
}

BOOL CNamePromptDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd()) {
        if (msg.wParam == VK_RETURN) {
            OnOkButton();
            return TRUE;
        }
        if (msg.wParam == VK_ESCAPE) return TRUE;
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

std::optional<std::string> CNamePromptDlg::Ask() {
    if (DoModal() != IDOK) return std::nullopt;
    return typedName_;
}

CMacroKeyOrFolderNameDlg::CMacroKeyOrFolderNameDlg(std::uint8_t mode, HWND owner)
    : CNamePromptDlg(owner, mode == 0 ? kNewMacroText : kNewFolderText, "") {}

void CMacroKeyOrFolderNameDlg::OnOkButton() {
    typedName_ = typedText();
    ReleaseControlImages();
    EndDialog(IDOK);
}

CMacroKeyRenameDlg::CMacroKeyRenameDlg(std::string oldName, HWND parent)
    : CNamePromptDlg(parent, kRenameText, oldName), oldName_(std::move(oldName)) {}

void CMacroKeyRenameDlg::OnOkButton() {
    typedName_ = typedText();
    ReleaseControlImages();
    EndDialog(typedName_ != oldName_ ? IDOK : IDCANCEL);
}

// ---- Fire key ---------------------------------------------------------------------

CFireKeyDlg::CFireKeyDlg(HWND parent)
    : CSmallDlg(parent, SIZE{429, 140}, "skins\\Frame_common.bmp", true) {
    choice.action = KeyAction{kFireKeyType, 0, 0};
}

int CFireKeyDlg::LeadingNumber(const std::string& text) {
    long long value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        // Anything past a few digits is far above every limit; stop growing.
        if (value < 1000000) value = value * 10 + (c - '0');
    }
    return static_cast<int>(value);
}

void CFireKeyDlg::BuildExtras() {
    AddText(ControlId::DialogCaption, RECT{10, 4, 280, 24}, UiColor::White,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, languageText(kFireKeyCaption));
    AddCloseButton();
    const std::uint32_t label = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    AddText(ControlId::DialogCaption, RECT{40, 28, 200, 44}, UiColor::TextNormal, label,
            languageText(kIntervalLabel));
    AddText(ControlId::DialogCaption, RECT{229, 28, 389, 44}, UiColor::TextNormal, label,
            languageText(kCountLabel));
    AddEditBox(kIntervalBox, RECT{60, 46, 180, 64}, "50");
    AddEditBox(kCountBox, RECT{249, 46, 369, 64}, "0");
    AddText(ControlId::DialogCaption, RECT{20, 66, 409, 98}, UiColor::TextNormal,
            DT_CENTER | DT_WORDBREAK, languageText(kFireKeyNote));
    AddButton(ControlId::DialogOk, RECT{132, 106, 197, 129}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{232, 106, 297, 129}, languageText(kCancelText));
}

BOOL CFireKeyDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    SetKeyboardFocus(box(kIntervalBox));
    SetTimer(kCheckTimer, 100);
    return TRUE;
}

CEditBox* CFireKeyDlg::box(std::uint32_t id) const {
    return dynamic_cast<CEditBox*>(FindControl(id));
}

void CFireKeyDlg::Warn(int textId) {
    CAttentionDlg warning(languageText(kWarningTitle), languageText(textId), GetSafeHwnd());
    warning.DoModal();
}

void CFireKeyDlg::CheckLimits() {
    if (CEditBox* interval = box(kIntervalBox);
        interval && LeadingNumber(interval->GetText()) > kMaxByte) {
        interval->SetText("255");
        Warn(kIntervalWarning);
    }
    if (CEditBox* count = box(kCountBox); count && LeadingNumber(count->GetText()) > kMaxByte) {
        count->SetText("255");
        Warn(kCountWarning);
    }
}

void CFireKeyDlg::OnOkButton() {
    const int interval = LeadingNumber(box(kIntervalBox)->GetText());
    if (interval < kMinInterval) {
        Warn(kIntervalWarning);
        return;
    }
    if (GetOwner()) {
        // The timer may not have run since the last key: clamp here as well, so
        // a byte never wraps.
        const int count = std::min(kMaxByte, LeadingNumber(box(kCountBox)->GetText()));
        choice.action =
            KeyAction{kFireKeyType, static_cast<std::uint8_t>(std::min(kMaxByte, interval)),
                      static_cast<std::uint8_t>(count)};
        choice.name = languageText(kFireKeyMenuEntry);
        if (!choice.name.empty() && choice.name.back() == '+') choice.name.pop_back();
        if (!choice.name.empty()) {
            ::zavrin::SendMessage(GetOwner(), kChoiceMessage, ControlId::DialogOk,
                                  reinterpret_cast<LPARAM>(&choice));
        }
    }
    ReleaseControlImages();
    EndDialog(IDOK);
}

BOOL CFireKeyDlg::PreTranslateMessage(MSG& msg) {
    if (msg.hwnd != GetSafeHwnd()) return CSmallDlg::PreTranslateMessage(msg);
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE))
        return TRUE;
    if (msg.message == WM_CHAR) {
        const auto c = static_cast<std::uint32_t>(msg.wParam);
        if ((c < '0' || c > '9') && c != 0x08) {
            // Said, then passed on all the same: the character still reaches the box.
            Warn(kDigitsWarning);
        }
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

LRESULT CFireKeyDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kCheckTimer) {
        CheckLimits();
        return 0;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
