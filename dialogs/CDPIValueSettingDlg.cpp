#include "dialogs/CDPIValueSettingDlg.h"

#include <algorithm>

#include "ui/CEditBox.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticImage.h"
#include "ui/CVerticalSliderControl.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kOkText = 4;
constexpr int kCancelText = 5;
constexpr int kCaptionText = 273;
constexpr int kDpiUnit = 50;
constexpr SIZE kDesignSize{429, 140};
constexpr RECT kEditPlace{164, 34, 264, 54};
constexpr RECT kSliderPlace{84, 72, 345, 85};
constexpr int kSliderStartMargin = 6;
constexpr int kSliderEndMargin = 7;
constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
// Digits beyond this are far above every step; the number stops growing.
constexpr long long kParseCeiling = 100000000;
}  // namespace

CDPIValueSettingDlg::CDPIValueSettingDlg(CDPIValueShowControl& levelBar, int stepCount,
                                         SensorTable stepTable, HWND owner)
    : CSmallDlg(owner, kDesignSize, "skins\\Frame_DPI.bmp", true),
      levelBar_(levelBar),
      stepCount_(std::clamp(stepCount, 0, static_cast<int>(stepTable.size()))),
      table_(stepTable),
      stepIndex_(std::clamp(levelBar.Level(), 0, std::max(0, stepCount_ - 1))) {}

int CDPIValueSettingDlg::ValueOf(int i) const {
    return table_.dpiOfStep(static_cast<std::size_t>(i)).value_or(0);
}

int CDPIValueSettingDlg::StepForText(const std::string& text, const SensorTable& table,
                                     int stepCount) {
    long long typed = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        if (typed < kParseCeiling) typed = typed * 10 + (c - '0');
    }
    if (stepCount <= 1) return 0;
    for (int i = 0; i <= stepCount - 2; ++i) {
        if (table.dpiOfStep(static_cast<std::size_t>(i)).value_or(0) >= typed) return i;
    }
    return stepCount - 1;
}

void CDPIValueSettingDlg::BuildExtras() {
    const HWND self = GetSafeHwnd();
    AddText(ControlId::DialogCaption, RECT{10, 4, 280, 24}, UiColor::White, kLeftCaption,
            languageText(kCaptionText));
    AddCloseButton();
    AddButton(ControlId::DialogOk, RECT{140, 106, 205, 129}, languageText(kOkText));
    AddButton(ControlId::DialogCancel, RECT{224, 106, 289, 129}, languageText(kCancelText));
    const int lowest = stepCount_ > 0 ? ValueOf(0) : 0;
    const int highest = stepCount_ > 0 ? ValueOf(stepCount_ - 1) : 0;
    AddText(ControlId::DialogCaption, RECT{14, 70, 80, 88}, UiColor::TextNormal, kCentred,
            std::to_string(lowest));
    AddText(ControlId::DialogCaption, RECT{349, 70, 415, 88}, UiColor::TextNormal, kCentred,
            std::to_string(highest));
    AddText(ControlId::DialogMessage, RECT{164, 86, 264, 104}, UiColor::TextNormal, kCentred,
            std::to_string(ValueOf(stepIndex_)));
    AddEditBox(ControlId::EditBox, kEditPlace, std::to_string(ValueOf(stepIndex_)));
    auto* track = AddControl(
        kCommonList, std::make_unique<CStaticImage>(self, kTrack,
                                                    Scaled(kSliderPlace.left, kSliderPlace.top,
                                                           kSliderPlace.right, kSliderPlace.bottom),
                                                    "", TRUE, TRUE, FALSE));
    track->LoadImage(SkinPath("skins\\Slider_bar.png"));
    auto* bar = AddControl(
        kCommonList,
        std::make_unique<CSliderControl>(
            self, kSlider,
            Scaled(kSliderPlace.left, kSliderPlace.top, kSliderPlace.right, kSliderPlace.bottom),
            std::max(stepCount_, 1), static_cast<int>(kSliderStartMargin * uiScale),
            static_cast<int>(kSliderEndMargin * uiScale), "", TRUE, TRUE, FALSE));
    bar->LoadThumbImage(SkinPath("skins\\Slider_Circle.png"));
    bar->SetStopIndex(stepIndex_);
}

