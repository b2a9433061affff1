#include "device/DeviceSync.h"

#include "model/NameTables.h"
#include "model/ProfileReset.h"

namespace zavrin {

namespace {

constexpr int kStaticEffectText = 109;
constexpr int kEffect2Text = 101;
constexpr int kEffect3Text = 102;
constexpr std::uint8_t kEffect2 = 2;
constexpr std::uint8_t kEffect3 = 3;
constexpr int kFullBattery = 100;
constexpr int kAnimationStep = 25;
constexpr int kRateButtons8000 = 7;
constexpr int kRateButtons4000 = 6;

}  // namespace

DeviceSync::DeviceSync(ProfileStore& store, const MacroLibrary& library, DeviceLink& link,
                       Clock& clock, SyncView& view, TimerHost& timers)
    : store_(store),
      link_(link),
      view_(view),
      timers_(timers),
      channel_(link, clock),
      builders_(channel_, images_),
      macros_(library, store.language(), channel_, images_) {}

SensorTable DeviceSync::sensor() const {
    return sensorTable(store_.sensorId());
}

bool DeviceSync::isDirty(DirtyGroup group) const {
    switch (group) {
        case DirtyGroup::Buttons:
            return buttonsDirty;
        case DirtyGroup::Performance:
            return performanceDirty;
        case DirtyGroup::Power:
            return powerDirty;
        case DirtyGroup::SensorOptions:
            return sensorOptionsDirty;
        case DirtyGroup::MotionWakeup:
            return motionWakeupDirty;
        case DirtyGroup::Pointer:
            return pointerDirty;
    }
    return false;
}

void DeviceSync::markDirty(DirtyGroup group) {
    switch (group) {
        case DirtyGroup::Buttons:
            buttonsDirty = true;
            break;
        case DirtyGroup::Performance:
            performanceDirty = true;
            break;
        case DirtyGroup::Power:
            powerDirty = true;
            break;
        case DirtyGroup::SensorOptions:
            sensorOptionsDirty = true;
            break;
        case DirtyGroup::MotionWakeup:
            motionWakeupDirty = true;
            break;
        case DirtyGroup::Pointer:
            pointerDirty = true;
            break;
    }
}

void DeviceSync::requestApply(DirtyGroup group) {
    markDirty(group);
    timers_.setTimer(TimerId::Apply, kApplyDelay);
}

void DeviceSync::profileReplaced(SwitchOrigin origin) {
    markDirty(DirtyGroup::Buttons);
    markDirty(DirtyGroup::Performance);
    if (origin == SwitchOrigin::Automatic && !canWriteToDevice()) return;
    timers_.setTimer(TimerId::Apply, kApplyDelay);
}

void DeviceSync::markProfileForApply() {
    markDirty(DirtyGroup::Buttons);
    markDirty(DirtyGroup::Performance);
}

bool DeviceSync::canWriteToDevice() const {
    return link_.deviceOnline() || link_.featureHandle(ConnectionKind::Wired) != nullptr ||
           link_.featureHandle(ConnectionKind::Bluetooth) != nullptr;
}

void DeviceSync::ApplyToDevice(ApplyFeedback feedback) {
    channel_.wroteToDevice = false;
    if (!canWriteToDevice()) {
        // The dirty groups stay set, so the next attempt writes everything still marked.
        view_.showAttention(kNeedsConnectionText);
        return;
    }
    ProfileRecord& profile = store_.currentProfile();
    macros_.AssignMacroSlots(profile);
    // A group whose reports did not all reach the mouse (it was unplugged in the
    // middle of the pass) stays dirty, so the next pass sends what is missing.
    if (buttonsDirty) buttonsDirty = !delivered([&] { builders_.sendKeys(profile, macros_.heldKeys()); });
    if (performanceDirty) performanceDirty = !delivered([&] { builders_.sendPerformance(profile, sensor()); });
    if (powerDirty) powerDirty = !delivered([&] { builders_.sendPowerSaving(profile); });
    if (sensorOptionsDirty) sensorOptionsDirty = !delivered([&] { builders_.sendSensorOptions(profile); });
    // No report carries these two; they are only stored with the profile.
    motionWakeupDirty = pointerDirty = false;
    macros_.SyncMacros(profile, true);
    macrosUndelivered_ = link_.SendHandle() == nullptr;
    if (channel_.wroteToDevice && feedback == ApplyFeedback::Progress) view_.showProgress(kProgressCaptionText);
    timers_.killTimer(TimerId::DeferredSave);
    savePending_ = true;
    timers_.setTimer(TimerId::DeferredSave, kSaveDelay);
    view_.RefreshFromProfile();
}

template <typename Builder>
bool DeviceSync::delivered(Builder&& builder) {
    const int undeliveredBefore = channel_.undeliveredCount;
    builder();
    return link_.SendHandle() != nullptr && channel_.undeliveredCount == undeliveredBefore;
}

void DeviceSync::RebuildSentImages() {
    ProfileRecord& profile = store_.currentProfile();
    macros_.AssignMacroSlots(profile);
    // The images of groups still dirty keep what the device was last told:
    // rebuilding them from the profile would claim it holds changes that were
    // never delivered (a change waiting for its pass, or cut off by an unplug).
    const SentImages kept = images_;
    builders_.rebuildImages(profile, sensor(), macros_.heldKeys());
    for (std::uint8_t command = Command::Keys; command <= SentImages::kLastSettingsCommand; ++command) {
        if (isDirty(groupOfCommand(command))) images_.command(command) = kept.command(command);
    }
    macros_.SyncMacros(profile, false);
    if (macrosUndelivered_) images_.macroSlotKnown.fill(false);
}

DirtyGroup DeviceSync::groupOfCommand(std::uint8_t command) {
    switch (command) {
        case Command::Keys:
            return DirtyGroup::Buttons;
        case Command::PowerSaving:
            return DirtyGroup::Power;
        case Command::SensorOptions:
            return DirtyGroup::SensorOptions;
        default:
            return DirtyGroup::Performance;
    }
}

bool DeviceSync::deliveryPending() const {
    return buttonsDirty || performanceDirty || powerDirty || sensorOptionsDirty || macrosUndelivered_;
}

void DeviceSync::redeliverIfReachable() {
    if (deliveryPending() && link_.SendHandle() != nullptr && canWriteToDevice()) {
        timers_.setTimer(TimerId::Apply, kApplyDelay);
    }
}

void DeviceSync::ScanDevices() {
    link_.scanInterfaces();
    postScanUpdate();
    link_.commitPresence();
}

void DeviceSync::postScanUpdate() {
    if (!link_.anyDevice) {
        view_.showStatusIcon(std::nullopt);
        return;
    }
    armBatteryTimer();
    ConnectionKind shown = ConnectionKind::Dongle;
    if (link_.present(ConnectionKind::Wired)) {
        shown = ConnectionKind::Wired;
    } else if (link_.present(ConnectionKind::Bluetooth)) {
        shown = ConnectionKind::Bluetooth;
    }
    view_.showStatusIcon(shown);
    if (!link_.slot(shown).previouslyPresent) channel_.QueryDeviceInfo();
    switch (shown) {
        case ConnectionKind::Wired:
            view_.enablePollingRateHeader(true);
            break;
        case ConnectionKind::Bluetooth:
            view_.closePollingRateSection();
            view_.enablePollingRateHeader(false);
            break;
        case ConnectionKind::Dongle:
            if (link_.pollingCapability == RateClass::UpTo8000) {
                view_.enableRateButtons(kRateButtons8000);
            } else if (link_.pollingCapability == RateClass::UpTo4000) {
                view_.enableRateButtons(kRateButtons4000);
            }
            view_.enablePollingRateHeader(true);
            break;
    }
    timers_.setTimer(TimerId::LinkIndicator, kLinkCheckAfterScan);
    redeliverIfReachable();
}

void DeviceSync::onDeviceChange(DeviceChange change) {
    if (change == DeviceChange::ReaderEnded) {
        link_.restartReaders();
        return;
    }
    if (change == DeviceChange::Arrival) {
        if (link_.allPresent()) return;
        ScanDevices();
        if (link_.anyDevice && link_.refreshOnNextDevice) {
            link_.refreshOnNextDevice = false;
            view_.RefreshFromProfile();
        }
        view_.redrawControls();
        return;
    }
    if (!link_.anyDevice) return;
    ScanDevices();
    if (!link_.anyDevice) {
        link_.refreshOnNextDevice = true;
        view_.lastDeviceGone();
    }
}

void DeviceSync::ApplyStatus(ConnectionKind kind, const StatusReport& status) {
    // A report read just before its connection was unplugged can arrive after the
    // removal scan; it no longer speaks for any device and must not mark a
    // vanished receiver as linked.
    if (!link_.present(kind)) return;
    const bool cableOrBluetooth =
        link_.present(ConnectionKind::Wired) || link_.present(ConnectionKind::Bluetooth);
    if (kind == ConnectionKind::Dongle) {
        if (!cableOrBluetooth) {
            const bool becameLinked = status.linked && !link_.deviceOnline();
            const bool becameUnlinked = !status.linked && link_.deviceOnline();
            const bool unlinkedNotShown = !status.linked && offlineIndicatorState != 2;
            if (becameLinked || becameUnlinked || unlinkedNotShown) {
                timers_.setTimer(TimerId::LinkIndicator, kLinkCheckAfterStatus);
            }
        }
        if (!status.linked) {
            link_.onReceiverStatus(false);
            if (!cableOrBluetooth) {
                batteryPercent = 0;
                chargeState = ChargeState::OnBattery;
            }
            armBatteryTimerIfChanged();
            return;
        }
        const bool cameBack = !link_.deviceOnline();
        link_.onReceiverStatus(true);
        // The mouse back on its receiver takes what a pass could not deliver.
        if (cameBack) redeliverIfReachable();
    }

    ProfileRecord& profile = store_.currentProfile();
    bool changed = false;
    // A level the profile does not have is a damaged report, not a DPI change.
    if (status.dpiLevel < kDpiLevelCount && status.dpiLevel != lastReportedDpiLevel) {
        lastReportedDpiLevel = status.dpiLevel;
        profile.currentDpiLevel = status.dpiLevel;
        changed = true;
    }
    batteryPercent = status.battery;
    chargeState = status.chargeState;
    armBatteryTimerIfChanged();
    if (status.pollingRateIndex != profile.pollingRateValue[0]) {
        profile.pollingRateValue = {status.pollingRateIndex, 0, 0};
        profile.pollingRateName = std::string(pollingRateName(status.pollingRateIndex));
        changed = true;
    }
    if (status.lightingMode != profile.lighting1.modeValue[0]) {
        const int text = status.lightingMode == kEffect2   ? kEffect2Text
                         : status.lightingMode == kEffect3 ? kEffect3Text
                                                           : kStaticEffectText;
        profile.lighting1.name = store_.language().languageText(text);
        profile.lighting1.modeValue = {status.lightingMode, 0, 0};
        changed = true;
    }
    int& launchCache = link_.slot(kind).launchCache;
    if (status.launchIndex == 0) {
        launchCache = 0;
    } else if (status.launchIndex != launchCache) {
        // The same index repeated launches nothing until the key was reported released.
        launchCache = status.launchIndex;
        if (status.launchIndex <= kKeyCount) {
            view_.openUrl(profile.keys[static_cast<std::size_t>(status.launchIndex - 1)].url);
        }
    }
    if (changed) {
        savePending_ = true;
        view_.RefreshFromProfile();
        RebuildSentImages();
        view_.showOnScreenDisplay();
    }
}

void DeviceSync::handleEvent(const DeviceEvent& event) {
    if (const auto* status = std::get_if<StatusEvent>(&event)) {
        ApplyStatus(status->kind, status->status);
    } else {
        onDeviceChange(std::get<DeviceChange>(event));
    }
}

bool DeviceSync::onTimer(int id) {
    switch (id) {
        case TimerId::Apply:
            timers_.killTimer(TimerId::Apply);
            ApplyToDevice();
            return true;
        case TimerId::DeferredSave:
            timers_.killTimer(TimerId::DeferredSave);
            // A save that failed (a full disk) stays pending, so the program's end or
            // the next apply pass tries again instead of forgetting the changes.
            savePending_ = !saveAll();
            return true;
        case TimerId::LinkIndicator:
            onLinkIndicatorTimer();
            return true;
        case TimerId::Battery:
            onBatteryTimer();
            return true;
        default:
            return false;
    }
}

void DeviceSync::onLinkIndicatorTimer() {
    timers_.killTimer(TimerId::LinkIndicator);
    const bool dongleOpen = link_.featureHandle(ConnectionKind::Dongle) != nullptr;
    const bool reachable = link_.featureHandle(ConnectionKind::Wired) != nullptr ||
                           link_.featureHandle(ConnectionKind::Bluetooth) != nullptr ||
                           (dongleOpen && link_.deviceOnline());
    if (reachable) {
        if (offlineIndicatorState != 1) {
            offlineIndicatorState = 1;
            view_.showNotLinkedText(false);
        }
    } else if (dongleOpen) {
        if (offlineIndicatorState != 2) {
            offlineIndicatorState = 2;
            view_.showNotLinkedText(true);
        }
    } else {
        view_.showAttention(kNotConnectedText);
    }
}

void DeviceSync::onBatteryTimer() {
    if (batteryPercent > kFullBattery) batteryPercent = 0;
    batteryAnimationStep += kAnimationStep;
    if (batteryAnimationStep > kFullBattery) batteryAnimationStep = kAnimationStep;
    view_.updateBattery(batteryPercent, chargeState, batteryAnimationStep);
    shownBattery_ = currentBatteryReading();
    // Only the charging picture moves; any other reading is now on screen and
    // stays there until a status report or a scan brings a new one.
    if (chargeState != ChargeState::Charging) {
        timers_.killTimer(TimerId::Battery);
        batteryTimerArmed_ = false;
    }
}

DeviceSync::BatteryReading DeviceSync::currentBatteryReading() const {
    return BatteryReading{batteryPercent, chargeState, link_.deviceOnline()};
}

void DeviceSync::armBatteryTimer() {
    if (batteryTimerArmed_) return;
    timers_.setTimer(TimerId::Battery, kBatteryPeriod);
    batteryTimerArmed_ = true;
}

void DeviceSync::armBatteryTimerIfChanged() {
    if (shownBattery_ != currentBatteryReading()) armBatteryTimer();
}

bool DeviceSync::saveAll() {
    const FileProblem problem = store_.saveAll();
    if (problem) noteSaveFailure(problem);
    return !problem;
}

void DeviceSync::noteSaveFailure(const FileProblem& problem) {
    saveProblem_ = problem;
    view_.showSaveFailure(problem);
}

bool DeviceSync::saveIfPending() {
    if (!savePending_) return true;
    return saveNow();
}

bool DeviceSync::saveNow() {
    timers_.killTimer(TimerId::DeferredSave);
    savePending_ = !saveAll();
    return !savePending_;
}

void DeviceSync::resetDeviceAndProfile() {
    Payload payload{};
    payload[0] = kConfirmByte;
    channel_.SendCommand(Command::FactoryReset, payload);
    const int index = store_.currentIndex();
    resetProfileKeepingName(store_, index);
    if (const FileProblem problem = store_.saveProfileSlot(index)) {
        savePending_ = true;
        noteSaveFailure(problem);
    }
    RebuildSentImages();
}

}  // namespace zavrin
