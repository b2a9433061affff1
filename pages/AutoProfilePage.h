#pragma once

#include <memory>

#include "model/AppProfiles.h"
#include "model/AutoProfileSwitcher.h"
#include "pages/MainPage.h"

namespace zavrin {

class PageHost;
class CStaticText;
class ForegroundWatcher;

// Automatic profiles in the main window: the rules file, the rule engine fed
// by the platform's front-program watcher, the texts beside the profile
// selector that say which profile is current and whether a rule chose it, the
// dialog, and the pause in the tray menu. Profile switches go through the
// profile selector's own path (AutoProfileMessage::MakeCurrent). UI thread only.
class AutoProfilePage final : public MainPage, public AutoProfileSwitcher::Host {
public:
    explicit AutoProfilePage(PageHost& window);
    ~AutoProfilePage() override;

    void Build(PageHost& window) override;
    void RefreshFromProfile() override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

    const AppProfiles& rules() const { return rules_; }
    const AutoProfileSwitcher& switcher() const { return *switcher_; }

private:
    // AutoProfileSwitcher::Host
    void armSettleTimer(std::chrono::milliseconds after) override;
    void cancelSettleTimer() override;
    int currentSlot() const override;
    bool slotListed(int slot) const override;
    void makeCurrent(int slot) override;

    void OnFrontChanged();
    // After the rule engine acted: config.ini is to keep the hand choice, and
    // the texts beside the selector follow.
    void AfterSwitch();
    void ReloadRules();
    void SaveRules();
    void ShowPauseMark();
    void SetPaused(bool paused);
    void OpenDialog();
    void ShowStatus();

    PageHost& window_;
    AppProfiles rules_;
    std::unique_ptr<AutoProfileSwitcher> switcher_;
    ForegroundWatcher* watcher_ = nullptr;
    CStaticText* currentText_ = nullptr;
    CStaticText* chosenByText_ = nullptr;
    bool switching_ = false;
};

}  // namespace zavrin
