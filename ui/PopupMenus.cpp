#include "ui/PopupMenus.h"

#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr COLORREF kPollingHoverFill = 0x004B53;
constexpr COLORREF kPollingArrow = 0x0E9C90;
constexpr COLORREF kComboProfileLastRow = 0x000049;
constexpr COLORREF kComboProfileEmptyRow = 0x1F1F1F;
constexpr COLORREF kComboProfileCurrentRow = 0x000078;
constexpr COLORREF kComboProfileHoverRow = 0x373737;
constexpr int kTextInset = 2;
constexpr int kDpiLockEntry = 36;
constexpr int kComboProfileHeaderEntry = 10;
constexpr int kComboProfileLastEntry = 200;
// Ids 1..4 of the assignment menu report a press as well.
constexpr int kLastPressReportingId = 4;
constexpr int kComboProfileLastRowIndex = 6;
// Source size of the profile list's header picture.
constexpr RECT kHeaderSource{0, 0, 230, 25};

RECT Inset(const RECT& r) { return RECT{r.left + kTextInset, r.top, r.right - kTextInset, r.bottom}; }

// A small right-pointing arrow at the right end of a row.
void DrawSubmenuArrow(Canvas& dc, const RECT& row, COLORREF color) {
    const int h = row.bottom - row.top;
    const int size = std::max(h / 4, 2);
    const int right = row.right - size;
    const int mid = row.top + h / 2;
    const POINT arrow[] = {{right - size, mid - size}, {right, mid}, {right - size, mid + size}};
    dc.FillPolygon(arrow, color);
}
}  // namespace

CActionTablePopup::CActionTablePopup(int kind, std::span<const PopupTableRow> table, PopupPictures rowPictures)
    : CItemPopup(kind, kStandardPopup, std::move(rowPictures)), table_(table) {}

void CActionTablePopup::InitItems() { AddItems(table_); }

void CActionTablePopup::OnItemChosen(const PopupItem& item) {
    const PopupTableRow* entry = TableRowOf(item.id);
    if (entry == nullptr || entry->effect != PopupRowEffect::Action) return;
    result.name = item.text;
    result.action = entry->action;
    SendResult();
}

CComboPopup::CComboPopup(PopupPictures rowPictures)
    : CActionTablePopup(PopupKind::Combo, comboPopupItems(), std::move(rowPictures)) {}

BOOL CComboPopup::OnLButtonDown(int x, int y) {
    const BOOL changed = CActionTablePopup::OnLButtonDown(x, y);
    const int row = RowAt(POINT{x, y});
    if (row >= 0) {
        const int id = items[static_cast<std::size_t>(row)].id;
        if (id >= 1 && id <= kLastPressReportingId) SendToOwner(reportMessage, 0, 0);
    }
    return changed;
}

void CComboPopup::OnItemChosen(const PopupItem& item) {
    const PopupTableRow* entry = TableRowOf(item.id);
    if (entry == nullptr) return;
    switch (entry->effect) {
        case PopupRowEffect::Action: CActionTablePopup::OnItemChosen(item); break;
        case PopupRowEffect::OwnerMessage: SendToOwner(entry->message, static_cast<WPARAM>(ownerParam), 0); break;
        case PopupRowEffect::Nothing: break;
    }
}

void CComboPopup::OnHoverChanged(int index) {
    if (index < 0) return;
    const PopupItem& item = items[static_cast<std::size_t>(index)];
    const PopupTableRow* entry = TableRowOf(item.id);
    const UINT message = (entry != nullptr && entry->hasSubmenu) ? entry->message : PopupMessage::CloseSubmenus;
    SendToOwner(message, static_cast<WPARAM>(ownerParam), item.id);
}

CDPIPopup::CDPIPopup(PopupPictures p) : CActionTablePopup(PopupKind::Dpi, dpiPopupItems(), std::move(p)) {}
CMultimediaPopup::CMultimediaPopup(PopupPictures p)
    : CActionTablePopup(PopupKind::Multimedia, multimediaPopupItems(), std::move(p)) {}
