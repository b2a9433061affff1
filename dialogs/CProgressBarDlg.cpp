#include "dialogs/CProgressBarDlg.h"

#include "platform/Resources.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kDesignWidth = 429;
constexpr int kBarTop = 66;
constexpr int kBarHeight = 12;
}  // namespace

CProgressBarDlg::CProgressBarDlg(std::string caption, std::string secondText, HWND owner)
    : CSmallDlg(owner, SIZE{429, 140}, "skins\\Frame_progress_nr.bmp", false),
      caption_(std::move(caption)),
      secondText_(std::move(secondText)) {}

BOOL CProgressBarDlg::OnInitDialog() {
    bar_ = LoadImageFile(SkinPath("skins\\Frame_progress_ov.bmp"));
    CSmallDlg::OnInitDialog();
    progress_ = 0;
    Step();
    SetTimer(kStepTimer, kStepMs);
    return TRUE;
}

void CProgressBarDlg::BuildExtras() {
    auto* text = AddText(ControlId::DialogCaption, RECT{10, 3, 164, 23}, kCaptionColor,
                         DT_LEFT | DT_VCENTER | DT_SINGLELINE, caption_);
    text->SetFont(static_cast<int>(18 * uiScale), uiLanguage.uiFontFace);
}

void CProgressBarDlg::Step() {
    if (progress_ >= 100) return;
    drawnProgress_ = progress_;
    const RECT bar = Scaled(0, kBarTop, kDesignWidth, kBarTop + kBarHeight);
    InvalidateRect(&bar, FALSE);
    progress_ = std::min(100, progress_ + 2);
    if (progress_ >= 100) {
        KillTimer(kStepTimer);
        SetTimer(kCloseTimer, kCloseDelayMs);
    }
}

void CProgressBarDlg::DrawExtras(Canvas& dc) {
    if (!bar_ || drawnProgress_ < 0) return;
    const int w = drawnProgress_ * kDesignWidth / 100;
    if (w <= 0) return;
    dc.DrawImage(*bar_, Scaled(0, kBarTop, w, kBarTop + kBarHeight),
                 RECT{0, kBarTop, w, kBarTop + kBarHeight});
}

BOOL CProgressBarDlg::PreTranslateMessage(MSG& msg) {
    // Nothing the user types ends the animation early.
    return msg.message == WM_KEYDOWN ? TRUE : CSmallDlg::PreTranslateMessage(msg);
}

LRESULT CProgressBarDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kStepTimer) {
        Step();
        return 0;
    }
    if (message == WM_TIMER && wParam == kCloseTimer) {
        KillTimer(kCloseTimer);
        bar_.reset();
        ReleaseControlImages();
        EndDialog(IDOK);
        return 0;
    }
    if (message == WM_CLOSE) return 0;
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
