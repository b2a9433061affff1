#include "pages/AutoProfilePage.h"

#include "dialogs/CAppProfilesDlg.h"
#include "pages/AutoProfileIds.h"
#include "pages/MainWindowIds.h"
#include "pages/PageHost.h"
#include "pages/ProfileShowList.h"
#include "platform/ShowRequestRelay.h"
#include "ui/CStaticText.h"
#include "ui/ControlIds.h"
#include "ui/UiGlobals.h"

namespace zavrin {

namespace {
constexpr int kPauseText = 356;
constexpr int kWaylandNote = 359;
constexpr int kByRuleText = 360;
constexpr int kByHandText = 361;
constexpr int kPausedText = 363;
constexpr int kNoWatcherNote = 366;
constexpr std::uint32_t kLine = DT_SINGLELINE | DT_VCENTER | DT_WORD_ELLIPSIS;
}  // namespace

AutoProfilePage::AutoProfilePage(PageHost& window) : window_(window) {
    rules_.read(appProfilesPath(window_.model().store.dataFolder()));
    switcher_ = std::make_unique<AutoProfileSwitcher>(*this, rules_);
}

AutoProfilePage::~AutoProfilePage() {
    if (watcher_ != nullptr) watcher_->Stop();
}

void AutoProfilePage::Build(PageHost& window) {
    const HWND self = window.GetSafeHwnd();
    // Either side of the profile selector: the current profile, and who chose it.
    currentText_ = window.AddControl(
        CDlgBase::kCommonList,
        std::make_unique<CStaticText>(self, AutoProfileId::CurrentProfileText, PageHost::Scaled(40, 664, 114, 687),
                                      UiColor::TextNormal, DT_RIGHT | kLine, "", TRUE, TRUE, FALSE));
    chosenByText_ = window.AddControl(
        CDlgBase::kCommonList,
        std::make_unique<CStaticText>(self, AutoProfileId::ChosenByText, PageHost::Scaled(187, 664, 262, 687),
                                      UiColor::TextNormal, DT_LEFT | kLine, "", TRUE, TRUE, FALSE));
    window.AddTrayItem(TrayMenuItem{AutoProfileId::PauseCommand, languageText(kPauseText), rules_.paused});
    watcher_ = window.services().FrontProgramWatcher();
    if (watcher_ != nullptr && !watcher_->Start(self, AutoProfileMessage::FrontChanged)) watcher_ = nullptr;
}

void AutoProfilePage::RefreshFromProfile() {
    // Another profile became current while a rule was in force, and not by the
    // rule (zavrinctl's "profile use"): that is the user's own choice now.
    const std::optional<int> rule = switcher_->ruleSlot();
    const int current = window_.model().store.currentIndex();
    if (rule && *rule != current) switcher_->handChosen(current);
    // The list may have changed too (a slot removed).
    AfterSwitch();
}

void AutoProfilePage::AfterSwitch() {
    ProfileStore& store = window_.model().store;
    const std::optional<int> rule = switcher_->ruleSlot();
    const int hand = switcher_->handChosenSlot();
    // A hand choice that has left the profile list cannot be the next start's.
    if (rule && slotListed(hand)) {
        store.setRuleChoice(*rule, hand);
    } else {
        store.clearRuleChoice();
    }
    ShowStatus();
}

void AutoProfilePage::ShowStatus() {
    if (currentText_ == nullptr) return;
    const ProfileStore& store = window_.model().store;
    const std::string name =
        getSetting(store.profiles[static_cast<std::size_t>(store.currentIndex())], Setting::ProfileName, kSettingValue);
    const bool byRule = switcher_->ruleSlot() == store.currentIndex();
    const std::string chosenBy = languageText(rules_.paused ? kPausedText : byRule ? kByRuleText : kByHandText);
    currentText_->ShowText(name);
    chosenByText_->ShowText(chosenBy);
    chosenByText_->SetTextColor(byRule && !rules_.paused ? UiColor::Accent : UiColor::TextNormal);
}

bool AutoProfilePage::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
    result = 0;
    switch (message) {
        case AutoProfileMessage::FrontChanged:
            OnFrontChanged();
            return true;
        case AutoProfileMessage::ReloadRules:
            ReloadRules();
            return true;
        case MainMessage::ShowRequest:
            // The single-instance channel also carries zavrinctl's "rules changed".
            if (wParam != ShowRequestRelay::kReloadAppProfiles) return false;
            ReloadRules();
            return true;
        case AutoProfileMessage::HandChosen:
            switcher_->handChosen(static_cast<int>(wParam));
            AfterSwitch();
            return true;
        case AutoProfileMessage::OpenDialog:
            OpenDialog();
            return true;
        case WM_TIMER:
            if (wParam != static_cast<WPARAM>(AutoProfileId::SettleTimer)) return false;
            switcher_->settleTimeElapsed();
            AfterSwitch();
            return true;
        case WM_COMMAND:
            if (LOWORD(wParam) != AutoProfileId::PauseCommand) return false;
            SetPaused(!rules_.paused);
            return true;
        default:
            return false;
    }
}

