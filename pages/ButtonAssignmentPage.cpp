#include "pages/ButtonAssignmentPage.h"

#include "dialogs/CNameDialogs.h"
#include "pages/ExternalChoices.h"
#include "ui/CComboButton.h"
#include "ui/ControlIds.h"
#include "ui/PopupMenus.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {

constexpr int kLeftClickWarningText = 151;
// Menu placement, design units: right of the box's left edge, above its bottom,
// and the room the menu needs below its top.
constexpr int kMenuOffsetX = 161;
constexpr int kMenuOffsetUp = 20;
constexpr int kMenuHeightNeeded = 314;
constexpr int kMenuHeightKept = 294;
// Posted after a menu lost the activation, so that the check sees where the
// activation went.
constexpr UINT kCheckMenus = WM_APP + 40;

struct SubmenuKind {
    UINT request;
    UINT choice;
    CWndPopup* (*make)(PopupPictures);
};

template <class Menu>
CWndPopup* Make(PopupPictures pictures) {
    return new Menu(std::move(pictures));
}

constexpr std::array<SubmenuKind, 5> kSubmenus{{
    {PopupMessage::OpenDpiSubmenu, AssignmentMessage::DpiChoice, &Make<CDPIPopup>},
    {PopupMessage::OpenMultimediaSubmenu, AssignmentMessage::MultimediaChoice,
     &Make<CMultimediaPopup>},
    {PopupMessage::OpenOfficeSubmenu, AssignmentMessage::OfficeChoice, &Make<COfficePopup>},
    {PopupMessage::OpenWindowsManageSubmenu, AssignmentMessage::WindowsManageChoice,
     &Make<CWindowsManagePopup>},
    {PopupMessage::OpenDpiLockSubmenu, AssignmentMessage::DpiLockChoice, &Make<CDPILockPopup>},
}};

struct DialogRequest {
    UINT request;
    UINT run;
};
constexpr std::array<DialogRequest, 4> kDialogRequests{{
    {PopupMessage::OpenFireKeyDialog, AssignmentMessage::RunFireKeyDialog},
    {PopupMessage::OpenMacroSelectDialog, AssignmentMessage::RunMacroChooser},
    {PopupMessage::OpenShortcutDialog, AssignmentMessage::RunShortcutDialog},
    {PopupMessage::OpenQuickLaunchDialog, AssignmentMessage::RunLaunchDialog},
}};

bool IsSubmenuDeactivation(UINT message) {
    return message == PopupMessage::DpiDeactivated ||
           message == PopupMessage::MultimediaDeactivated ||
           message == PopupMessage::DpiLockDeactivated ||
           message == PopupMessage::WindowsManageDeactivated ||
           message == PopupMessage::OfficeDeactivated;
}

bool IsChoice(UINT message) {
    if (message == AssignmentMessage::MenuChoice) return true;
    for (const SubmenuKind& kind : kSubmenus) {
        if (kind.choice == message) return true;
    }
    return false;
}

}  // namespace

std::optional<int> ButtonAssignmentPage::KeyOfBox(std::uint32_t boxId) {
    if (boxId < ControlId::FirstAssignmentBox) return std::nullopt;
    const auto key = static_cast<int>(boxId - ControlId::FirstAssignmentBox);
    // Rows 7 to 9 are hidden and stand for no button.
    if (key >= kKeyCount) return std::nullopt;
    return key;
}

CComboButton* ButtonAssignmentPage::box(std::uint32_t boxId) const {
    return find<CComboButton>(boxId);
}

void ButtonAssignmentPage::RefreshFromProfile() {
    // The button list page refreshes the box texts; a box whose menu is open
    // keeps its open look.
}