COfficePopup::COfficePopup(PopupPictures p)
    : CActionTablePopup(PopupKind::Office, officePopupItems(), std::move(p)) {}
CWindowsManagePopup::CWindowsManagePopup(PopupPictures p)
    : CActionTablePopup(PopupKind::WindowsManage, windowsManagePopupItems(), std::move(p)) {}
CDPILockPopup::CDPILockPopup(PopupPictures p)
    : CActionTablePopup(PopupKind::DpiLock, dpiLockPopupItems(), std::move(p)) {}

void CDPILockPopup::OnItemChosen(const PopupItem& item) {
    const PopupTableRow* entry = TableRowOf(item.id);
    if (entry == nullptr) return;
    result.name = languageText(kDpiLockEntry) + "-" + item.text;
    result.action = entry->action;
    SendResult();
}

CComboPollingRatePopup::CComboPollingRatePopup()
    : CItemPopup(PopupKind::ComboPollingRate, kWidePopup, PopupPictures{}) {}

void CComboPollingRatePopup::InitItems() { AddItems(pollingRatePopupItems()); }

void CComboPollingRatePopup::Draw(Canvas& dc, const RECT&) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PopupItem& item = items[i];
        const bool hovered = static_cast<int>(i) == hoverIndex;
        if (hovered) dc.FillRect(item.itemRect, kPollingHoverFill);
        dc.DrawText(item.text, Inset(item.itemRect), DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS,
                    font, hovered ? UiColor::White : UiColor::TextNormal);
        if (item.hasSubmenu) DrawSubmenuArrow(dc, item.itemRect, kPollingArrow);
    }
}

CComboLightingPopup::CComboLightingPopup(PopupPictures p)
    : CItemPopup(PopupKind::ComboLighting, kWidePopup, std::move(p)) {
    static constexpr std::array<int, 10> kEffectEntries{100, 101, 102, 103, 110, 105, 106, 111, 108, 109};
    for (std::size_t i = 0; i < kEffectEntries.size(); ++i) effectTexts[i] = languageText(kEffectEntries[i]);
}

void CComboLightingPopup::InitItems() {
    for (const PopupTableRow& entry : lightingPopupItems()) {
        AddItem(effectTexts[static_cast<std::size_t>(entry.id - 1)], entry.id);
    }
}

void CComboLightingPopup::OnItemChosen(const PopupItem& item) {
    result.name = item.text;
    result.action = KeyAction{lightingModeOfId(item.id), 0, 0};
    SendResult();
}

CProfilePopup::CProfilePopup() : CItemPopup(PopupKind::Profile, kStandardPopup, PopupPictures{}) {}

void CProfilePopup::InitItems() { AddItems(profilePopupItems()); }

void CProfilePopup::Draw(Canvas& dc, const RECT&) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PopupItem& item = items[i];
        if (static_cast<int>(i) == hoverIndex) dc.FillRect(item.itemRect, UiColor::Accent);
        dc.DrawText(item.text, Inset(item.itemRect), DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS, font,
                    UiColor::White);
        if (item.hasSubmenu) DrawSubmenuArrow(dc, item.itemRect, UiColor::White);
    }
}

void CProfilePopup::OnItemChosen(const PopupItem& item) {
    result.name.clear();
    result.action = KeyAction{static_cast<std::uint8_t>(item.id - 2), 0, 0};
    SendResult();
}

CProfileRKeyPopup::CProfileRKeyPopup(PopupPictures p)
    : CItemPopup(PopupKind::ProfileRKey, kStandardPopup, std::move(p)) {}
void CProfileRKeyPopup::InitItems() { AddItems(profileRKeyPopupItems()); }

