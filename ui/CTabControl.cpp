#include "ui/CTabControl.h"

#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr std::uint32_t kFirstProfileTab = 2049, kLastProfileTab = 2053;
constexpr std::uint32_t kFirstSectionTab = 3001, kLastSectionTab = 3004;
constexpr std::uint32_t kFirstLowerSectionTab = 3007, kLastLowerSectionTab = 3009;
constexpr int kSelectedFrame = 2, kSelectedHoverFrame = 3;
}  // namespace

int CTabControl::ProfileTabIndex(std::uint32_t id) {
    if (id < kFirstProfileTab || id > kLastProfileTab) return -1;
    return static_cast<int>(id - kFirstProfileTab);
}

int CTabControl::SectionTabValue(std::uint32_t id) {
    if (id >= kFirstSectionTab && id <= kLastSectionTab)
        return static_cast<int>(id - kFirstSectionTab);
    if (id >= kFirstLowerSectionTab && id <= kLastLowerSectionTab)
        return static_cast<int>(id - 3000);
    return -1;
}

CTabControl::CTabControl(HWND parent, std::uint32_t id, const RECT& rect, std::string text,
                         std::uint32_t format, BOOL shown, BOOL visible, BOOL disabled)
    : CControlBase(parent, id, rect, text, shown, visible, disabled, TRUE),
      label(std::move(text)),
      textFormat(format) {
    SetRepaintsWholeWindow(true);
}


int CTabControl::Frame() const {
    const int section = SectionTabValue(id);
    if (section >= 0 && section == currentSectionTab) return kSelectedFrame;
    const int profile = ProfileTabIndex(id);
    if (profile >= 0 && profile == currentProfileTab) {
        return state == kStateHover ? kSelectedHoverFrame : kSelectedFrame;
    }
    return state;
}

BOOL CTabControl::OnMouseMove(WPARAM, POINT p) {
    return StandardMouseMove(p);
}
BOOL CTabControl::OnLButtonDown(WPARAM, POINT p) {
    return StandardLButtonDown(p);
}

BOOL CTabControl::OnLButtonUp(WPARAM, POINT p) {
    return StandardLButtonUp(p, 0, [this] {
        if (const int profile = ProfileTabIndex(id); profile >= 0) currentProfileTab = profile;
        if (const int section = SectionTabValue(id); section >= 0) currentSectionTab = section;
    });
}

BOOL CTabControl::OnRButtonUp(WPARAM, POINT p) {
    if (!disabled && Contains(p)) NotifyCode(ControlNotify::RightClick, id);
    return FALSE;
}

void CTabControl::Draw(Canvas& dc, const RECT&) {
    constexpr Look kFrameLooks[] = {Look::Normal, Look::Hover, Look::Checked, Look::CheckedHover};
    DrawPicture(dc, looks[kFrameLooks[Frame()]], rect);
    DrawCaption(dc, label, UiColor::TextNormal, textFormat, textLeft, textRight);
}

}  // namespace zavrin