bool ButtonAssignmentPage::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT& result) {
    result = 0;
    const auto boxId = static_cast<std::uint32_t>(wParam);
    if (message == ComboNotify::ButtonAssignment) {
        if (lParam != ControlNotify::Click) return false;  // hover is the window's
        OpenFunctionMenu(boxId);
        return true;
    }
    if (IsChoice(message)) {
        // Box 0: a press on one of the first rows; the menus stay as they are.
        if (boxId == 0 || lParam == 0) return true;
        const ButtonChoice choice = *reinterpret_cast<const ButtonChoice*>(lParam);
        StoreChoice(boxId, choice);
        return true;
    }
    for (const SubmenuKind& kind : kSubmenus) {
        if (message == kind.request) {
            OpenSubmenu(message, boxId, static_cast<int>(lParam));
            return true;
        }
    }
    for (const DialogRequest& request : kDialogRequests) {
        if (message == request.request) {
            AskForDialog(request.run, boxId);
            return true;
        }
        if (message == request.run) {
            RunDialog(message);
            return true;
        }
    }
    switch (message) {
        case PopupMessage::CloseSubmenus:
            CloseSubmenu();
            return true;
        case PopupMessage::ComboDeactivated:
            OnMenuDeactivated();
            return true;
        case kCheckMenus: {
            const HWND active = GetActiveWindow();
            const CWndPopup* menu = window_.GetPopup(MainPopupSlot::FunctionMenu);
            const CWndPopup* sub = window_.GetPopup(MainPopupSlot::Submenu);
            const bool menuActive = menu != nullptr && menu->GetSafeHwnd() == active;
            const bool subActive = sub != nullptr && sub->GetSafeHwnd() == active;
            if (!menuActive && !subActive) CloseMenus();
            return true;
        }
        case CFireKeyDlg::kChoiceMessage:
            if (lParam != 0) {
                const ButtonChoice choice = *reinterpret_cast<const ButtonChoice*>(lParam);
                StoreChoice(fireKeyBox_, choice);
            }
            return true;
        case WM_TIMER:
            if (wParam != static_cast<WPARAM>(MainTimer::LeftClickWarning)) return false;
            window_.KillTimer(MainTimer::LeftClickWarning);
            window_.showAttention(kLeftClickWarningText);
            return true;
        default:
            break;
    }
    if (IsSubmenuDeactivation(message)) {
        OnMenuDeactivated();
        return true;
    }
    return false;
}

void ButtonAssignmentPage::OpenFunctionMenu(std::uint32_t boxId) {
    CloseMenus();
    CComboButton* target = box(boxId);
    if (target == nullptr) return;
    const int windowTop = ClientToScreen(hwnd(), POINT{0, 0}).y;
    int top = target->Rect().bottom - PageHost::Scale(kMenuOffsetUp);
    const int screenHeight = GetSystemMetrics(SM_CYFULLSCREEN);
    if (windowTop + top + PageHost::Scale(kMenuHeightNeeded) > screenHeight)
        top = screenHeight - windowTop - PageHost::Scale(kMenuHeightKept);
    const POINT at =
        ClientToScreen(hwnd(), POINT{target->Rect().left + PageHost::Scale(kMenuOffsetX), top});
    if (window_.OpenPopup(MainPopupSlot::FunctionMenu, std::make_unique<CComboPopup>(LoadStandardPopupPictures()),
                          at, AssignmentMessage::MenuChoice, static_cast<int>(boxId)) == nullptr)
        return;
    openBox_ = boxId;
    target->SetPopupOpen(true);
}

void ButtonAssignmentPage::OpenSubmenu(UINT request, std::uint32_t boxId, int rowId) {
    CloseSubmenu();
    auto* menu = dynamic_cast<CItemPopup*>(window_.GetPopup(MainPopupSlot::FunctionMenu));
    if (menu == nullptr) return;
    const PopupItem* row = nullptr;
    for (const PopupItem& item : menu->Items()) {
        if (item.id == rowId) row = &item;
    }
    if (row == nullptr) return;
    const RECT frame = GetWindowRect(menu->GetSafeHwnd());
    const POINT at{frame.right, frame.top + row->itemRect.top};
    for (const SubmenuKind& kind : kSubmenus) {
        if (kind.request != request) continue;
        std::unique_ptr<CWndPopup> sub(kind.make(LoadStandardPopupPictures()));
        // Showing the sub-menu takes the activation from the main menu; that
        // must not close it.
        openingSubmenu_ = true;
        window_.OpenPopup(MainPopupSlot::Submenu, std::move(sub), at, kind.choice, static_cast<int>(boxId));
        openingSubmenu_ = false;
        return;
    }
}

