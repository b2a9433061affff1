#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "device/DeviceEventQueue.h"
#include "device/DeviceLink.h"
#include "device/DeviceSync.h"
#include "device/SyncView.h"
#include "device/sim/SimulatedMouse.h"
#include "model/LanguageTable.h"
#include "model/MacroLibrary.h"
#include "model/ProfileStore.h"
#include "platform/Clock.h"

namespace zavrin::test {

// Records every screen effect as a short text, in order.
class RecordingView final : public SyncView {
public:
    void showStatusIcon(std::optional<ConnectionKind> kind) override {
        calls.push_back("icon " + std::string(kind ? kindName(*kind) : "none"));
    }
    void enablePollingRateHeader(bool enabled) override { calls.push_back("header " + std::to_string(enabled)); }
    void closePollingRateSection() override { calls.push_back("closeRateSection"); }
    void enableRateButtons(int count) override { calls.push_back("rateButtons " + std::to_string(count)); }
    void showAttention(int textId) override { calls.push_back("attention " + std::to_string(textId)); }
    void showProgress(int captionTextId) override { calls.push_back("progress " + std::to_string(captionTextId)); }
    void showNotLinkedText(bool shown) override { calls.push_back("notLinked " + std::to_string(shown)); }
    void updateBattery(int percent, ChargeState state, int step) override {
        calls.push_back("battery " + std::to_string(percent) + " " + std::to_string(static_cast<int>(state)) + " " +
                        std::to_string(step));
    }
    void RefreshFromProfile() override { calls.push_back("refresh"); }
    void redrawControls() override { calls.push_back("redraw"); }
    void showOnScreenDisplay() override { calls.push_back("osd"); }
    void openUrl(const std::string& url) override { calls.push_back("open " + url); }
    void lastDeviceGone() override { calls.push_back("lastDeviceGone"); }

    int count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call ? 1 : 0;
        return n;
    }
    bool has(const std::string& call) const { return count(call) > 0; }

    std::vector<std::string> calls;
};

// Window timers on virtual time: advance() fires whatever falls due, in order.
class VirtualTimers final : public TimerHost {
public:
    explicit VirtualTimers(VirtualClock& clock) : clock_(clock) {}

    void setTimer(int id, std::chrono::milliseconds period) override {
        timers_[id] = Timer{period, clock_.now() + period};
    }
    void killTimer(int id) override { timers_.erase(id); }
    bool armed(int id) const { return timers_.count(id) != 0; }
    std::optional<std::chrono::milliseconds> period(int id) const {
        auto it = timers_.find(id);
        if (it == timers_.end()) return std::nullopt;
        return it->second.period;
    }

    // Moves the time forward by `d`, firing every timer that falls due.
    void advance(std::chrono::milliseconds d) {
        const Clock::Duration end = clock_.now() + d;
        for (;;) {
            auto next = timers_.end();
            for (auto it = timers_.begin(); it != timers_.end(); ++it) {
                if (it->second.due <= end && (next == timers_.end() || it->second.due < next->second.due)) next = it;
            }
            if (next == timers_.end()) break;
            const int id = next->first;
            if (next->second.due > clock_.now()) clock_.advance(next->second.due - clock_.now());
            next->second.due += next->second.period;  // repeating until killed
            fired.push_back(id);
            if (onFire) onFire(id);
        }
        if (end > clock_.now()) clock_.advance(end - clock_.now());
    }

    std::function<void(int)> onFire;
    std::vector<int> fired;

private:
    struct Timer {
        std::chrono::milliseconds period;
        Clock::Duration due;
    };
    VirtualClock& clock_;
    std::map<int, Timer> timers_;
};