void AutoProfilePage::OnFrontChanged() {
    if (watcher_ == nullptr) return;
    const ForegroundProgram front = watcher_->Current();
    switcher_->frontChanged(FrontProgram{front.path, front.name});
}

void AutoProfilePage::ReloadRules() {
    // A file another process is rewriting reads as the old or the new one,
    // never as a mix: saves replace the file in one rename.
    rules_.read(appProfilesPath(window_.model().store.dataFolder()));
    ShowPauseMark();
    switcher_->rulesChanged();
    AfterSwitch();
}

void AutoProfilePage::ShowPauseMark() {
    // The tray menu is rebuilt from the window's items, marks included.
    window_.SetTrayItemChecked(AutoProfileId::PauseCommand, rules_.paused);
}

void AutoProfilePage::SaveRules() {
    rules_.write(appProfilesPath(window_.model().store.dataFolder()));
    ShowPauseMark();
    switcher_->rulesChanged();
    AfterSwitch();
}

void AutoProfilePage::SetPaused(bool paused) {
    rules_.paused = paused;
    SaveRules();
}

void AutoProfilePage::OpenDialog() {
    const ProfileStore& store = window_.model().store;
    const ProfileShowList shown = ProfileShowList::Load(store.settings);
    CAppProfilesDlg::Slots slots;
    slots.listedCount = shown.count;
    for (int i = 0; i < kProfileCount; ++i) {
        const auto s = static_cast<std::size_t>(i);
        slots.names[s] = getSetting(store.profiles[s], Setting::ProfileName, kSettingValue);
        slots.order[s] = shown.list[s];
        slots.listed[s] = slotListed(i);
    }
    std::string note;
    if (watcher_ == nullptr) {
        note = languageText(kNoWatcherNote);
    } else if (watcher_->SeesX11ProgramsOnly()) {
        note = languageText(kWaylandNote);
    }
    CAppProfilesDlg dialog(CAppProfilesDlg::Environment{rules_, slots, switcher_->recentPrograms(), note,
                                                        window_.services(), [this] { SaveRules(); }},
                           window_.GetSafeHwnd());
    dialog.DoModal();
}

void AutoProfilePage::armSettleTimer(std::chrono::milliseconds after) {
    window_.SetTimer(AutoProfileId::SettleTimer, static_cast<std::uint32_t>(after.count()));
}

void AutoProfilePage::cancelSettleTimer() { window_.KillTimer(AutoProfileId::SettleTimer); }

int AutoProfilePage::currentSlot() const { return window_.model().store.currentIndex(); }

bool AutoProfilePage::slotListed(int slot) const {
    const ProfileShowList shown = ProfileShowList::Load(window_.model().store.settings);
    const int position = shown.PositionOf(slot);
    return position >= 0 && position < shown.count;
}

void AutoProfilePage::makeCurrent(int slot) {
    window_.SendMessage(AutoProfileMessage::MakeCurrent, static_cast<WPARAM>(slot), 0);
}

}  // namespace zavrin
