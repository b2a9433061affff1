#pragma once

#include <chrono>
#include <optional>
#include <vector>

#include "model/AppProfiles.h"

namespace zavrin {

// The rule engine of automatic profiles: told which program comes to the
// front, it makes the rule's profile current once that program has stayed in
// front for kSettleTime, and the profile the user last chose by hand when the
// program has no rule. Focus that cannot be tied to a program changes nothing;
// programs passed over quickly (Alt+Tab) change nothing either, because only a
// program that outlasts the settle time counts.
//
// It knows no windows and no clock: the host runs one one-shot timer for it
// (armed only while a change is pending, so nothing wakes while focus stays
// put) and switches profiles the way the profile menu does. UI thread only.
class AutoProfileSwitcher {
public:
    static constexpr std::chrono::milliseconds kSettleTime{300};
    static constexpr std::size_t kRecentCount = 10;

    class Host {
    public:
        virtual ~Host() = default;
        // One-shot; arming an armed timer restarts it. Ends in settleTimeElapsed().
        virtual void armSettleTimer(std::chrono::milliseconds after) = 0;
        virtual void cancelSettleTimer() = 0;
        virtual int currentSlot() const = 0;
        // Whether the slot is in the profile list (a removed slot's rule is inactive).
        virtual bool slotListed(int slot) const = 0;
        // Makes `slot` current exactly as choosing it in the profile menu does.
        virtual void makeCurrent(int slot) = 0;
    };

    // `rules` is owned by the caller and must outlive the switcher; call
    // rulesChanged() after changing it. The profile current now counts as the
    // one chosen by hand.
    AutoProfileSwitcher(Host& host, const AppProfiles& rules);

    // A watcher's news: the program now in front (unknown ones included).
    void frontChanged(const FrontProgram& program);
    // The host's timer fired.
    void settleTimeElapsed();
    // The user made `slot` current by hand (profile menu, slot tab).
    void handChosen(int slot);
    // The rules or the pause flag changed (dialog, zavrinctl): applied at once
    // for the program in front. Pausing goes back to the hand-chosen profile.
    void rulesChanged();

    // The slot a rule made current and keeps current, if any.
    std::optional<int> ruleSlot() const { return ruleSlot_; }
    int handChosenSlot() const { return handChosen_; }
    // The program that has stayed in front (not the one still settling).
    const FrontProgram& frontProgram() const { return settled_; }
    // Programs that came to the front during this run, newest first, each once.
    const std::vector<FrontProgram>& recentPrograms() const { return recent_; }

private:
    void remember(const FrontProgram& program);
    void apply();

    Host& host_;
    const AppProfiles& rules_;
    FrontProgram settled_;
    std::optional<FrontProgram> pending_;
    std::optional<int> ruleSlot_;
    int handChosen_;
    std::vector<FrontProgram> recent_;
};

}  // namespace zavrin