// A scratch data folder removed at the end of the test.
class TempFolder {
public:
    TempFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() / ("zavrin-device-" + std::to_string(rd()));
        std::filesystem::create_directories(path_ / "config");
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline void fillLanguage(LanguageTable& language) {
    for (int n : {34, 101, 102, 109, 146, 155, 156}) language.setText(n, "text" + std::to_string(n));
    for (int n = 0; n < LanguageTable::kSize; ++n) {
        if (language.languageText(n).empty()) language.setText(n, "t" + std::to_string(n));
    }
}

// The command reports the mouse received, in order.
inline std::vector<std::vector<std::uint8_t>> commandWrites(const SimulatedMouse& sim) {
    std::vector<std::vector<std::uint8_t>> writes;
    for (const auto& t : sim.transfers()) {
        if (t.op == SimulatedMouse::Transfer::Op::SetFeature && !t.bytes.empty() && t.bytes[0] == ReportId::Command) {
            writes.push_back(t.bytes);
        }
    }
    return writes;
}

inline std::vector<std::uint8_t> commandCodes(const SimulatedMouse& sim) {
    std::vector<std::uint8_t> codes;
    for (const auto& w : commandWrites(sim)) codes.push_back(w[CommandOffset::Command]);
    return codes;
}

// A macro of `events` key presses and releases of "A" with `delayMs` after each.
inline MacroRecord makeMacro(const std::string& name, std::uint32_t id, int events, std::uint32_t delayMs = 0) {
    MacroRecord macro;
    macro.name = name;
    macro.macroKeyIndex = id;
    for (int e = 0; e < events; ++e) {
        macro.insert(macro.actionNum, MacroAction{0x41, static_cast<std::uint8_t>(e % 2 ? kMacroRelease : kMacroPress), 0, 0});
        if (delayMs) macro.insert(macro.actionNum, makeDelay(delayMs));
    }
    macro.commandActionNum = macro.countCommandActions();
    return macro;
}

// The whole device side of the program on a simulated mouse and virtual time.
struct SyncRig {
    SyncRig() : store(folder.path(), (fillLanguage(language), language)) {
        timers.onFire = [this](int id) { sync.onTimer(id); };
        link.RegisterForDevices();
    }
    ~SyncRig() { link.stopReaders(); }

    // Plugs the given connections and runs the start-up scan.
    void start(std::initializer_list<ConnectionKind> kinds) {
        for (ConnectionKind kind : kinds) sim.plug(kind);
        while (queue.tryPop()) {
        }
        sync.ScanDevices();
        for (ConnectionKind kind : kinds) {
            if (link.present(kind)) sim.waitForReader(kind, std::chrono::seconds(5));
        }
    }

    // Adds `macro` to the library's top level and gives it to key `key`.
    void giveMacro(int key, const MacroRecord& macro) {
        MacroLocation at = library.addMacro(kNoLocation, macro.name);
        MacroRecord& stored = *library.itemAt(at)->macro;
        const std::uint32_t id = stored.macroKeyIndex;
        stored = macro;
        stored.macroKeyIndex = id;
        assignKey(store.currentProfile(), key, macro.name, "", KeyAction{ActionType::Macro, 0x21, 1}, &stored);
    }

    // Waits (on a condition, not on time) for `n` events from the reader threads
    // and applies them as the UI thread would.
    bool applyEvents(std::size_t n = 1) {
        for (std::size_t i = 0; i < n; ++i) {
            std::optional<DeviceEvent> event = queue.waitPop(std::chrono::seconds(5));
            if (!event) return false;
            sync.handleEvent(*event);
        }
        return true;
    }

    // Applies every device-change event already queued.
    void applyQueuedChanges() {
        while (auto event = queue.tryPop()) sync.handleEvent(*event);
    }

    VirtualClock clock;
    SimulatedMouse sim{clock};
    DeviceEventQueue queue;
    DeviceLink link{sim, queue};
    TempFolder folder;
    LanguageTable language;
    ProfileStore store;
    MacroLibrary library;
    RecordingView view;
    VirtualTimers timers{clock};
    DeviceSync sync{store, library, link, clock, view, timers};
};

}  // namespace zavrin::test
