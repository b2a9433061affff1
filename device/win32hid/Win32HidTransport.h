#pragma once

#include <cstdint>
#include <string_view>

#include "device/Transport.h"

namespace zavrin {

// The Windows HID backend: the present HID interfaces from SetupAPI, identity
// and capabilities from hid.dll (HidD_GetAttributes, HidP_GetCaps), feature
// reports with HidD_SetFeature/HidD_GetFeature, and input reports read with
// overlapped I/O so that a reader blocked in a read can be released at shutdown.
//
// Arrivals and removals reach the program's window as WM_DEVICECHANGE (see
// PlatformServices::RegisterDeviceNotifications), so watchDeviceChanges does
// nothing here.
class Win32HidTransport final : public Transport {
public:
    std::vector<HidInterfaceInfo> enumerate() override;
    std::unique_ptr<HidHandle> open(const HidInterfaceInfo& where) override;
    void watchDeviceChanges(DeviceEventSink* sink) override;
};

// What a HID interface path tells by itself
// ("\\?\hid#vid_04f3&pid_026e&col02#7&1a2b3c&0&0001#{4d1e55b2-...}"): vendor
// and product, and the top-level collection (0 when the device has only one).
// Used for interfaces that cannot be opened even for a query.
struct HidPathIds {
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    int collection = 0;
};
bool ParseHidInterfacePath(std::string_view path, HidPathIds& out);

}  // namespace zavrin
