#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "device/Reports.h"
#include "device/Transport.h"
#include "platform/Clock.h"

namespace zavrin {

// The mouse, its receiver and its Bluetooth link as the program sees them over
// HID, answering exactly as the device does: each plugged connection shows an
// input interface (32-byte status reports) and a feature interface (usage page
// 0x000A) that acknowledges commands, answers the device information, keeps the
// settings and macros it was sent, and pairs after a delay. Status reports are
// sent when something changes "on the mouse".
//
// Threads: every member may be called from any thread. Delays (pairing) run on
// the given Clock and are carried out by the next call into the mouse once they
// are due, or by runDueEvents().
class SimulatedMouse final : public Transport {
public:
    // One feature transfer as the mouse saw it.
    struct Transfer {
        enum class Op { SetFeature, GetFeature };
        Op op;
        ConnectionKind kind;
        std::vector<std::uint8_t> bytes;  // for GetFeature: as returned
    };

    // A macro slot as stored by the data packets.
    struct StoredMacro {
        std::vector<std::uint8_t> bytes;  // the event bytes, in order
        int packetsReceived = 0;
        int packetCount = 0;

        bool operator==(const StoredMacro&) const = default;
    };

    static constexpr std::chrono::milliseconds kDefaultPairingDelay{3000};

    explicit SimulatedMouse(Clock& clock);
    ~SimulatedMouse() override;

    // Transport.
    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const HidInterfaceInfo& where) override;
    void watchDeviceChanges(DeviceEventSink* sink) override;

    // Connections. Plugging adds the kind's two interfaces at the end of the
    // enumeration; unplugging removes them and makes every handle on them fail.
    void plug(ConnectionKind kind);
    void unplug(ConnectionKind kind);
    bool plugged(ConnectionKind kind) const;
    // A kind that shows its feature interface but no status interface.
    void setInputInterfaceMissing(ConnectionKind kind, bool missing);
    // An unrelated HID interface somewhere in the enumeration (a keyboard, say).
    void addForeignInterface(const HidInterfaceInfo& info);
    // Makes opening an interface fail, as for a device held exclusively.
    void setOpenRefused(ConnectionKind kind, bool refused);

    // Behaviour.
    void setAcknowledging(bool acknowledging);
    // Byte 6 of the device information on `kind`.
    void setRateClass(ConnectionKind kind, std::uint8_t rateClass);
    void setPairingDelay(std::chrono::milliseconds delay);

    // Things done on the mouse itself; each sends a status report.
    void pressDpiButton();
    void setDpiLevel(int level);
    void setPollingRateIndex(int index);
    void setLightingMode(std::uint8_t mode);
    void setBattery(std::uint8_t percent, ChargeState state);
    void pressQuickLaunch(int keyNumber);  // 1-based; a 0 follows on release
    void releaseQuickLaunch();
    void loseLink();     // the mouse leaves the receiver (switched off, out of range)
    void regainLink();   // and comes back
    bool linked() const;

    // Sends a raw input report on one kind (for malformed-report tests).
    void sendRawInput(ConnectionKind kind, std::vector<std::uint8_t> report);

    // Faults a test can switch on: a mouse, a cable or a radio link that misbehaves.
    //
    // The next `count` commands are received and carried out, but their
    // acknowledgement is lost: the read-back finds nothing.
    void dropAcknowledgements(int count);
    // Acknowledgements become readable only `delay` after their command was
    // written; a read-back before that finds nothing.
    void setAcknowledgementDelay(std::chrono::milliseconds delay);
    // Pulls `kind` out right after it has received `writes` more command reports
    // (only those with command code `command`, when given): an unplug in the
    // middle of an apply pass or of a macro upload.
    void unplugAfterWrites(ConnectionKind kind, int writes, std::optional<std::uint8_t> command = std::nullopt);
    // Writes the program tried on a feature interface after its device had gone.
    int writesAfterUnplug() const;
    // While stalled, readers of `kind` stay blocked even after an unplug, as a
    // reader thread does that the system has not yet woken: a replug can then
    // come before the old reader has ended.
    void stallReaders(ConnectionKind kind, bool stalled);
    // Status reports sent but not yet read by a reader.
    std::size_t unreadInput(ConnectionKind kind) const;
    // Waits (on a condition) until every status report of `kind` has been read.
    bool waitUntilInputRead(ConnectionKind kind, std::chrono::milliseconds timeout);

    void runDueEvents();

    // Waits until a reader has the kind's input interface open, so that a test
    // knows the next status report will be read. Returns at once with false when
    // the kind has no input interface. A condition wait, not a sleep.
    bool waitForReader(ConnectionKind kind, std::chrono::milliseconds timeout);

    // What the mouse holds.
    std::vector<Transfer> transfers() const;
    void clearTransfers();
    std::optional<Payload> lastCommand(std::uint8_t command) const;
    std::map<int, StoredMacro> macros() const;
    int commandsAccepted() const;
    int pairingRequests() const;
    int factoryResets() const;
    std::uint8_t dpiLevel() const;

private:
    struct State;
    class Handle;

    std::shared_ptr<State> state_;
};

}  // namespace zavrin
