#include "dialogs/CColorPaletteDlg.h"

#include "platform/Resources.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr SIZE kDesignSize{500, 291};
// Where a click picks a colour, in picture pixels (right and bottom excluded).
constexpr RECT kSpectrum{18, 26, 222, 270};
constexpr RECT kSwatches{244, 26, 473, 190};
// The inside of the preview square's outline.
constexpr RECT kPreview{245, 212, 303, 270};
constexpr int kNumberTop = 212;
constexpr int kNumberStep = 21;
constexpr int kNumberFontHeight = 16;

bool InScaled(const RECT& r, POINT p) {
    return PtInRect(CSmallDlg::Scaled(r.left, r.top, r.right, r.bottom), p);
}
}  // namespace

CColorPaletteDlg::CColorPaletteDlg(ProfileRecord& record, Target target, int group, int slot,
                                   HWND owner)
    // The frame is the palette picture itself, a resource rather than a skin file.
    : CSmallDlg(owner, kDesignSize, "", true),
      record_(record),
      target_(target),
      group_(group),
      slot_(slot) {
    if (const std::uint32_t* color = AddressedColor()) chosenColor_ = *color;
}

std::uint32_t* CColorPaletteDlg::AddressedColor() const {
    if (target_ == Target::DpiLevel) {
        const int level = group_ >= 0 && group_ < kDpiLevelCount ? group_ : 0;
        return &record_.dpiLevelIndication[static_cast<std::size_t>(level)];
    }
    if (group_ < 0 || group_ >= kLightingModeCount || slot_ < 0 || slot_ >= kLightingColorCount)
        return nullptr;
    return &record_.lighting1
                .fixedColor[static_cast<std::size_t>(group_)][static_cast<std::size_t>(slot_)];
}

BOOL CColorPaletteDlg::OnInitDialog() {
    picture_ = LoadBitmapResource(kBitmapColorPalette);
    if (picture_) frameSize = SIZE{picture_->width(), picture_->height()};
    CSmallDlg::OnInitDialog();
    SetFrameBitmap(picture_);
    return TRUE;
}

void CColorPaletteDlg::BuildExtras() {
    AddCloseButton();
    AddButton(ControlId::DialogOk, RECT{410, 248, 475, 271}, languageText(kOkText));
    const std::array<std::uint32_t, 3> ids{kRedText, kGreenText, kBlueText};
    for (std::size_t i = 0; i < ids.size(); ++i) {
        const int top = kNumberTop + kNumberStep * static_cast<int>(i);
        CStaticText* text = AddText(ids[i], RECT{343, top, 402, top + 16}, UiColor::TextNormal,
                                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, "");
        text->SetFont(static_cast<int>(kNumberFontHeight * uiScale), "Tahoma");
    }
    ShowNumbers();
}

void CColorPaletteDlg::ShowNumbers() {
    const std::array<std::pair<std::uint32_t, int>, 3> parts{
        {{kRedText, GetRValue(chosenColor_)},
         {kGreenText, GetGValue(chosenColor_)},
         {kBlueText, GetBValue(chosenColor_)}}};
    for (const auto& [id, value] : parts) {
        if (auto* text = dynamic_cast<CStaticText*>(FindControl(id))) {
            text->ShowText(std::to_string(value));
        }
    }
}

void CColorPaletteDlg::DrawWindow(Canvas& dc, const RECT& client) {
    DrawFrame(dc, client);
    if (picture_) {
        const RECT whole = Scaled(0, 0, picture_->width(), picture_->height());
        dc.DrawImage(*picture_, whole, picture_->bounds(),
                     ImageDrawOptions{255, Interpolation::Nearest, BlendMode::Copy});
    }
    DrawControls(dc, client);
    dc.FillRect(Scaled(kPreview.left, kPreview.top, kPreview.right, kPreview.bottom), chosenColor_);
}

void CColorPaletteDlg::PickAt(POINT p) {
    if (!InScaled(kSpectrum, p) && !InScaled(kSwatches, p)) return;
    // The colour is read from what the window shows, as the eye sees it.
    const Image* surface = GetWindowSurface(GetSafeHwnd());
    if (surface == nullptr) return;
    const COLORREF color = surface->colorAt(p.x, p.y);
    // Between the swatches lies the picture's background: no colour there.
    if (color == kPictureBackground) return;
    chosenColor_ = color;
    ShowNumbers();
    Invalidate(FALSE);
}

void CColorPaletteDlg::Confirm() {
    if (std::uint32_t* color = AddressedColor()) *color = chosenColor_;
    CSmallDlg::OnOkButton();
}

void CColorPaletteDlg::OnOkButton() {
    Confirm();
}

BOOL CColorPaletteDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd()) {
        if (msg.wParam == VK_RETURN) {
            Confirm();
            return TRUE;
        }
        if (msg.wParam == VK_ESCAPE) return TRUE;
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

LRESULT CColorPaletteDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONDOWN) PickAt(PointFromLParam(lParam));
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
