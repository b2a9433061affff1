#include "device/DeviceLink.h"

#include <algorithm>

namespace zavrin {

DeviceLink::DeviceLink(Transport& transport, DeviceEventSink& sink)
    : transport_(transport), sink_(sink) {}

DeviceLink::~DeviceLink() {
    transport_.watchDeviceChanges(nullptr);
    stopReaders();
}

void DeviceLink::RegisterForDevices() {
    for (DeviceSlot& s : slots_) {
        s.readerRunning = false;
        s.featureHandle.reset();
    }
    refreshOnNextDevice = true;
    deviceOnline_ = false;
    transport_.watchDeviceChanges(&sink_);
}

void DeviceLink::examine(int position, const HidInterfaceInfo& where) {
    // Only the mouse's own interfaces are opened; opening every HID device of the
    // machine would need rights the program does not have and gains nothing.
    if (!kindOfDevice(where.vendorId, where.productId)) return;
    std::unique_ptr<HidHandle> handle = transport_.open(where);
    if (!handle) return;
    const HidInterfaceInfo& caps = handle->info();
    const std::optional<ConnectionKind> kind = kindOfDevice(caps.vendorId, caps.productId);
    if (!kind) return;
    DeviceSlot& s = slot(*kind);
    // The length test comes first: an interface with 32-byte input reports is the
    // input interface whatever its usage page.
    if (caps.inputReportLength == kInputReportLength) {
        s.inputIndex = position;
    } else if (caps.usagePage == kFeatureUsagePage) {
        s.present = true;
        s.featureIndex = position;
    }
}

void DeviceLink::scanInterfaces() {
    anyDevice = false;
    for (DeviceSlot& s : slots_) s.present = false;

    std::vector<HidInterfaceInfo> interfaces = transport_.enumerate();
    const int count = std::min(static_cast<int>(interfaces.size()), kScanPositions);
    for (int i = 0; i < count; ++i) examine(i, interfaces[static_cast<std::size_t>(i)]);

    anyDevice = std::any_of(slots_.begin(), slots_.end(), [](const DeviceSlot& s) { return s.present; });

    for (ConnectionKind kind : kScanOrder) {
        DeviceSlot& s = slot(kind);
        if (s.present) {
            startReader(kind, interfaces);
            if (!s.featureHandle) OpenFeature(kind);
        } else {
            closeFeature(kind);
        }
    }
}

void DeviceLink::commitPresence() {
    for (DeviceSlot& s : slots_) s.previouslyPresent = s.present;
}

void DeviceLink::OpenFeature(ConnectionKind kind) {
    DeviceSlot& s = slot(kind);
    std::vector<HidInterfaceInfo> interfaces = transport_.enumerate();
    if (s.featureIndex < 0 || s.featureIndex >= static_cast<int>(interfaces.size())) return;
    s.featureHandle.reset();
    std::unique_ptr<HidHandle> handle =
        transport_.open(interfaces[static_cast<std::size_t>(s.featureIndex)]);
    if (!handle) return;
    if (kindOfDevice(handle->info().vendorId, handle->info().productId) != kind) return;
    s.featureHandle = std::move(handle);
}

void DeviceLink::closeFeature(ConnectionKind kind) { slot(kind).featureHandle.reset(); }

bool DeviceLink::interfaceGone(const HidInterfaceInfo& where) {
    const std::vector<HidInterfaceInfo> interfaces = transport_.enumerate();
    return std::none_of(interfaces.begin(), interfaces.end(), [&](const HidInterfaceInfo& i) {
        return i.path == where.path && i.collection == where.collection && i.vendorId == where.vendorId &&
               i.productId == where.productId;
    });
}

void DeviceLink::closeAllFeatureHandles() {
    for (ConnectionKind kind : kScanOrder) closeFeature(kind);
}

HidHandle* DeviceLink::SendHandle() const {
    const std::optional<ConnectionKind> kind = sendKind();
    return kind ? slot(*kind).featureHandle.get() : nullptr;
}

std::optional<ConnectionKind> DeviceLink::sendKind() const {
    for (ConnectionKind kind : kSendPriority) {
        if (slot(kind).featureHandle) return kind;
    }
    return std::nullopt;
}

HidHandle* DeviceLink::featureHandle(ConnectionKind kind) const { return slot(kind).featureHandle.get(); }

bool DeviceLink::allPresent() const {
    return std::all_of(slots_.begin(), slots_.end(), [](const DeviceSlot& s) { return s.present; });
}

void DeviceLink::startReader(ConnectionKind kind, const std::vector<HidInterfaceInfo>& interfaces) {
    if (stopping_) return;
    DeviceSlot& s = slot(kind);
    // Test and set in one step: two scans in quick succession must not start two
    // readers for one kind. The reader clears the flag as its very last step.
    // A kind found again after a scan that missed it (a replug) may still have
    // the reader of its old connection, not yet aware of the unplug and about
    // to end: the wish is noted first, so that the reader sees it when it ends
    // and has the UI thread start its successor. A kind present all along keeps
    // its reader and asks for nothing.
    if (!s.previouslyPresent) s.readerWanted = true;
    if (s.readerRunning.exchange(true)) return;
    s.readerWanted = false;
    if (s.reader.joinable()) s.reader.join();  // the previous reader has already finished
    std::optional<HidInterfaceInfo> where;
    if (s.inputIndex >= 0 && s.inputIndex < static_cast<int>(interfaces.size())) {
        where = interfaces[static_cast<std::size_t>(s.inputIndex)];
    }
    s.reader = std::thread([this, kind, where] { readerMain(kind, where); });
}

void DeviceLink::readerMain(ConnectionKind kind, std::optional<HidInterfaceInfo> where) {
    DeviceSlot& s = slot(kind);
    std::unique_ptr<HidHandle> handle = where ? transport_.open(*where) : nullptr;
    // A different device at the remembered position (the enumeration changed, or
    // the kind never had an input interface) ends the reader at once.
    const bool usable = handle && kindOfDevice(handle->info().vendorId, handle->info().productId) == kind &&
                        handle->info().inputReportLength == kInputReportLength;
    bool registered = false;
    if (usable) {
        std::lock_guard lock(s.readerMutex);
        if (!stopping_) {
            s.readerHandle = handle.get();
            registered = true;
        }
    }
    if (registered) {
        std::vector<std::uint8_t> buffer(handle->info().inputReportLength, 0xFF);
        buffer[0] = ReportId::Status;
        while (std::optional<std::size_t> length = handle->readInput(buffer)) {
            const std::size_t n = std::min(*length, buffer.size());
            const std::span<const std::uint8_t> report(buffer.data(), n);
            if (std::optional<StatusReport> status = DecodeStatus(kind, report, pollingCapability)) {
                sink_.postStatus(kind, *status);
            }
        }
        std::lock_guard lock(s.readerMutex);
        s.readerHandle = nullptr;
    }
    handle.reset();
    s.readerRunning = false;
    if (s.readerWanted.exchange(false) && !stopping_) sink_.postDeviceChange(DeviceChange::ReaderEnded);
}

void DeviceLink::restartReaders() {
    const std::vector<HidInterfaceInfo> interfaces = transport_.enumerate();
    for (ConnectionKind kind : kScanOrder) {
        if (slot(kind).present) startReader(kind, interfaces);
    }
}

void DeviceLink::stopReaders() {
    stopping_ = true;
    for (DeviceSlot& s : slots_) {
        {
            std::lock_guard lock(s.readerMutex);
            if (s.readerHandle) s.readerHandle->interruptRead();
        }
        if (s.reader.joinable()) s.reader.join();
    }
}

}  // namespace zavrin