BOOL CDPIValueSettingDlg::OnInitDialog() {
    CSmallDlg::OnInitDialog();
    if (CEditBox* box = edit()) {
        SetKeyboardFocus(box);
        box->SelectAll();
    }
    return TRUE;
}

void CDPIValueSettingDlg::DrawExtras(Canvas& dc) {
    dc.FillRect(Scaled(kEditPlace.left, kEditPlace.top, kEditPlace.right, kEditPlace.bottom),
                UiColor::White);
}

CSliderControl* CDPIValueSettingDlg::slider() const {
    return dynamic_cast<CSliderControl*>(FindControl(kSlider));
}
CEditBox* CDPIValueSettingDlg::edit() const {
    return dynamic_cast<CEditBox*>(FindControl(ControlId::EditBox));
}

void CDPIValueSettingDlg::ShowStep(int i, bool moveSlider) {
    if (stepCount_ <= 0) return;
    stepIndex_ = std::clamp(i, 0, stepCount_ - 1);
    const std::string value = std::to_string(ValueOf(stepIndex_));
    if (auto* text = dynamic_cast<CStaticText*>(FindControl(ControlId::DialogMessage))) {
        text->ShowText(value);
    }
    if (CEditBox* box = edit()) box->SetText(value);
    if (!moveSlider) return;
    if (CSliderControl* bar = slider()) bar->SetStopIndex(stepIndex_);
}

void CDPIValueSettingDlg::ParseTypedValue() {
    const CEditBox* box = edit();
    ShowStep(StepForText(box != nullptr ? box->GetText() : std::string(), table_, stepCount_),
             true);
}

void CDPIValueSettingDlg::OnOkButton() {
    ParseTypedValue();
    levelBar_.SetLevel(stepIndex_);
    CSmallDlg::OnOkButton();
}

BOOL CDPIValueSettingDlg::PreTranslateMessage(MSG& msg) {
    if (msg.message == WM_KEYDOWN && msg.hwnd == GetSafeHwnd()) {
        const CSliderControl* bar = slider();
        const int stop = bar != nullptr ? bar->StopIndex() : stepIndex_;
        switch (msg.wParam) {
            case VK_RETURN:
                ParseTypedValue();
                return TRUE;
            case VK_ESCAPE:
                return TRUE;
            case VK_LEFT:
                if (stop > 0) ShowStep(stop - 1, true);
                return TRUE;
            case VK_RIGHT:
                if (stop < stepCount_ - 1) ShowStep(stop + 1, true);
                return TRUE;
            default:
                break;
        }
    }
    return CSmallDlg::PreTranslateMessage(msg);
}

LRESULT CDPIValueSettingDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSlider) {
        if (lParam == ControlNotify::Click) {
            if (const CSliderControl* bar = slider()) ShowStep(bar->StopIndex(), false);
        } else if (lParam == ControlNotify::Value) {
            ShowStep(static_cast<int>(wParam), false);
        }
        return 0;
    }
    if (message == WM_MOUSEMOVE) {
        const LRESULT handled = CSmallDlg::WindowProc(message, wParam, lParam);
        // A drag that leaves the slider keeps following the mouse.
        CSliderControl* bar = slider();
        if (wParam == MK_LBUTTON && bar != nullptr && bar->IsDragging()) {
            const POINT p = PointFromLParam(lParam);
            bar->DragTo(p.x, p.y);
            ShowStep(bar->StopIndex(), false);
        }
        return handled;
    }
    return CSmallDlg::WindowProc(message, wParam, lParam);
}

}  // namespace zavrin
