#pragma once

#include "pages/SettingsPage.h"

namespace zavrin {

class CCheckButton;
class CSliderControl;

// The pointer section: the button to the system's mouse settings and a set
// of pointer preferences kept in the profile only (their controls are not
// shown; they still take part in refresh and collect). UI thread only.
class PointerPage : public SettingsPage {
public:
    static constexpr std::uint32_t kScrollLines = 2009;
    static constexpr std::uint32_t kScrollPage = 2010;
    static constexpr std::uint32_t kAcceleration = 2030;
    static constexpr std::uint32_t kScrollSpeed = 2041;
    static constexpr std::uint32_t kPointerSpeed = 2043;
    static constexpr std::uint32_t kDoubleClickSpeed = 2044;

    using SettingsPage::SettingsPage;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    void CollectToProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowStep(std::uint32_t captionId, int step);

    CCheckButton* acceleration_ = nullptr;
};

}  // namespace zavrin
