#pragma once

#include <array>

#include "pages/MainPage.h"
#include "pages/SectionColumn.h"

namespace zavrin {

class CCheckButton;

// The headers of the right-hand column and which sections are open: this
// page alone holds that state. A header's checked look follows the state;
// a click on a header toggles its section under the closing rule. The pairing
// section's one control, the button that opens the pairing dialog, is built
// here too. After every change the window shows the open sections' controls
// and lays the column out again (PageHost::SectionsChanged). UI thread only.
class SectionsPage final : public MainPage {
public:
    explicit SectionsPage(PageHost& window) : window_(window) {}

    void Build(PageHost& window) override;
    void LayOut(Section section, const RECT& content) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const SectionState& state() const { return state_; }

    // As a click on the section's header: toggles it, closes others by the
    // closing rule, shows the column and refreshes the pages.
    void Toggle(Section clicked);
    // Closes one section when it is open (the polling rate, when the mouse
    // no longer offers a choice).
    void Close(Section section);
    void EnableHeader(Section section, bool enabled);
    // Puts the shown headers where the column's layout placed them.
    void PlaceHeaders(const std::array<SectionPlace, kSectionCount>& places);

private:
    // The headers' looks from the state, then the window's part.
    void Show();
    CCheckButton* header(Section s) const {
        return headers_[static_cast<std::size_t>(SectionIndex(s))];
    }

    PageHost& window_;
    std::array<CCheckButton*, kSectionCount> headers_{};
    SectionState state_;
};

}  // namespace zavrin
