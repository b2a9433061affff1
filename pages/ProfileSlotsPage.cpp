#include "pages/ProfileSlotsPage.h"

#include "dialogs/CProfileNameDlgs.h"
#include "pages/AutoProfileIds.h"
#include "platform/Resources.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kImportTitle = 142;
constexpr int kExportTitle = 143;
constexpr int kListFullText = 145;
constexpr int kCurrentNotRemovableText = 148;
constexpr int kImportRejectedText = 157;
constexpr int kExportFailedText = 158;
constexpr int kAutoProfilesEntryText = 350;
// Menu placement, design units: the profile menu's top lies this far above
// the selector's bottom; the slot menu opens this far right of the selector.
constexpr int kMenuRise = 201;
constexpr int kRowHeight = 25;
constexpr int kSlotMenuOffset = 225;
constexpr int kFirstProfileEntry = 2;
constexpr int kAddEntry = CComboProfilePopup::kLastRowId;
constexpr UINT kCheckMenus = WM_APP + 41;

FileDialogRequest ProfileFileRequest(FileDialogRequest::Mode mode, HWND owner, int title) {
    FileDialogRequest request;
    request.mode = mode;
    request.owner = owner;
    request.title = languageText(title);
    request.filters = {FileFilter{"psf file(*.psf)", "*.psf"}};
    request.defaultExtension = "psf";
    request.initialName = ".psf";
    return request;
}

}  // namespace

std::string ProfileSlotsPage::DisplayName(int slot) const {
    return getSetting(window_.model().store.profiles[static_cast<std::size_t>(slot)],
                      Setting::ProfileName, kSettingValue);
}

bool ProfileSlotsPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    switch (message) {
        case ControlId::ProfileSelector:
            if (lParam != ControlNotify::Click) return false;
            if (window_.GetPopup(MainPopupSlot::ProfileMenu) == nullptr) OpenProfileMenu();
            return true;
        case kProfileMenuReport:
            if (wParam == CComboProfilePopup::kRightChoice) {
                OpenSlotMenu(static_cast<int>(lParam));
            } else {
                OnProfileEntryChosen(static_cast<int>(lParam));
            }
            return true;
        case kSlotMenuReport:
            if (lParam != 0) {
                const auto* choice = reinterpret_cast<const ButtonChoice*>(lParam);
                OnSlotActionChosen(static_cast<int>(wParam - kFirstSlotTab), choice->action.type);
            }
            return true;
        case PopupMessage::ComboProfileDeactivated:
        case PopupMessage::ProfileRKeyDeactivated:
            if (message == PopupMessage::ProfileRKeyDeactivated)
                window_.ClosePopup(MainPopupSlot::SlotMenu);
            // Opening the slot menu takes the activation from the profile menu.
            if (!openingSlotMenu_) window_.PostMessage(kCheckMenus, 0, 0);
            return true;
        case kCheckMenus: {
            const HWND active = GetActiveWindow();
            const CWndPopup* menu = window_.GetPopup(MainPopupSlot::ProfileMenu);
            const CWndPopup* slots = window_.GetPopup(MainPopupSlot::SlotMenu);
            if ((menu == nullptr || menu->GetSafeHwnd() != active) &&
                (slots == nullptr || slots->GetSafeHwnd() != active))
                CloseMenus();
            return true;
        }
        case AutoProfileMessage::MakeCurrent:
            // A rule's switch: the same path as the menu, and the display names it.
            MakeCurrent(static_cast<int>(wParam), SwitchOrigin::Automatic);
            window_.PostMessage(MainMessage::ShowOnScreenDisplay, 2, 0);
            return true;
        case WM_TIMER:
            if (wParam != static_cast<WPARAM>(MainTimer::ProfileSlotAction)) return false;
            window_.KillTimer(MainTimer::ProfileSlotAction);
            RunSlotAction();
            return true;
        default:
            return false;
    }
}

void ProfileSlotsPage::OpenProfileMenu() {
    const CControlBase* selector = window_.FindControl(ControlId::ProfileSelector);
    if (selector == nullptr) return;
    const ProfileShowList shown = ProfileShowList::Load(window_.model().store.settings);
    auto menu = std::make_unique<CComboProfilePopup>(LoadImageFile(SkinPath("skins\\header2_nr.png")));
    const int current = window_.model().store.currentIndex();
    menu->SetCurrentProfileRow(-1);
    menu->SetExtraRowText(languageText(kAutoProfilesEntryText));
    for (int position = 0; position < kProfileCount; ++position) {
        const int slot = shown.list[static_cast<std::size_t>(position)];
        // Positions past the count are drawn empty and cannot be chosen.
        menu->SetProfileName(position, position < shown.count ? DisplayName(slot) : std::string());
        if (position < shown.count && slot == current) menu->SetCurrentProfileRow(position + 1);
    }
    const POINT at = ClientToScreen(
        hwnd(), POINT{selector->Rect().left, selector->Rect().bottom - PageHost::Scale(kMenuRise)});
    window_.OpenPopup(MainPopupSlot::ProfileMenu, std::move(menu), at, kProfileMenuReport, 0);
}

