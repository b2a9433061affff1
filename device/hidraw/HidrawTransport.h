#pragma once

#include <atomic>
#include <filesystem>
#include <mutex>
#include <thread>

#include "device/Transport.h"

namespace zavrin {

// The Linux HID backend: /dev/hidraw* nodes, identified through sysfs, with each
// top-level collection of a node's report descriptor shown as an interface of
// its own (as Windows does), feature reports through the hidraw ioctls and
// blocking reads that can be interrupted. Arrivals and removals are watched with
// inotify on /dev.
class HidrawTransport final : public Transport {
public:
    explicit HidrawTransport(std::filesystem::path devFolder = "/dev",
                             std::filesystem::path sysClassFolder = "/sys/class/hidraw");
    ~HidrawTransport() override;

    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const HidInterfaceInfo& where) override;
    void watchDeviceChanges(DeviceEventSink* sink) override;

private:
    void stopWatching();

    std::filesystem::path devFolder_;
    std::filesystem::path sysFolder_;
    std::thread watcher_;
    int wakeFd_ = -1;
};

// Vendor and product from a sysfs uevent text ("HID_ID=0003:000004F3:0000026E").
bool parseHidId(std::string_view uevent, std::uint16_t& vendorId, std::uint16_t& productId);

}  // namespace zavrin
