#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/CSmallDlg.h"
#include "model/AppProfiles.h"
#include "platform/PlatformServices.h"

namespace zavrin {

class CCheckButton;
class CAppRuleList;
class CVScrollBar;

// The automatic-profiles dialog: the rules (program and the profile it gets),
// Add (a program file from the system's file dialog, or one of the programs
// that came to the front during this run) and Remove, and a box that pauses
// switching. Every change is made on `rules` at once and reported through
// `changed`, so the owner saves it and the mouse follows while the dialog is
// still open. UI thread only.
class CAppProfilesDlg : public CSmallDlg {
public:
    static constexpr SIZE kDesignSize{528, 365};  // the size of its frame picture
    static constexpr std::uint32_t kRuleList = 3520;
    static constexpr std::uint32_t kAddButton = 3521;
    static constexpr std::uint32_t kRemoveButton = 3522;
    static constexpr std::uint32_t kPauseBox = 3523;
    static constexpr std::uint32_t kRuleScrollBar = 3526;
    // Reports of the dialog's two menus.
    static constexpr UINT kProgramChosen = WM_APP + 70;
    static constexpr UINT kProfileChosen = WM_APP + 71;
    static constexpr UINT kNextStep = WM_APP + 72;
    static constexpr int kProgramMenuSlot = 0;
    static constexpr int kProfileMenuSlot = 1;

    // What the dialog shows of the five profile slots.
    struct Slots {
        std::array<std::string, AppProfiles::kSlotCount> names;
        std::array<bool, AppProfiles::kSlotCount> listed{};
        std::array<int, AppProfiles::kSlotCount> order{0, 1, 2, 3, 4};  // list order
        int listedCount = 0;
    };

    struct Environment {
        AppProfiles& rules;
        Slots slots;
        std::vector<FrontProgram> recentPrograms;  // newest first
        std::string note;                          // the watcher's limitation, if any
        PlatformServices& services;
        std::function<void()> changed;
    };

    CAppProfilesDlg(Environment env, HWND owner);
    ~CAppProfilesDlg() override;

protected:
    void BuildExtras() override;
    void OnOK() override {}
    void OnCancel() override { OnCloseButton(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OpenProgramMenu();
    void OnProgramChosen(int index);
    void OpenProfileMenu();
    void AddRule(int slot);
    void RemoveSelected();
    void CloseMenus();
    void Changed();
    void ShowInactiveNote();
    // A press on the rule list's scroll bar or a drag of its thumb.
    void OnRuleBar(LPARAM code, WPARAM part);
    void OnWheel(POINT client, int rows);
    POINT MenuPlace() const;

    Environment env_;
    CAppRuleList* list_ = nullptr;
    CVScrollBar* ruleBar_ = nullptr;
    CCheckButton* pause_ = nullptr;
    CStaticText* inactiveNote_ = nullptr;
    std::string chosenProgram_;
};

}  // namespace zavrin
