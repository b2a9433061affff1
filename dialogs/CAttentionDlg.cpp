#include "dialogs/CAttentionDlg.h"

#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
}  // namespace

CAttentionDlg::CAttentionDlg(std::string, std::string message, HWND parent, int extraHeight)
    : CSmallDlg(parent, SIZE{319, 102 + extraHeight},
                extraHeight == kLongMessageHeight ? "skins\\Frame_notice.bmp" : "skins\\Frame_warning.bmp", true),
      message_(std::move(message)) {}

HWND CAttentionDlg::ShowNotice(const std::string& message, int extraHeight) {
    auto* notice = new CAttentionDlg("", message, HWND{}, extraHeight);
    notice->selfOwned_ = true;
    if (!notice->Create()) {
        delete notice;
        return HWND{};
    }
    notice->SetWindowPos(HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return notice->GetSafeHwnd();
}

void CAttentionDlg::BuildExtras() {
    AddText(ControlId::DialogCaption, RECT{10, 4, 280, 24}, kTitleColor,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE, "");
    const int extra = static_cast<int>(designSize.cy) - 102;
    AddText(ControlId::DialogMessage, RECT{14, 28, 305, 68 + extra}, UiColor::TextNormal,
            DT_CENTER | DT_VCENTER | DT_WORDBREAK | DT_EDITCONTROL, message_);
    AddCloseButton();
    AddButton(ControlId::DialogOk, RECT{127, 72 + extra, 192, 95 + extra}, languageText(kOkText));
}

void CAttentionDlg::Finish(int result, bool releaseImages) {
    if (releaseImages) ReleaseControlImages();
    if (selfOwned_) {
        DestroyWindow();  // PostNcDestroy frees the object
        return;
    }
    EndDialog(result);
}

void CAttentionDlg::OnOK() {
    Finish(IDOK, false);
}
void CAttentionDlg::OnCancel() {
    Finish(IDCANCEL, false);
}
void CAttentionDlg::OnOkButton() {
    Finish(IDOK, true);
}
void CAttentionDlg::OnCloseButton() {
    Finish(IDCANCEL, true);
}

void CAttentionDlg::PostNcDestroy() {
    if (selfOwned_) delete this;
}

}  // namespace zavrin
