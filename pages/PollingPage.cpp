#include "pages/PollingPage.h"

#include "model/NameTables.h"
#include "model/SettingRanges.h"
#include "ui/CComboButton.h"
#include "ui/CRadioButton.h"
#include "ui/CStaticText.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr std::array<const char*, kPollingRateCount> kRateCaptions{
    "125Hz", "250Hz", "500Hz", "1000Hz", "2000Hz", "4000Hz", "8000Hz"};
constexpr std::array<const char*, 4> kFourRatePictures{"125hz", "250hz", "500hz", "1000hz"};
constexpr int kFirstFourRateText = 261;
constexpr std::uint32_t kSevenRateMask = 0x7F;
constexpr std::uint32_t kFourRateShift = 16;
constexpr std::uint32_t kFourRateMask = 0xFu << kFourRateShift;
constexpr std::uint32_t kLeftCaption = DT_LEFT | DT_VCENTER | DT_SINGLELINE;
constexpr std::uint32_t kCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kRowStep = 22;

std::uint32_t Id(std::uint32_t first, int i) {
    return first + static_cast<std::uint32_t>(i);
}

}  // namespace

int PollingPage::SevenRateIndex(std::uint32_t selection) {
    for (int i = 0; i < kSevenRates - 1; ++i) {
        if ((selection & (1u << i)) != 0) return i;
    }
    return kSevenRates - 1;
}

int PollingPage::FourRateIndex(std::uint32_t selection) {
    for (int i = 0; i < kFourRates - 1; ++i) {
        if ((selection & (1u << (kFourRateShift + i))) != 0) return i;
    }
    return kFourRates - 1;
}

void PollingPage::Build(PageHost&) {
    const HWND self = hwnd();
    for (int i = 0; i < kSevenRates; ++i) {
        const int top = 10 + kRowStep * i;
        AddRadio(Section::PollingRate, Id(kFirstSevenRate, i), RECT{40, top, 55, top + 15}, "radio",
                 TRUE);
        AddSectionText(Section::PollingRate, Id(kFirstSevenCaption, i),
                       RECT{64, top - 2, 200, top + 17}, kRateCaptions[static_cast<std::size_t>(i)],
                       kLeftCaption);
    }
    for (int i = 0; i < kFourRates; ++i) {
        const int left = 40 + 110 * (i % 2);
        const int top = 20 + 60 * (i / 2);
        auto* button = AddToSection(Section::PollingRate, RECT{left, top, left + 52, top + 24},
                                    std::make_unique<CRadioButton>(self, Id(kFirstFourRate, i), RECT{}, "",
                                                                   TRUE, FALSE, FALSE, window_.radios()));
        const std::string picture = kFourRatePictures[static_cast<std::size_t>(i)];
        // The rate buttons light up with their selected picture.
        button->LoadLook({Look::Normal}, SkinPath("skins\\" + picture + "_nr.png"));
        button->LoadLook({Look::Hover, Look::Checked}, SkinPath("skins\\" + picture + "_dn.png"));
        AddSectionText(Section::PollingRate, Id(kFirstFourCaption, i),
                       RECT{left - 10, top + 26, left + 62, top + 44},
                       languageText(kFirstFourRateText + i), kCentred)
            ->SetVisible(FALSE);
    }
    // The rate box has no place on screen; it keeps the rate's name.
    auto* box =
        AddToSection(Section::PollingRate, RECT{72, 156, 189, 176},
                     std::make_unique<CComboButton>(self, ComboNotify::PollingRate, kRateBox,
                                                    RECT{}, "", kCentred, TRUE, FALSE, FALSE, ""));
    box->LoadLooks("skins\\combo3");
}

void PollingPage::RefreshFromProfile() {
    const ProfileRecord& p = profile();
    if (auto* box = find<CComboButton>(kRateBox)) box->SetValueText(p.pollingRateName);
    ShowRateControls(window_.pollingCapability(), p.pollingRateValue[0]);
}

void PollingPage::ShowRateControls(int capability, int index) {
    const bool sevenGroup = capability == RateClass::UpTo8000 || capability == RateClass::UpTo4000;
    const int shownRates = capability == RateClass::UpTo8000 ? kSevenRates : kSevenRates - 1;
    if (sevenGroup) {
        const int selected = std::clamp(index, 0, shownRates - 1);
        window_.radios().SetBits(kSevenRateMask, 1u << selected);
    } else {
        const int selected = std::clamp(index, 0, kFourRates - 1);
        window_.radios().SetBits(kFourRateMask, 1u << (kFourRateShift + selected));
    }
    for (int i = 0; i < kSevenRates; ++i) {
        const bool shown = sevenGroup && i < shownRates;
        setVisible(window_.FindControl(Id(kFirstSevenRate, i)), shown);
        setVisible(window_.FindControl(Id(kFirstSevenCaption, i)), shown);
    }
    const int fourSelected = FourRateIndex(window_.radios().Bits());
    for (int i = 0; i < kFourRates; ++i) {
        setVisible(window_.FindControl(Id(kFirstFourRate, i)), !sevenGroup);
        // Only the chosen rate is named under the pictures.
        setVisible(window_.FindControl(Id(kFirstFourCaption, i)), !sevenGroup && i == fourSelected);
    }
    window_.Invalidate(FALSE);
}

bool PollingPage::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message >= kFirstSevenRate && message < Id(kFirstSevenRate, kSevenRates)) {
        if (lParam == ControlNotify::Click) OnRateChosen(SevenRateIndex(window_.radios().Bits()));
        return true;
    }
    if (message >= kFirstFourRate && message < Id(kFirstFourRate, kFourRates)) {
        if (lParam == ControlNotify::Click) OnRateChosen(FourRateIndex(window_.radios().Bits()));
        return true;
    }
    return false;
}

void PollingPage::OnRateChosen(int index) {
    ProfileRecord& p = profile();
    p.pollingRateName = kPollingRateProfileNames[static_cast<std::size_t>(index)];
    p.pollingRateValue = {static_cast<std::uint8_t>(index), 0, 0};
    edited(ProfileField::PollingRate);
    window_.RefreshFromProfile();
}

}  // namespace zavrin
