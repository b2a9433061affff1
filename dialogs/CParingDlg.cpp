#include "dialogs/CParingDlg.h"

#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kPairText = 277;
constexpr int kWaitTexts[3] = {278, 279, 280};
constexpr int kFailedText = 281;
constexpr int kPairedText = 282;
constexpr int kExplanationText = 283;
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr int kResetWarningText = 140;
constexpr COLORREF kGrey = 0xB4B4B4;
}  // namespace

CParingDlg::CParingDlg(HWND owner, std::function<bool()> isOnline)
    : CSmallDlg(owner, SIZE{429, 200}, "skins\\Frame_pairing.bmp", true),
      isOnline_(std::move(isOnline)) {}

void CParingDlg::BuildExtras() {
    AddCloseButton();
    AddText(ControlId::DialogText, RECT{30, 40, 399, 120}, kGrey, DT_CENTER | DT_WORDBREAK,
            languageText(kExplanationText));
    // The pair button is also the state display, so it is wider than OK.
    AddButton(ControlId::DialogOk, RECT{110, 150, 240, 173}, languageText(kPairText));
    AddButton(ControlId::DialogCancel, RECT{254, 150, 319, 173}, languageText(kCancelText));
}

void CParingDlg::SetPairText(int textId) {
    if (CControlBase* button = FindControl(ControlId::DialogOk))
        button->SetText(languageText(textId));
}

void CParingDlg::PairAction() {
    if (pairingState_ != Ready && pairingState_ != Failed) return;
    // After a failure the wait starts again without a second pairing request:
    // the receiver is still in pairing mode.
    const bool request = pairingState_ == Ready;
    pairingSeconds_ = 0;
    pairingState_ = Pairing;
    SetPairText(kWaitTexts[0]);
    if (request) ::zavrin::SendMessage(GetOwner(), kPairRequest, 0, 0);
    SetTimer(kTickTimer, 1000);
}

void CParingDlg::Tick() {
    if (isOnline_ && isOnline_()) {
        SetPairText(kPairedText);
        pairingState_ = Paired;
        KillTimer(kTickTimer);
        return;
    }
    ++pairingSeconds_;
    if (pairingSeconds_ > kWaitSeconds) {
        SetPairText(kFailedText);
        pairingState_ = Failed;
        KillTimer(kTickTimer);
        return;
    }
    SetPairText(kWaitTexts[pairingSeconds_ % 3]);
}

BOOL CParingDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_RETURN) return TRUE;
        if (msg.wParam == VK_ESCAPE) {
            OnCloseButton();
            return TRUE;
        }
        if (msg.wParam == VK_SPACE) {
            PairAction();
            return TRUE;
        }
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

LRESULT CParingDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == ControlId::DialogOk) {
        if (lParam == ControlNotify::Click) PairAction();
        return 0;
    }
    if (message == WM_TIMER && wParam == kTickTimer) {
        Tick();
        return 0;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

CFirmwareResetDlg::CFirmwareResetDlg(HWND owner)
    : CSmallDlg(owner, SIZE{429, 140}, "skins\\Frame_common.bmp", true) {}

void CFirmwareResetDlg::BuildExtras() {
    AddCloseButton();
    AddText(ControlId::DialogText, RECT{30, 30, 399, 90}, kGrey, DT_CENTER | DT_WORDBREAK,
            languageText(kResetWarningText));
    AddButton(ControlId::DialogOk, RECT{132, 100, 197, 123}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{232, 100, 297, 123}, languageText(kCancelText));
}

BOOL CFirmwareResetDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN) {
        if (msg.wParam == VK_RETURN) {
            OnOkButton();
            return TRUE;
        }
        if (msg.wParam == VK_ESCAPE) return TRUE;
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

}  // namespace zavrin
