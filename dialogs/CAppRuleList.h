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
// reports ControlNotify::Click; the arrow keys move the selection, and the list keeps
// the selected row in view when there are more rules than rows. A scroll bar
// given to it shows which rows are in view and is kept in step with them.
class CAppRuleList : public CControlBase, public ScrolledList {
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

    // The names of the profile slots, and which of them are in the profile
    // list (a rule on a slot that is not is shown inactive).
    void SetSlots(const std::array<std::string, AppProfiles::kSlotCount>& names,
                  const std::array<bool, AppProfiles::kSlotCount>& listed);
    // The texts shown for a rule whose profile was removed and when there are no rules.
    void SetTexts(std::string inactive, std::string empty);

    // The selected rule's row, or -1. Selecting repaints the list; RulesChanged
    // then keeps it inside the rules and in view.
    int SelectedRow() const { return selectedRow; }
    void SelectRow(int row);
    int TopRow() const override { return topRow; }
    void SetTopRow(int row) override;

    // Keeps the selection inside the rules after a change and the selected row in view.
    void RulesChanged();
    // Shows the rows from `row` on, as far as there are rules to fill the
    // list; true when the rows in view changed.
    bool ScrollTo(int row);
    // A press or a thumb drag reported by the list's scroll bar.
    void OnScrollBar(LPARAM code, WPARAM part);
    void SetScrollBar(CVScrollBar* bar);

private:
    std::array<std::string, AppProfiles::kSlotCount> slotNames;
    std::array<bool, AppProfiles::kSlotCount> slotListed{};
    std::string inactiveText;
    std::string emptyText;
    int selectedRow = -1;
    int topRow = 0;

    int RowHeight() const;
    int RowAt(POINT p) const;
    int RuleCount() const { return static_cast<int>(rules_.rules().size()); }
    void ShowTopRowOnBar();


    const AppProfiles& rules_;
    CVScrollBar* bar_ = nullptr;
    // Without a bar it still keeps the first row inside the rules.
    ListScroll scroll_{nullptr, this, kRowsShown};
};

}  // namespace zavrin
