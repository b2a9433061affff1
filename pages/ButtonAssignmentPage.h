#pragma once

#include <optional>

#include "pages/SettingsPage.h"
#include "ui/ButtonChoice.h"

namespace zavrin {

class CComboButton;
class CWndPopup;

// Messages of the function menu and the dialog-based choices, beside the
// pop-up messages of UiMessages.h.
namespace AssignmentMessage {
// The function menu's choice: (box id, address of a ButtonChoice); box id 0
// only asks to bring the open menus to the front.
inline constexpr UINT MenuChoice = 1027;
// The sub-menus' choices: (box id, address of a ButtonChoice).
inline constexpr UINT DpiChoice = 1041;
inline constexpr UINT MultimediaChoice = 1044;
inline constexpr UINT WindowsManageChoice = 1158;
inline constexpr UINT OfficeChoice = 1161;
inline constexpr UINT DpiLockChoice = 1155;
// Posted to itself once the menus are gone, so that a dialog never opens
// under a menu.
inline constexpr UINT RunFireKeyDialog = 1061;
inline constexpr UINT RunMacroChooser = 1064;
inline constexpr UINT RunShortcutDialog = 1034;
inline constexpr UINT RunLaunchDialog = 1038;
}  // namespace AssignmentMessage

// The button list of the left column: the function menu of each assignment
// box with its five sub-menus and its dialogs, storing the chosen function in
// the current profile and keeping one button on left click. UI thread only.
class ButtonAssignmentPage : public SettingsPage {
public:
    static constexpr std::chrono::milliseconds kWarningDelay{100};

    using SettingsPage::SettingsPage;

    void Build(PageHost&) override {}
    void RefreshFromProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    // Stores a choice for a box: its text, the profile's key, then the
    // left-click rule. Boxes without a key (the hidden rows) store nothing.
    void StoreChoice(std::uint32_t boxId, const ButtonChoice& choice, const std::string& url = {},
                     const MacroRecord* macro = nullptr);

    // The profile key of a box, or nothing for a box that has none.
    static std::optional<int> KeyOfBox(std::uint32_t boxId);

private:
    void OpenFunctionMenu(std::uint32_t boxId);
    void OpenSubmenu(UINT request, std::uint32_t boxId, int rowId);
    void CloseSubmenu();
    void CloseMenus();
    void OnMenuDeactivated();
    void AskForDialog(UINT runMessage, std::uint32_t boxId);
    void RunDialog(UINT runMessage);
    // After a dialog stored a function itself: the rule and the apply pass.
    void AfterExternalChoice(int keyIndex);
    void EnforceLeftClick(int keyIndex);
    CComboButton* box(std::uint32_t boxId) const;

    std::uint32_t openBox_ = 0;     // the box whose menu is open
    std::uint32_t fireKeyBox_ = 0;  // shared by the fire-key and shortcut dialogs
    std::uint32_t macroBox_ = 0;
    std::uint32_t launchBox_ = 0;
    bool openingSubmenu_ = false;
    bool closingSubmenu_ = false;
};

}  // namespace zavrin
