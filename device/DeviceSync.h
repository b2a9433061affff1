#pragma once

#include "device/CommandBuilders.h"
#include "device/CommandChannel.h"
#include "device/DeviceEventQueue.h"
#include "device/DeviceLink.h"
#include "device/MacroTransfer.h"
#include "device/SentImages.h"
#include "device/SyncView.h"
#include "model/MacroLibrary.h"
#include "model/ProfileStore.h"
#include "platform/Clock.h"

namespace zavrin {

// Whether an apply pass shows the progress dialog when it wrote something.
// zavrinctl's requests apply quietly: their answer waits for the pass, and
// the window shows the change itself.
enum class ApplyFeedback { Progress, Quiet };

// Who made another profile current: the user, or the program on its own (a
// rule of automatic profiles following the program in front).
enum class SwitchOrigin { User, Automatic };

// Groups of settings a page marks for the next apply pass.
enum class DirtyGroup { Buttons, Performance, Power, SensorOptions, MotionWakeup, Pointer };

// The settings of a profile a page can edit; each belongs to exactly one
// dirty group, so a page says what it changed and the link knows what to send.
enum class ProfileField {
    KeyAssignments,
    DpiLevels,
    DpiColours,
    PollingRate,
    LiftOff,
    Debounce,
    Lighting,
    PowerSaving,
    MoveLighting,
    AngleSnap,
    MotionSync,
    RippleControl,
    MotionWakeup,
    PointerSettings,
};
// The last field, for walking them all.
inline constexpr ProfileField kLastProfileField = ProfileField::PointerSettings;

// Which command group carries a field: the keys go with command 0x01; DPI
// levels and colours, rate, lift-off, debounce and lighting with the
// performance commands; power saving (with the lights-off-while-moving mode)
// with 0x07; the three sensor options with
// 0x08. Motion wake-up and the desktop's pointer settings are stored but sent
// by no command.
constexpr DirtyGroup GroupOf(ProfileField field) {
    switch (field) {
        case ProfileField::KeyAssignments:
            return DirtyGroup::Buttons;
        case ProfileField::DpiLevels:
        case ProfileField::DpiColours:
        case ProfileField::PollingRate:
        case ProfileField::LiftOff:
        case ProfileField::Debounce:
        case ProfileField::Lighting:
            return DirtyGroup::Performance;
        case ProfileField::PowerSaving:
        case ProfileField::MoveLighting:
            return DirtyGroup::Power;
        case ProfileField::AngleSnap:
        case ProfileField::MotionSync:
        case ProfileField::RippleControl:
            return DirtyGroup::SensorOptions;
        case ProfileField::MotionWakeup:
            return DirtyGroup::MotionWakeup;
        case ProfileField::PointerSettings:
            return DirtyGroup::Pointer;
    }
    return DirtyGroup::Buttons;
}

// Keeps the mouse and the current profile in step in both directions: the apply
// pass, the post-scan update, the status reports and timers 30, 70, 80 and 110.
//
// Threads: UI thread only. Reader threads reach it only through the event sink;
// the UI thread hands each event to handleEvent (or ApplyStatus/onDeviceChange).
class DeviceSync {
public:
    static constexpr std::chrono::milliseconds kApplyDelay{20};
    static constexpr std::chrono::milliseconds kSaveDelay{10000};
    static constexpr std::chrono::milliseconds kLinkCheckAfterScan{1000};
    static constexpr std::chrono::milliseconds kLinkCheckAfterStatus{100};
    static constexpr std::chrono::milliseconds kBatteryPeriod{1000};

    // Language texts used here.
    static constexpr int kProgressCaptionText = 146;
    static constexpr int kNotConnectedText = 155;
    static constexpr int kNeedsConnectionText = 156;

    DeviceSync(ProfileStore& store, const MacroLibrary& library, DeviceLink& link, Clock& clock,
               SyncView& view, TimerHost& timers);

    // A page changed `field` of the current profile: its group is marked and
    // the apply pass (re)armed, so that several changes within 20 ms share one pass.
    void edited(ProfileField field) { requestApply(GroupOf(field)); }
    // `field` is changing (a slider being dragged) or is sent at once by the
    // caller: its group is marked, the apply pass is not armed.
    void editing(ProfileField field) { markDirty(GroupOf(field)); }
    // Another profile became current: its buttons and performance settings go
    // to the mouse with the next pass, which is armed; its power and sensor
    // options follow with their next change. An automatic switch while the
    // mouse cannot be written arms nothing: the groups wait for the mouse and
    // go out when a scan or its link brings it back, so that focus moving
    // between programs never puts up a notice the user did nothing for.
    void profileReplaced(SwitchOrigin origin = SwitchOrigin::User);
    // Marks what every profile carries to the mouse (buttons and performance)
    // for a pass the caller runs itself.
    void markProfileForApply();

