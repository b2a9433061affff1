#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "device/ConnectionKind.h"
#include "device/Reports.h"
#include "device/Transport.h"

namespace zavrin {

// What the program knows about one connection kind between two scans.
struct DeviceSlot {
    bool present = false;            // the last scan found the feature interface
    bool previouslyPresent = false;  // `present` after the scan before
    int featureIndex = -1;           // enumeration position of the feature interface
    int inputIndex = -1;             // enumeration position of the input interface
    std::unique_ptr<HidHandle> featureHandle;
    std::atomic<bool> readerRunning{false};  // shared with the reader thread
    // A scan found the kind again (absent in the scan before) while its old
    // reader was still running; that reader, when it ends, asks the UI thread
    // for a new one (shared with the reader thread).
    std::atomic<bool> readerWanted{false};
    int launchCache = 0;                     // last quick-launch index seen (UI thread)

    // Reader bookkeeping: the thread object and, while it reads, its handle, so
    // that shutdown can interrupt the blocked read.
    std::thread reader;
    std::mutex readerMutex;
    HidHandle* readerHandle = nullptr;
};

// Finds the mouse's interfaces, keeps one feature handle per connection kind and
// runs one reader thread per kind.
//
// Threads: every member is called on the UI thread, except that the reader
// threads read `pollingCapability` and post decoded status reports to the sink.
class DeviceLink {
public:
    // Interface positions beyond this are never looked at.
    static constexpr int kScanPositions = 150;
    // The status input interface is recognised by this input report length.
    static constexpr std::uint16_t kInputReportLength = 32;
    // The feature interface's top-level usage page.
    static constexpr std::uint16_t kFeatureUsagePage = 0x000A;

    DeviceLink(Transport& transport, DeviceEventSink& sink);
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Forgets every handle and reader flag, asks for a refresh at the next device
    // and starts watching for arrivals and removals. Called once at start-up.
    void RegisterForDevices();

    // The scan's first part: finds the interfaces, starts readers and opens or
    // closes the feature handles. The caller runs the post-scan update and then
    // commitPresence().
    void scanInterfaces();
    // Copies the present flags into the previously-present flags.
    void commitPresence();

    // (Re)opens the kind's feature handle at its featureIndex.
    void OpenFeature(ConnectionKind kind);
    void closeFeature(ConnectionKind kind);
    void closeAllFeatureHandles();

    // Whether the interface no longer shows in the transport's enumeration: its
    // device has been unplugged, even if the removal has not been scanned yet.
    bool interfaceGone(const HidInterfaceInfo& where);

    // The first open feature handle in send priority, or nullptr.
    HidHandle* SendHandle() const;
    std::optional<ConnectionKind> sendKind() const;
    HidHandle* featureHandle(ConnectionKind kind) const;

    DeviceSlot& slot(ConnectionKind kind) {
        return slots_[static_cast<std::size_t>(kindIndex(kind))];
    }
    const DeviceSlot& slot(ConnectionKind kind) const {
        return slots_[static_cast<std::size_t>(kindIndex(kind))];
    }
    bool present(ConnectionKind kind) const { return slot(kind).present; }
    bool allPresent() const;

    // Starts a reader for every present kind that has none (after a reader ended
    // that a scan had asked for again).
    void restartReaders();

    // Interrupts every reader and waits for it to end; no reader starts afterwards.
    void stopReaders();

    Transport& transport() { return transport_; }

    bool anyDevice = false;
    bool refreshOnNextDevice = false;
    // The mouse is reachable: true once it answered the device information or its
    // receiver reported it linked; false from RegisterForDevices on and while the
    // receiver reports it unlinked. Read by the apply pass, the timers and the
    // pairing dialog. UI thread; only the two events below change it.
    bool deviceOnline() const { return deviceOnline_; }
    // The device information was read: it says whether the mouse answers.
    void onDeviceInfo(const DeviceInfo& info) { deviceOnline_ = info.online; }
    // A status report of the receiver said whether the mouse is linked to it.
    void onReceiverStatus(bool linked) { deviceOnline_ = linked; }
    // Rate class learnt from the device information; the reader threads decode
    // wired polling rates with it.
    std::atomic<int> pollingCapability{1};

private:
    void examine(int position, const HidInterfaceInfo& where);
    void startReader(ConnectionKind kind, const std::vector<HidInterfaceInfo>& interfaces);
    void readerMain(ConnectionKind kind, std::optional<HidInterfaceInfo> where);

    Transport& transport_;
    DeviceEventSink& sink_;
    std::array<DeviceSlot, kConnectionKindCount> slots_;
    std::atomic<bool> stopping_{false};
    bool deviceOnline_ = false;
};

}  // namespace zavrin
