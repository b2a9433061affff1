#include "pages/SettingsPage.h"

#include "ui/CCheckButton.h"
#include "ui/CRadioButton.h"
#include "ui/CSliderControl.h"
#include "ui/CStaticImage.h"
#include "ui/CStaticText.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kThumbHalfWidth = 6;
}  // namespace

void SettingsPage::LayOut(Section section, const RECT& content) {
    for (const Placement& p : places_) {
        if (p.section != section) continue;
        const RECT r =
            PageHost::Scaled(content.left + p.place.left, content.top + p.place.top,
                               content.left + p.place.right, content.top + p.place.bottom);
        p.control->SetRect(r.left, r.top, r.right, r.bottom);
    }
}

ProfileRecord& SettingsPage::profile() {
    return window_.model().store.currentProfile();
}

void SettingsPage::edited(ProfileField field) {
    window_.sync().edited(field);
}

void SettingsPage::editing(ProfileField field) {
    window_.sync().editing(field);
}

CStaticText* SettingsPage::AddSectionText(Section section, std::uint32_t id, const RECT& place,
                                          const std::string& text, std::uint32_t format) {
    auto* control =
        AddToSection(section, place,
                     std::make_unique<CStaticText>(hwnd(), id, RECT{}, UiColor::TextNormal, format,
                                                   text, TRUE, TRUE, FALSE));
    control->ShowCaption();
    return control;
}

CCheckButton* SettingsPage::AddCheckBox(Section section, std::uint32_t id, const RECT& place,
                                        BOOL visible) {
    auto* box = AddToSection(
        section, place,
        std::make_unique<CCheckButton>(hwnd(), id, RECT{}, "", DT_CENTER, TRUE, visible, FALSE));
    box->LoadLooks("skins\\check");
    return box;
}

CRadioButton* SettingsPage::AddRadio(Section section, std::uint32_t id, const RECT& place,
                                     const std::string& picture, BOOL visible) {
    auto* radio =
        AddToSection(section, place,
                     std::make_unique<CRadioButton>(hwnd(), id, RECT{}, "", TRUE, visible, FALSE,
                                                    window_.radios()));
    radio->LoadLooks("skins\\" + picture);
    return radio;
}

CSliderControl* SettingsPage::AddSlider(Section section, std::uint32_t id, std::uint32_t trackId,
                                        const RECT& place, int stops, const std::string& track,
                                        BOOL visible) {
    auto* bar = AddToSection(
        section, place,
        std::make_unique<CStaticImage>(hwnd(), trackId, RECT{}, "", TRUE, visible, FALSE));
    bar->LoadImage(SkinPath("skins\\" + track));
    // The thumb's half width keeps the end stops on the track.
    const int margin = PageHost::Scale(kThumbHalfWidth);
    auto* slider = AddToSection(section, place,
                                std::make_unique<CSliderControl>(hwnd(), id, RECT{}, stops, margin,
                                                                 margin, "", TRUE, visible, FALSE));
    slider->LoadThumbImage(SkinPath("skins\\Slider_Circle.png"));
    return slider;
}

void SettingsPage::NoteDrag(ProfileField field) {
    editing(field);
    dragField_ = field;
}

void SettingsPage::WatchDragEnd(UINT message, WPARAM wParam) {
    if (!dragField_) return;
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONUP) return;
    if ((wParam & MK_LBUTTON) != 0) return;
    edited(*dragField_);
    dragField_.reset();
}

void SettingsPage::setVisible(CControlBase* control, bool visible) {
    if (control == nullptr) return;
    const BOOL value = visible ? TRUE : FALSE;
    if (control->IsVisible() == value) return;
    control->SetVisible(value);
    repaint(control);
}

void SettingsPage::repaint(const CControlBase* control) {
    if (control != nullptr) window_.InvalidateRect(&control->Rect(), FALSE);
}

HWND SettingsPage::hwnd() const {
    return window_.GetSafeHwnd();
}

void SetShownText(CStaticText* text, const std::string& value) {
    if (text != nullptr) text->ShowText(value);
}

}  // namespace zavrin
