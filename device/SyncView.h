#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "device/ConnectionKind.h"
#include "device/Reports.h"
#include "model/FileResult.h"

namespace zavrin {

// Window timers of the device link. The main window forwards WM_TIMER with these
// ids to DeviceSync::onTimer.
namespace TimerId {
inline constexpr int Apply = 30;          // one-shot: the apply pass
inline constexpr int DeferredSave = 70;   // one-shot: save settings and profiles
inline constexpr int LinkIndicator = 80;  // one-shot: not-linked text and notices
inline constexpr int Battery = 110;       // repeating: battery display
}  // namespace TimerId

// Arms and kills window timers. A timer fires every `period` until killed, like
// SetTimer; one-shot timers kill themselves when they fire. Arming an armed
// timer restarts it. UI thread only.
class TimerHost {
public:
    virtual ~TimerHost() = default;
    virtual void setTimer(int id, std::chrono::milliseconds period) = 0;
    virtual void killTimer(int id) = 0;
};

// What the device synchronisation shows on screen; the main window implements
// it. Every call is made on the UI thread.
class SyncView {
public:
    virtual ~SyncView() = default;

    // Shows the status icon of `kind` and hides the other two (none for nullopt),
    // then invalidates them.
    virtual void showStatusIcon(std::optional<ConnectionKind> kind) = 0;
    virtual void enablePollingRateHeader(bool enabled) = 0;
    // Closes the polling-rate section if it is open and lays the sections out again.
    virtual void closePollingRateSection() = 0;
    // Enables the first `count` rate buttons (7 up to 8000 Hz, 6 up to 4000 Hz).
    virtual void enableRateButtons(int count) = 0;

    // The attention dialog, modeless and topmost, with language text `textId`.
    virtual void showAttention(int textId) = 0;
    // The progress dialog, modal, with caption language text `captionTextId`.
    virtual void showProgress(int captionTextId) = 0;
    // Shows (text 284) or hides the not-linked text of the main window.
    virtual void showNotLinkedText(bool shown) = 0;
    // The battery gauge and percentage text.
    virtual void updateBattery(int percent, ChargeState state, int animationStep) = 0;

    // The main window's data-binding step from the current profile to its controls.
    virtual void RefreshFromProfile() = 0;
    // Repaints the controls without reading the profile.
    virtual void redrawControls() = 0;
    virtual void showOnScreenDisplay() = 0;
    // Opens a program or address with the shell's "open" verb (quick launch).
    virtual void openUrl(const std::string& url) = 0;
    // The last device went away: close dialogs and end the program.
    virtual void lastDeviceGone() = 0;
    // Saving the settings failed; the save stays pending. The view decides
    // whether the user hears of it (the first failure of a run).
    virtual void showSaveFailure(const FileProblem& problem) { (void)problem; }
};

}  // namespace zavrin