void ButtonAssignmentPage::CloseSubmenu() {
    const CWndPopup* sub = window_.GetPopup(MainPopupSlot::Submenu);
    if (sub == nullptr) return;
    // The main menu takes the activation back first, so that a click elsewhere
    // later still closes it; the sub-menu's loss of it here means nothing.
    closingSubmenu_ = true;
    const CWndPopup* menu = window_.GetPopup(MainPopupSlot::FunctionMenu);
    if (menu != nullptr && GetActiveWindow() == sub->GetSafeHwnd())
        SetActiveWindow(menu->GetSafeHwnd());
    window_.ClosePopup(MainPopupSlot::Submenu);
    closingSubmenu_ = false;
}

void ButtonAssignmentPage::CloseMenus() {
    CloseSubmenu();
    window_.ClosePopup(MainPopupSlot::FunctionMenu);
    if (openBox_ == 0) return;
    if (CComboButton* open = box(openBox_)) {
        open->SetPopupOpen(false);
    }
    openBox_ = 0;
}

void ButtonAssignmentPage::OnMenuDeactivated() {
    if (openingSubmenu_ || closingSubmenu_) return;
    // Whether the menus stay depends on where the activation went: to the other
    // menu they stay, anywhere else they close. A click on the row that opened
    // the sub-menu activates the main menu; the sub-menu stays open for it.
    window_.PostMessage(kCheckMenus, 0, 0);
}

void ButtonAssignmentPage::AskForDialog(UINT runMessage, std::uint32_t boxId) {
    if (runMessage == AssignmentMessage::RunMacroChooser) {
        macroBox_ = boxId;
    } else if (runMessage == AssignmentMessage::RunLaunchDialog) {
        launchBox_ = boxId;
    } else {
        fireKeyBox_ = boxId;
    }
    CloseMenus();
    window_.PostMessage(runMessage, 0, 0);
}

void ButtonAssignmentPage::RunDialog(UINT runMessage) {
    if (runMessage == AssignmentMessage::RunFireKeyDialog) {
        // Its choice comes back as CFireKeyDlg::kChoiceMessage.
        CFireKeyDlg dialog(hwnd());
        dialog.DoModal();
        return;
    }
    using Chooser = bool (*)(PageHost&, int);
    Chooser chooser = nullptr;
    std::uint32_t boxId = 0;
    if (runMessage == AssignmentMessage::RunMacroChooser) {
        chooser = &ChooseMacroForKey;
        boxId = macroBox_;
    } else if (runMessage == AssignmentMessage::RunShortcutDialog) {
        chooser = &ChooseShortcutForKey;
        boxId = fireKeyBox_;
    } else {
        chooser = &ChooseLaunchForKey;
        boxId = launchBox_;
    }
    const auto key = KeyOfBox(boxId);
    if (!key || !chooser(window_, *key)) return;
    AfterExternalChoice(*key);
}

void ButtonAssignmentPage::AfterExternalChoice(int keyIndex) {
    if (CComboButton* target =
            box(ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(keyIndex)))
        target->SetValueText(profile().keys[static_cast<std::size_t>(keyIndex)].name);
    EnforceLeftClick(keyIndex);
}

void ButtonAssignmentPage::StoreChoice(std::uint32_t boxId, const ButtonChoice& choice,
                                       const std::string& url, const MacroRecord* macro) {
    CloseMenus();
    const auto key = KeyOfBox(boxId);
    if (!key) return;
    CComboButton* target = box(boxId);
    if (target == nullptr) return;
    target->SetValueText(choice.name);
    assignKey(profile(), *key, choice.name, url, choice.action, macro);
    EnforceLeftClick(*key);
}

void ButtonAssignmentPage::EnforceLeftClick(int keyIndex) {
    if (!enforceLeftClick(profile(), keyIndex, window_.model().language)) {
        edited(ProfileField::KeyAssignments);
        return;
    }
    // The change was taken back: show it, send nothing, and warn a moment later
    // (after the menus are gone).
    if (CComboButton* target =
            box(ControlId::FirstAssignmentBox + static_cast<std::uint32_t>(keyIndex)))
        target->SetValueText(profile().keys[static_cast<std::size_t>(keyIndex)].name);
    window_.SetTimer(MainTimer::LeftClickWarning,
                     static_cast<std::uint32_t>(kWarningDelay.count()));
}

}  // namespace zavrin