CComboActionInsertPopup::CComboActionInsertPopup(PopupPictures p)
    : CItemPopup(PopupKind::ComboActionInsert, kNarrowPopup, std::move(p)) {}
void CComboActionInsertPopup::InitItems() { AddItems(actionInsertPopupItems()); }

CMacroListPopup::CMacroListPopup(PopupPictures p) : CItemPopup(PopupKind::MacroList, kStandardPopup, std::move(p)) {}

void CMacroListPopup::InitItems() {
    for (const PopupTableRow& entry : macroListPopupItems()) {
        if (macroListModeShows(mode, entry.id)) AddItem(languageText(entry.textEntry), entry.id);
    }
}

void CMacroListPopup::OnItemChosen(const PopupItem& item) {
    result.name.clear();
    result.action = KeyAction{static_cast<std::uint8_t>(item.id - 1), 0, 0};
    SendResult();
}

CComboProfilePopup::CComboProfilePopup(Picture header)
    : CItemPopup(PopupKind::ComboProfile, kProfileListPopup, PopupPictures{}), headerImage(std::move(header)) {
    fullWidthRows = true;
}

void CComboProfilePopup::SetProfileName(int position, std::string name) {
    profileNames.at(static_cast<std::size_t>(position)) = std::move(name);
}

void CComboProfilePopup::InitItems() {
    AddItem(languageText(kComboProfileHeaderEntry), kHeaderId);
    for (std::size_t i = 0; i < profileNames.size(); ++i) AddItem(profileNames[i], static_cast<int>(i) + 2);
    AddItem(languageText(kComboProfileLastEntry), kLastRowId);
    if (!extraRowText.empty()) AddItem(extraRowText, kExtraRowId);
}

bool CComboProfilePopup::Choosable(const PopupItem& item) const {
    // A slot without a name holds no profile.
    return item.id != kHeaderId && !item.text.empty();
}

void CComboProfilePopup::OnItemChosen(const PopupItem& item) {
    if (!Choosable(item)) return;
    SendToOwner(reportMessage, kLeftChoice, item.id);
}

BOOL CComboProfilePopup::OnRButtonUp(int x, int y) {
    const int row = RowAt(POINT{x, y});
    if (row < 0) return FALSE;
    const PopupItem& item = items[static_cast<std::size_t>(row)];
    if (Choosable(item) && item.id != kLastRowId && item.id != kExtraRowId) SendToOwner(reportMessage, kRightChoice, item.id);
    return FALSE;
}

void CComboProfilePopup::Draw(Canvas& dc, const RECT&) {
    const std::uint32_t centred = DT_CENTER | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const PopupItem& item = items[i];
        const int index = static_cast<int>(i);
        const bool hovered = index == hoverIndex;
        if (index == 0) {
            if (headerImage) dc.DrawImage(*headerImage, item.itemRect, kHeaderSource);
            dc.DrawText(item.text, Inset(item.itemRect), DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS,
                        font, UiColor::TextNormal);
        } else if (index == kComboProfileLastRowIndex || item.id == kExtraRowId) {
            dc.FillRect(item.itemRect, kComboProfileLastRow);
            dc.DrawText(item.text, Inset(item.itemRect), centred, font,
                        hovered ? UiColor::White : UiColor::TextNormal);
        } else if (item.text.empty()) {
            dc.FillRect(item.itemRect, kComboProfileEmptyRow);
        } else if (index == currentProfileRow) {
            dc.FillRect(item.itemRect, kComboProfileCurrentRow);
            dc.DrawText(item.text, Inset(item.itemRect), centred, font, UiColor::TextNormal);
        } else {
            dc.FillRect(item.itemRect, hovered ? kComboProfileHoverRow : kComboProfileEmptyRow);
            dc.DrawText(item.text, Inset(item.itemRect), centred, font,
                        hovered ? UiColor::White : UiColor::TextNormal);
        }
    }
}

}  // namespace zavrin
