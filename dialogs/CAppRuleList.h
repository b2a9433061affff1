#pragma once

#include <array>
#include <string>

#include "model/AppProfiles.h"
#include "ui/CControlBase.h"
#include "ui/CVScrollBar.h"
#include "ui/ListScroll.h"

namespace zavrin {

// The rules of the automatic-profiles dialog, one row each: the program's file
// name with its path, and the profile it gets (or that the rule is inactive
// because its profile was removed from the list). A press selects a row and
// reports NOTIFY_CLICK; the arrow keys move the selection, and the list keeps
// the selected row in view when there are more rules than rows. A scroll bar
// given to it shows which rows are in view and is kept in step with them.
class CAppRuleList : public CControlBase {
public:
    static constexpr int kRowsShown = 8;
    // Where the profile column starts, in percent of the list's width.
    static constexpr int kProfileColumnPercent = 60;

    CAppRuleList(HWND parent, std::uint32_t id, const RECT& rect, const AppProfiles& rules);

    void Draw(Canvas& dc, const RECT& clip) override;
    BOOL OnLButtonDown(WPARAM keyFlags, POINT p) override;
    BOOL OnLButtonUp(WPARAM keyFlags, POINT p) override;
    BOOL OnKeyDown(WPARAM virtualKey) override;
    bool TakesKeyboardFocus() const override { return true; }

    // Keeps the selection inside the rules after a change and the selected row in view.
    void RulesChanged();
    // Shows the rows from `row` on, as far as there are rules to fill the
    // list; true when the rows in view changed.
    bool ScrollTo(int row);
    // A press or a thumb drag reported by the list's scroll bar.
    void OnScrollBar(LPARAM code, WPARAM part);
    void SetScrollBar(CVScrollBar* bar);

    std::array<std::string, AppProfiles::kSlotCount> slotNames;
    std::array<bool, AppProfiles::kSlotCount> slotListed{};
    std::string inactiveText;  // shown for a rule whose profile was removed
    std::string emptyText;     // shown when there are no rules
    int selectedRow = -1;
    int topRow = 0;

private:
    int RowHeight() const;
    int RowAt(POINT p) const;
    int RuleCount() const { return static_cast<int>(rules_.rules().size()); }
    void ShowTopRowOnBar();

    // Repaints the rows when the first row shown changed; true then.
    bool Scrolled(int oldTop);

    const AppProfiles& rules_;
    CVScrollBar* bar_ = nullptr;
    // Without a bar it still keeps the first row inside the rules.
    ListScroll scroll_{nullptr, &topRow, kRowsShown};
};

}  // namespace zavrin
