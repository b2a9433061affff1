#include "dialogs/CAppRuleList.h"

#include <algorithm>
#include <utility>

#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr COLORREF kSelectedRow = 0x004B53;
constexpr COLORREF kListBackground = 0x1F1F1F;
constexpr COLORREF kPathColour = 0x8C8C8C;
constexpr COLORREF kInactiveColour = 0x3C64C8;  // a muted red
constexpr std::uint32_t kLine = DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
}  // namespace

CAppRuleList::CAppRuleList(HWND parent, std::uint32_t id, const RECT& rect, const AppProfiles& rules)
    : CControlBase(parent, id, rect, "", TRUE, TRUE, FALSE, TRUE), rules_(rules) {}

void CAppRuleList::SetSlots(const std::array<std::string, AppProfiles::kSlotCount>& names,
                            const std::array<bool, AppProfiles::kSlotCount>& listed) {
    slotNames = names;
    slotListed = listed;
    Invalidate();
}

void CAppRuleList::SetTexts(std::string inactive, std::string empty) {
    inactiveText = std::move(inactive);
    emptyText = std::move(empty);
    Invalidate();
}

void CAppRuleList::SelectRow(int row) {
    Change(selectedRow, row);
}

void CAppRuleList::SetTopRow(int row) {
    Change(topRow, row);
}

int CAppRuleList::RowHeight() const { return std::max(1, (rect.bottom - rect.top) / kRowsShown); }

int CAppRuleList::RowAt(POINT p) const {
    if (!PtInRect(rect, p)) return -1;
    const int row = topRow + (p.y - rect.top) / RowHeight();
    return row < static_cast<int>(rules_.rules().size()) ? row : -1;
}

void CAppRuleList::Draw(Canvas& dc, const RECT&) {
    dc.FillRect(rect, kListBackground);
    const auto& rules = rules_.rules();
    const int h = RowHeight();
    const int pad = std::max(2, h / 6);
    if (rules.empty()) {
        dc.DrawText(emptyText, RECT{rect.left + pad, rect.top, rect.right - pad, rect.top + h}, kLine, font,
                    UiColor::TextNormal);
        return;
    }
    const int width = rect.right - rect.left;
    const int profileLeft = rect.left + width * kProfileColumnPercent / 100;
    for (int i = 0; i < kRowsShown && topRow + i < static_cast<int>(rules.size()); ++i) {
        const int row = topRow + i;
        const AppProfileRule& rule = rules[static_cast<std::size_t>(row)];
        const RECT line{rect.left, rect.top + i * h, rect.right, rect.top + (i + 1) * h};
        if (row == selectedRow) dc.FillRect(line, kSelectedRow);
        const COLORREF strong = row == selectedRow ? UiColor::White : UiColor::TextNormal;
        // The file name first, then the rest of the path in a quieter colour.
        const std::string name = programFileName(rule.program);
        RECT nameRect{line.left + pad, line.top, profileLeft - pad, line.bottom};
        const SIZE nameSize = dc.MeasureText(name, font);
        dc.DrawText(name, nameRect, kLine, font, strong);
        if (rule.program != name && nameRect.left + nameSize.cx + pad < nameRect.right) {
            dc.DrawText(rule.program, RECT{nameRect.left + nameSize.cx + pad * 2, line.top, nameRect.right, line.bottom},
                        kLine, font, kPathColour);
        }
        const bool active = slotListed[static_cast<std::size_t>(rule.slot)];
        const std::string profile = slotNames[static_cast<std::size_t>(rule.slot)];
        dc.DrawText(active ? profile : profile + " " + inactiveText,
                    RECT{profileLeft + pad, line.top, line.right - pad, line.bottom}, kLine, font,
                    active ? strong : kInactiveColour);
    }
}

BOOL CAppRuleList::OnLButtonDown(WPARAM, POINT p) {
    const int row = RowAt(p);
    if (row == selectedRow) return FALSE;
    selectedRow = row;
    return TRUE;
}

BOOL CAppRuleList::OnLButtonUp(WPARAM, POINT p) {
    if (PtInRect(rect, p)) Notify(id, 0, ControlNotify::Click);
    return FALSE;
}

BOOL CAppRuleList::OnKeyDown(WPARAM key) {
    const int count = static_cast<int>(rules_.rules().size());
    if (count == 0 || (key != VK_UP && key != VK_DOWN)) return FALSE;
    SelectRow(std::clamp(selectedRow + (key == VK_UP ? -1 : 1), 0, count - 1));
    RulesChanged();
    Notify(id, 0, ControlNotify::Click);
    return TRUE;
}

void CAppRuleList::RulesChanged() {
    const int count = RuleCount();
    if (selectedRow >= count) SelectRow(count - 1);
    scroll_.reveal(selectedRow, count);
    ShowTopRowOnBar();
}

bool CAppRuleList::ScrollTo(int row) {
    const int old = topRow;
    scroll_.scrollBy(row - topRow, RuleCount());
    ShowTopRowOnBar();
    return topRow != old;
}

void CAppRuleList::OnScrollBar(LPARAM code, WPARAM part) {
    if (scroll_.onBar(code, part, RuleCount())) ShowTopRowOnBar();
}

void CAppRuleList::SetScrollBar(CVScrollBar* bar) {
    bar_ = bar;
    scroll_ = ListScroll(bar, this, kRowsShown);
    ShowTopRowOnBar();
}

void CAppRuleList::ShowTopRowOnBar() {
    scroll_.sync(RuleCount());
}

}  // namespace zavrin
