#include "pages/SectionsPage.h"

#include "device/SensorTables.h"
#include "pages/LeftColumn.h"
#include "pages/PageHost.h"
#include "ui/CCheckButton.h"
#include "ui/CDlgBase.h"
#include "ui/CImageButton.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kPairText = 277;
constexpr int kPairButtonWidth = 162;
constexpr int kPairButtonHeight = 24;
constexpr int kPairButtonTop = 30;

}  // namespace

void SectionsPage::Build(PageHost&) {
    const HWND self = window_.GetSafeHwnd();
    const bool liftOffSelectable = sensorTable(window_.model().store.sensorId()).size() > 0;
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        BOOL visible = TRUE;
        if (info.section == Section::Debounce) visible = FALSE;
        if (info.section == Section::LiftOff && !liftOffSelectable) visible = FALSE;
        auto* h =
            window_.AddControl(CDlgBase::kCommonList,
                               std::make_unique<CCheckButton>(
                                   self, info.headerId, PageHost::Scaled(846, 37, 1108, 62),
                                   languageText(info.labelText), kCaption, TRUE, visible, FALSE));
        h->LoadLook({Look::Normal}, SkinPath("skins\\header_nr.png"));
        // An open section keeps its header lit.
        h->LoadLook({Look::Hover, Look::Checked}, SkinPath("skins\\header_ov.png"));
        h->SetRepaintsWholeWindow(true);
        headers_[i] = h;
        state_.headerShown[i] = visible != FALSE;
        // The column starts with DPI and lighting open.
        state_.open[i] = info.section == Section::Dpi || info.section == Section::Lighting;
        h->SetChecked(state_.open[i]);
    }
    auto* pair = window_.AddControl(
        SectionList(Section::Pairing),
        std::make_unique<CImageButton>(self, ControlId::Pairing, RECT{}, languageText(kPairText),
                                       kCaption, TRUE, TRUE, FALSE));
    pair->LoadLooks("skins\\button1");
}

void SectionsPage::LayOut(Section section, const RECT& content) {
    if (section != Section::Pairing) return;
    if (CControlBase* pair = window_.FindControl(ControlId::Pairing)) {
        const int left = content.left + (kColumnWidth - kPairButtonWidth) / 2;
        const int top = content.top + kPairButtonTop;
        const RECT r =
            PageHost::Scaled(left, top, left + kPairButtonWidth, top + kPairButtonHeight);
        pair->SetRect(r.left, r.top, r.right, r.bottom);
    }
}

bool SectionsPage::HandleMessage(UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
    for (const SectionInfo& info : kSections) {
        if (message != info.headerId) continue;
        if (lParam == ControlNotify::Click) Toggle(info.section);
        result = 0;
        return true;
    }
    return false;
}

void SectionsPage::Toggle(Section clicked) {
    // The header has already toggled its own look; the state decides.
    bool& open = state_.open[static_cast<std::size_t>(SectionIndex(clicked))];
    open = !open;
    ApplyClosingRule(state_, clicked);
    Show();
    window_.RefreshFromProfile();
}

void SectionsPage::Close(Section section) {
    bool& open = state_.open[static_cast<std::size_t>(SectionIndex(section))];
    if (!open) return;
    open = false;
    Show();
}

void SectionsPage::EnableHeader(Section section, bool enabled) {
    header(section)->SetDisabled(!enabled);
}

void SectionsPage::PlaceHeaders(const std::array<SectionPlace, kSectionCount>& places) {
    for (const SectionInfo& info : kSections) {
        const auto i = static_cast<std::size_t>(SectionIndex(info.section));
        if (!state_.headerShown[i]) continue;
        const RECT h = PageHost::Scaled(places[i].header.left, places[i].header.top,
                                        places[i].header.right, places[i].header.bottom);
        header(info.section)->SetRect(h.left, h.top, h.right, h.bottom);
    }
}

void SectionsPage::Show() {
    for (const SectionInfo& info : kSections)
        header(info.section)
            ->SetChecked(state_.open[static_cast<std::size_t>(SectionIndex(info.section))]);
    window_.SectionsChanged();
}

}  // namespace zavrin