void ProfileSlotsPage::OpenSlotMenu(int entry) {
    const CControlBase* selector = window_.FindControl(ControlId::ProfileSelector);
    const ProfileShowList shown = ProfileShowList::Load(window_.model().store.settings);
    const int position = entry - kFirstProfileEntry;
    if (selector == nullptr || position < 0 || position >= shown.count) return;
    window_.ClosePopup(MainPopupSlot::SlotMenu);
    const int slot = shown.list[static_cast<std::size_t>(position)];
    const POINT at =
        ClientToScreen(hwnd(), POINT{selector->Rect().left + PageHost::Scale(kSlotMenuOffset),
                                     selector->Rect().bottom - PageHost::Scale(kMenuRise) +
                                         PageHost::Scale(kRowHeight * (entry - 1))});
    openingSlotMenu_ = true;
    window_.OpenPopup(MainPopupSlot::SlotMenu, std::make_unique<CProfileRKeyPopup>(LoadStandardPopupPictures()), at,
                      kSlotMenuReport, static_cast<int>(kFirstSlotTab) + slot);
    openingSlotMenu_ = false;
}

void ProfileSlotsPage::CloseMenus() {
    window_.ClosePopup(MainPopupSlot::SlotMenu);
    window_.ClosePopup(MainPopupSlot::ProfileMenu);
}

void ProfileSlotsPage::Defer(SlotAction action, int slot) {
    pendingSlotAction_ = action;
    pendingSlot_ = slot;
    window_.SetTimer(MainTimer::ProfileSlotAction,
                     static_cast<std::uint32_t>(kActionDelay.count()));
}

void ProfileSlotsPage::OnProfileEntryChosen(int entry) {
    CloseMenus();
    ProfileStore& store = window_.model().store;
    const ProfileShowList shown = ProfileShowList::Load(store.settings);
    if (entry == kAddEntry) {
        Defer(shown.count >= kProfileCount ? SlotAction::Full : SlotAction::Add, 0);
        return;
    }
    if (entry == CComboProfilePopup::kExtraRowId) {
        Defer(SlotAction::AutoProfiles, 0);
        return;
    }
    const int position = entry - kFirstProfileEntry;
    if (position < 0 || position >= shown.count) return;
    const int slot = shown.list[static_cast<std::size_t>(position)];
    MakeCurrent(slot);
    window_.SendMessage(AutoProfileMessage::HandChosen, static_cast<WPARAM>(slot), 0);
}

void ProfileSlotsPage::MakeCurrent(int slot, SwitchOrigin origin) {
    if (slot < 0 || slot >= kProfileCount) return;
    window_.model().store.settings.setCurrentProfile(slot);
    window_.RefreshFromProfile();
    window_.sync().profileReplaced(origin);
}

void ProfileSlotsPage::OnSlotActionChosen(int slot, int action) {
    CloseMenus();
    if (slot < 0 || slot >= kProfileCount || action < 0 ||
        action > static_cast<int>(SlotAction::Remove))
        return;
    Defer(static_cast<SlotAction>(action), slot);
}

void ProfileSlotsPage::RunSlotAction() {
    ProfileStore& store = window_.model().store;
    switch (pendingSlotAction_) {
        case SlotAction::Import:
            ImportInto(pendingSlot_);
            return;
        case SlotAction::Export:
            ExportFrom(pendingSlot_);
            return;
        case SlotAction::Rename: {
            CEditProfileDlg dialog(store.profiles[static_cast<std::size_t>(pendingSlot_)]
                                       .settings[Setting::ProfileName]
                                       .value,
                                   hwnd());
            if (dialog.DoModal() == IDOK) SaveAllAndRefresh();
            return;
        }
        case SlotAction::Remove:
            RemoveSlot(pendingSlot_);
            return;
        case SlotAction::Add:
            AddSlot();
            return;
        case SlotAction::Full:
            window_.showAttention(kListFullText);
            return;
        case SlotAction::AutoProfiles:
            window_.SendMessage(AutoProfileMessage::OpenDialog, 0, 0);
            return;
    }
}

void ProfileSlotsPage::ImportInto(int slot) {
    const auto path = window_.services().AskForFile(
        ProfileFileRequest(FileDialogRequest::Mode::Open, hwnd(), kImportTitle));
    if (!path) return;
    // A file the reader rejects leaves the profile and its slot file alone.
    if (!window_.model().store.importProfileFile(slot, *path)) {
        window_.showAttention(kImportRejectedText);
        return;
    }
    SaveAllAndRefresh();
}

void ProfileSlotsPage::ExportFrom(int slot) {
    const auto path = window_.services().AskForFile(
        ProfileFileRequest(FileDialogRequest::Mode::Save, hwnd(), kExportTitle));
    if (!path) return;
    if (!window_.model().store.writeProfileFile(slot, *path))
        window_.showAttention(kExportFailedText);
}

void ProfileSlotsPage::RemoveSlot(int slot) {
    ProfileStore& store = window_.model().store;
    if (slot == store.currentIndex()) {
        window_.showAttention(kCurrentNotRemovableText);
        return;
    }
    ProfileShowList shown = ProfileShowList::Load(store.settings);
    // The slot's profile and file stay; it only leaves the list.
    if (!shown.Remove(slot)) return;
    shown.Store(store.settings);
    SaveAllAndRefresh();
}

void ProfileSlotsPage::AddSlot() {
    ProfileStore& store = window_.model().store;
    ProfileShowList shown = ProfileShowList::Load(store.settings);
    if (shown.count >= kProfileCount) return;
    // What is saved is the list as shown, so a repaired list stays repaired.
    shown.Store(store.settings);
    CAddProfileDlg dialog(store, shown.list[static_cast<std::size_t>(shown.count)], hwnd());
    if (dialog.DoModal() == IDOK) SaveAllAndRefresh();
}

void ProfileSlotsPage::SaveAllAndRefresh() {
    ProfileStore& store = window_.model().store;
    store.settings.setCurrentProfile(store.currentIndex());
    // A save that fails stays pending and is tried again later; the user hears
    // of the first failure.
    window_.sync().saveNow();
    window_.RefreshFromProfile();
}

}  // namespace zavrin
