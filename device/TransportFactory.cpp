#include "device/TransportFactory.h"

#include "device/TraceTransport.h"
#include "device/sim/SimulatedMouse.h"

#if ZAVRIN_HAVE_HIDRAW
#include "device/hidraw/HidrawTransport.h"
#endif
#if ZAVRIN_HAVE_WIN32HID
#include "device/win32hid/Win32HidTransport.h"
#endif

namespace zavrin {

namespace {

std::function<void(SimulatedMouse&)>& simulatedMouseSetUp() {
    static std::function<void(SimulatedMouse&)> setUp;
    return setUp;
}

}  // namespace

void setSimulatedMouseSetUp(std::function<void(SimulatedMouse&)> setUp) { simulatedMouseSetUp() = std::move(setUp); }

TransportChoice makeTransport(const TransportOptions& options, Clock& clock) {
    TransportChoice choice;
    std::unique_ptr<Transport> base;
    if (options.simulate) {
        auto mouse = std::make_unique<SimulatedMouse>(clock);
        for (ConnectionKind kind : options.simulatedKinds) mouse->plug(kind);
        if (simulatedMouseSetUp()) simulatedMouseSetUp()(*mouse);
        choice.simulatedMouse = mouse.get();
        base = std::move(mouse);
    } else {
#if ZAVRIN_HAVE_HIDRAW
        base = std::make_unique<HidrawTransport>();
#elif ZAVRIN_HAVE_WIN32HID
        base = std::make_unique<Win32HidTransport>();
#else
        choice.error = "no HID backend on this platform yet; use --simulate";
        return choice;
#endif
    }
    if (options.hidTrace) {
        auto trace = std::make_shared<HidTraceWriter>(*options.hidTrace, clock);
        if (!trace->ok()) {
            choice.error = "cannot write the trace file " + options.hidTrace->string();
            choice.simulatedMouse = nullptr;
            return choice;
        }
        base = std::make_unique<TraceTransport>(std::move(base), std::move(trace));
    }
    choice.transport = std::move(base);
    return choice;
}

std::optional<std::vector<ConnectionKind>> parseKindList(std::string_view text) {
    std::vector<ConnectionKind> kinds;
    if (text == "none") return kinds;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view name = text.substr(0, comma);
        bool known = false;
        for (ConnectionKind kind : kSendPriority) {
            if (kindName(kind) == name) {
                kinds.push_back(kind);
                known = true;
            }
        }
        if (!known) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return kinds;
}

}  // namespace zavrin