    // The groups themselves, for the device layer and its tests: sets a dirty
    // group and (re)arms the apply timer, or only sets it.
    void requestApply(DirtyGroup group);
    void markDirty(DirtyGroup group);
    bool isDirty(DirtyGroup group) const;
    // Settings wait to be saved (timer 70 armed, or a change made on the
    // mouse waits for the next save).
    bool savePending() const { return savePending_; }

    // The apply pass: writes the dirty groups and changed macros of the current
    // profile and arms the deferred save.
    void ApplyToDevice(ApplyFeedback feedback = ApplyFeedback::Progress);

    // A full scan: interfaces, readers, handles, then the post-scan update.
    void ScanDevices();
    // WM_DEVICECHANGE arrival or removal.
    void onDeviceChange(DeviceChange change);
    // A status report decoded by `kind`'s reader.
    void ApplyStatus(ConnectionKind kind, const StatusReport& status);
    void handleEvent(const DeviceEvent& event);

    // Timers 30, 70, 80 and 110; false for any other id.
    bool onTimer(int id);

    // Refills every sent image from the current profile, so that the next pass
    // sends only what the user changes afterwards.
    void RebuildSentImages();

    // A write needs the mouse linked, or a cable or Bluetooth connection.
    bool canWriteToDevice() const;

    // Some group or macro is still to be written: changed and not yet sent, or
    // cut off by an unplug. An interrupted pass is taken up again as soon as a
    // connection can take it (a scan that finds one, the mouse linked again).
    bool deliveryPending() const;
    // The dirty group whose pass sends settings command `command`.
    static DirtyGroup groupOfCommand(std::uint8_t command);

    // The reset flow's device and profile steps: command 0x0F, the current profile
    // back to its defaults under its old name, its file written, images rebuilt.
    void resetDeviceAndProfile();

    bool SendPairing() { return channel_.SendPairing(); }

    // Saves now if a save is pending (the window's destruction). False when a file
    // could not be written; the save then stays pending.
    bool saveIfPending();
    // Saves now whether or not a save is pending (the profile-slot operations).
    // False when a file could not be written; the save then stays pending, and
    // the next save point or the program's end tries again.
    bool saveNow();
    // Something in memory waits to be saved that no change of this run made
    // (a start-up write that failed).
    void markSavePending() { savePending_ = true; }
    // What the last failed save met; meaningful while a save is pending.
    const FileProblem& saveProblem() const { return saveProblem_; }

    // Tells the next slot assignment to refresh the keys' macros from the library.
    void setMacroLibraryChanged() { macros_.refreshNameFlag = true; }

    CommandChannel& channel() { return channel_; }
    SentImages& sentImages() { return images_; }
    MacroTransfer& macroTransfer() { return macros_; }

    int lastReportedDpiLevel = 2;
    int batteryPercent = 100;
    ChargeState chargeState = ChargeState::OnBattery;
    // 0 at start, 1 the not-linked text is hidden, 2 it is shown.
    int offlineIndicatorState = 0;
    int batteryAnimationStep = 0;

private:
    bool buttonsDirty = false;
    bool performanceDirty = false;
    bool powerDirty = false;
    bool sensorOptionsDirty = false;
    bool motionWakeupDirty = false;
    bool pointerDirty = false;
    bool savePending_ = false;
    FileProblem saveProblem_;
    // The last pass lost its connection before every macro had gone out; until a
    // pass completes, rebuilt images must not claim the device holds them.
    bool macrosUndelivered_ = false;

    // What the battery timer last handed to the view. The timer runs only while
    // the gauge has something to show: a charge animation, or a reading it has
    // not shown yet; an idle program holding a steady reading does not wake.
    struct BatteryReading {
        int percent = 0;
        ChargeState state = ChargeState::OnBattery;
        bool online = false;
        bool operator==(const BatteryReading&) const = default;
    };
    BatteryReading currentBatteryReading() const;
    std::optional<BatteryReading> shownBattery_;
    bool batteryTimerArmed_ = false;

    // Runs one group's builder; true when every report of it reached a device.
    template <typename Builder>
    bool delivered(Builder&& builder);
    // Arms a pass for what an interrupted pass left when a connection can take it.
    void redeliverIfReachable();
    void postScanUpdate();
    void onLinkIndicatorTimer();
    void onBatteryTimer();
    // Starts the battery timer unless it runs already (a running one keeps its
    // beat, so frequent status reports cannot postpone the gauge forever).
    void armBatteryTimer();
    // Arms the battery timer when the gauge or the alerts have something new to
    // show: a reading that differs from the one last handed to the view.
    void armBatteryTimerIfChanged();
    bool saveAll();
    void noteSaveFailure(const FileProblem& problem);
    SensorTable sensor() const;

    ProfileStore& store_;
    DeviceLink& link_;
    SyncView& view_;
    TimerHost& timers_;
    SentImages images_;
    CommandChannel channel_;
    CommandBuilders builders_;
    MacroTransfer macros_;
};

}  // namespace zavrin
