#pragma once

#include <cstdint>
#include <span>

#include "model/KeyAction.h"
#include "ui/UiMessages.h"

namespace zavrin {

// The fixed item lists of the pop-up menus, as tables. A menu class turns its
// table into rows at creation; the texts are language entries or fixed words.

// What releasing the button on a row does.
enum class PopupRowEffect {
    Action,        // hands `action` to the owner as the result
    OwnerMessage,  // sends (message, ownerParam, 0) so the owner opens a dialog
    Nothing,       // a row that only opens a sub-menu
};

struct PopupTableRow {
    int id = 0;
    int textEntry = -1;              // language entry, or -1 for `literal`
    const char* literal = "";        // the fixed text when textEntry is -1
    bool hasSubmenu = false;
    PopupRowEffect effect = PopupRowEffect::Nothing;
    KeyAction action{};
    std::uint32_t message = 0;       // for OwnerMessage rows, and the sub-menu request on hover
};

// The button-assignment menu (CComboPopup), top to bottom.
std::span<const PopupTableRow> comboPopupItems();
// Its sub-menus.
std::span<const PopupTableRow> dpiPopupItems();
std::span<const PopupTableRow> multimediaPopupItems();
std::span<const PopupTableRow> officePopupItems();
std::span<const PopupTableRow> windowsManagePopupItems();
std::span<const PopupTableRow> dpiLockPopupItems();

// The remaining menus; their results are computed from the id by the class.
std::span<const PopupTableRow> pollingRatePopupItems();
std::span<const PopupTableRow> lightingPopupItems();
std::span<const PopupTableRow> profilePopupItems();
std::span<const PopupTableRow> profileRKeyPopupItems();
std::span<const PopupTableRow> actionInsertPopupItems();
// All eight rows of the macro-list menu; macroListIdsForMode picks the shown ones.
std::span<const PopupTableRow> macroListPopupItems();
bool macroListModeShows(int mode, int id);

// Lighting mode that a lighting menu id stands for (1..10), 0 for others.
std::uint8_t lightingModeOfId(int id);

// Layout families: outer width and row height in design units.
struct PopupLayoutFamily {
    int width = 0;
    int rowHeight = 0;
};
inline constexpr PopupLayoutFamily kStandardPopup{162, 22};
inline constexpr PopupLayoutFamily kWidePopup{189, 22};
inline constexpr PopupLayoutFamily kNarrowPopup{118, 22};
inline constexpr PopupLayoutFamily kProfileListPopup{230, 25};

}  // namespace zavrin
