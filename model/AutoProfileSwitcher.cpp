#include "model/AutoProfileSwitcher.h"

#include <algorithm>

namespace zavrin {

AutoProfileSwitcher::AutoProfileSwitcher(Host& host, const AppProfiles& rules)
    : host_(host), rules_(rules), handChosen_(host.currentSlot()) {}

void AutoProfileSwitcher::frontChanged(const FrontProgram& program) {
    if (!program.known()) {
        // The desktop or a foreign window: whatever was settling did not stay
        // in front, and the profile in force stays.
        if (pending_) host_.cancelSettleTimer();
        pending_.reset();
        return;
    }
    remember(program);
    if (program == settled_) {
        // Back to the program already in force before the last one settled.
        if (pending_) host_.cancelSettleTimer();
        pending_.reset();
        return;
    }
    pending_ = program;
    host_.armSettleTimer(kSettleTime);
}

void AutoProfileSwitcher::settleTimeElapsed() {
    host_.cancelSettleTimer();
    if (!pending_) return;
    settled_ = *pending_;
    pending_.reset();
    apply();
}

void AutoProfileSwitcher::handChosen(int slot) {
    handChosen_ = slot;
    // The user's choice holds until another program comes to the front.
    ruleSlot_.reset();
}

void AutoProfileSwitcher::rulesChanged() { apply(); }

void AutoProfileSwitcher::apply() {
    std::optional<int> target;
    if (!rules_.paused && settled_.known()) {
        const AppProfileRule* rule = rules_.match(settled_);
        if (rule != nullptr && host_.slotListed(rule->slot)) target = rule->slot;
    }
    ruleSlot_ = target;
    int slot = target.value_or(handChosen_);
    // A hand-chosen slot that has left the list since is not brought back.
    if (!target && !host_.slotListed(slot)) return;
    if (slot != host_.currentSlot()) host_.makeCurrent(slot);
}

void AutoProfileSwitcher::remember(const FrontProgram& program) {
    const auto it = std::find(recent_.begin(), recent_.end(), program);
    if (it != recent_.end()) recent_.erase(it);
    recent_.insert(recent_.begin(), program);
    if (recent_.size() > kRecentCount) recent_.pop_back();
}

}  // namespace zavrin
