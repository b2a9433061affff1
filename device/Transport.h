#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "device/ConnectionKind.h"
#include "device/Reports.h"

namespace zavrin {

// What the device logic needs to know about one HID interface (one top-level
// collection): where it is, whose it is and what it carries.
struct HidInterfaceInfo {
    std::string path;
    int collection = 0;  // which top-level collection of the node at `path`
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t usagePage = 0;          // of the top-level collection
    std::uint16_t inputReportLength = 0;  // longest input report, report id byte included
    // Longest feature report, report id byte included; 0 when not known. A
    // longer buffer is cut to this length by Windows but sent whole by Linux,
    // and the device may refuse it.
    std::uint16_t featureReportLength = 0;

    bool operator==(const HidInterfaceInfo&) const = default;
};

// An open HID interface.
//
// Threads: setFeature and getFeature are called on the UI thread only. readInput
// is called by the one reader thread that opened the handle. interruptRead may be
// called from any thread and makes a blocked or later readInput fail.
class HidHandle {
public:
    virtual ~HidHandle() = default;

    // Identity and capabilities read from the opened interface itself.
    virtual const HidInterfaceInfo& info() const = 0;

    // Writes a feature report; byte 0 is the report id. False when the interface
    // is gone or refused it.
    virtual bool setFeature(std::span<const std::uint8_t> report) = 0;

    // Reads the feature report whose id is in byte 0 of `buffer` into `buffer`.
    // False, with `buffer` unchanged or partly filled, when the read failed.
    virtual bool getFeature(std::span<std::uint8_t> buffer) = 0;

    // Blocks until the next input report and returns its length. Nullopt when the
    // interface is gone or the read was interrupted; the reader then ends.
    virtual std::optional<std::size_t> readInput(std::span<std::uint8_t> buffer) = 0;

    virtual void interruptRead() = 0;
};

// Arrival and Removal come from the system's device notifications. ReaderEnded
// comes from a reader thread that ended after a scan had found its kind again
// (a replug before the reader noticed the unplug): the UI thread starts a new one.
enum class DeviceChange { Arrival, Removal, ReaderEnded };

// Where reader threads and device monitors hand their news to the UI thread.
// Both calls are made from worker threads and must only queue the news (a
// posted window message, a locked queue); the UI thread then calls
// DeviceSync::ApplyStatus or DeviceSync::onDeviceChange.
class DeviceEventSink {
public:
    virtual ~DeviceEventSink() = default;
    virtual void postStatus(ConnectionKind kind, const StatusReport& status) = 0;
    virtual void postDeviceChange(DeviceChange change) = 0;
};

// One HID backend: the machine's HID interfaces (hidraw, SetupAPI) or the
// simulated mouse. Enumeration and opening happen on the UI thread, except that
// reader threads open their own input interface.
class Transport {
public:
    virtual ~Transport() = default;

    // Every present HID interface, in a stable order: an interface is known by its
    // position in this list.
    virtual std::vector<HidInterfaceInfo> enumerate() = 0;

    // Opens an interface for reading and writing; nullptr when it cannot be opened.
    virtual std::unique_ptr<HidHandle> open(const HidInterfaceInfo& where) = 0;

    // Starts (or with nullptr stops) reporting arrivals and removals of HID
    // devices to `sink`. The sink must outlive the watch.
    virtual void watchDeviceChanges(DeviceEventSink* sink) = 0;
};

}  // namespace zavrin
