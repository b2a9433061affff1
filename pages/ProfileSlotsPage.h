#pragma once

#include "pages/ProfileShowList.h"
#include "pages/SettingsPage.h"

namespace zavrin {

// The profile selector of the left column: the menu of listed profiles that
// switches the current one or reveals the next hidden slot, and the slot menu
// that imports, exports, renames or removes a listed profile. Slot actions
// run from a timer, after the menus are gone. UI thread only.
class ProfileSlotsPage : public SettingsPage {
public:
    static constexpr UINT kProfileMenuReport = 1125;
    static constexpr UINT kSlotMenuReport = 1164;
    static constexpr std::uint32_t kFirstSlotTab = 2049;
    static constexpr std::chrono::milliseconds kActionDelay{100};

    enum class SlotAction { Import = 0, Export = 1, Rename = 2, Remove = 3, Add = 4, Full = 5, AutoProfiles = 6 };

    using SettingsPage::SettingsPage;

    void Build(PageHost&) override {}
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void OpenProfileMenu();
    void OpenSlotMenu(int entry);
    void CloseMenus();
    void OnProfileEntryChosen(int entry);
    // Makes a listed slot current: refresh, then its buttons and performance
    // settings go to the mouse (only what differs is written).
    void MakeCurrent(int slot, SwitchOrigin origin = SwitchOrigin::User);
    void OnSlotActionChosen(int slot, int action);
    void Defer(SlotAction action, int slot);
    void RunSlotAction();
    void ImportInto(int slot);
    void ExportFrom(int slot);
    void RemoveSlot(int slot);
    void AddSlot();
    void SaveAllAndRefresh();
    std::string DisplayName(int slot) const;

    SlotAction pendingSlotAction_ = SlotAction::Import;
    int pendingSlot_ = 0;
    bool openingSlotMenu_ = false;
};

}  // namespace zavrin
