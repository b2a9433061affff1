#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "device/Transport.h"
#include "platform/Clock.h"

namespace zavrin {

class SimulatedMouse;

// How the program reaches the mouse, from its command-line options.
struct TransportOptions {
    bool simulate = false;  // --simulate
    // Connections the simulated mouse starts with.
    std::vector<ConnectionKind> simulatedKinds{ConnectionKind::Dongle};
    std::optional<std::filesystem::path> hidTrace;  // --hid-trace FILE
};

struct TransportChoice {
    std::unique_ptr<Transport> transport;  // null when `error` says why
    SimulatedMouse* simulatedMouse = nullptr;  // the simulated mouse, when one is used
    std::string error;
};

// The simulated mouse or the platform's HID backend, wrapped by the trace writer
// when a trace file is given. `clock` must outlive the transport.
TransportChoice makeTransport(const TransportOptions& options, Clock& clock);

// For tests of whole commands: `setUp` sees every simulated mouse makeTransport
// creates before anything uses it (to arm a fault such as an unplug in the
// middle of a pass); an empty function ends this. Not thread-safe.
void setSimulatedMouseSetUp(std::function<void(SimulatedMouse&)> setUp);

// "wired,dongle" and the like, or "none" for no mouse at all; nullopt for an
// unknown name.
std::optional<std::vector<ConnectionKind>> parseKindList(std::string_view text);

}  // namespace zavrin
