#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace zavrin {

// The three ways the mouse reaches the computer. Each shows up as its own HID
// device with its own product id, so the product id names the connection.
enum class ConnectionKind { Wired, Bluetooth, Dongle };

inline constexpr int kConnectionKindCount = 3;

inline constexpr std::uint16_t kZavrinVendorId = 0x04F3;

// Send-handle priority: every transfer that is not tied to one connection goes
// to the first open handle in this order.
inline constexpr std::array<ConnectionKind, kConnectionKindCount> kSendPriority{
    ConnectionKind::Wired, ConnectionKind::Bluetooth, ConnectionKind::Dongle};

// The order in which a scan starts readers and opens handles.
inline constexpr std::array<ConnectionKind, kConnectionKindCount> kScanOrder{
    ConnectionKind::Wired, ConnectionKind::Dongle, ConnectionKind::Bluetooth};

constexpr int kindIndex(ConnectionKind kind) { return static_cast<int>(kind); }

constexpr std::uint16_t productId(ConnectionKind kind) {
    switch (kind) {
    case ConnectionKind::Wired: return 0x026E;
    case ConnectionKind::Bluetooth: return 0x026D;
    case ConnectionKind::Dongle: return 0x026F;
    }
    return 0;
}

// The connection a vendor/product pair belongs to, or nullopt for any other device.
constexpr std::optional<ConnectionKind> kindOfDevice(std::uint16_t vendorId, std::uint16_t product) {
    if (vendorId != kZavrinVendorId) return std::nullopt;
    for (ConnectionKind kind : kSendPriority) {
        if (productId(kind) == product) return kind;
    }
    return std::nullopt;
}

// Lower-case name used by the HID trace and the command-line tool.
constexpr std::string_view kindName(ConnectionKind kind) {
    switch (kind) {
    case ConnectionKind::Wired: return "wired";
    case ConnectionKind::Bluetooth: return "bluetooth";
    case ConnectionKind::Dongle: return "dongle";
    }
    return "";
}

}  // namespace zavrin
