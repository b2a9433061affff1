#include "SimHidrawBridge.h"

#include <cerrno>

#include "DeviceTestSupport.h"
#include "model/ProfileFile.h"

namespace zavrin::test {

namespace {

constexpr std::uint16_t kBusUsb = 0x03;

// Node numbers: the kinds' nodes follow the foreign devices a test adds below 10.
int firstNodeOf(ConnectionKind kind) { return 10 + 2 * kindIndex(kind); }

std::vector<HidInterfaceInfo> interfacesOf(SimulatedMouse& mouse, ConnectionKind kind) {
    std::vector<HidInterfaceInfo> list;
    for (const HidInterfaceInfo& i : mouse.enumerate()) {
        if (i.productId == productId(kind)) list.push_back(i);
    }
    return list;
}

}  // namespace

struct SimHidrawBridge::Connection {
    SimHidrawBridge* bridge = nullptr;
    ConnectionKind kind{};
    std::unique_ptr<HidHandle> feature;
    std::unique_ptr<HidHandle> status;
    std::thread pump;
    std::vector<int> nodes;
    bool removed = false;
};

std::vector<std::uint8_t> SimHidrawBridge::statusCollection() {
    // Vendor page 0xFF01, report 4: 31 bytes after the report number.
    return {0x06, 0x01, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x04, 0x75, 0x08,
            0x95, 0x1F, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x09, 0x02, 0x81, 0x02, 0xC0};
}

std::vector<std::uint8_t> SimHidrawBridge::featureCollection(bool withPairingReport) {
    // Page 0x000A: feature reports 5 (device information) and 6 (commands), 31
    // bytes each, and on the receiver report 0xBC (pairing), 7 bytes.
    std::vector<std::uint8_t> d{0x06, 0x0A, 0x00, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x15, 0x00, 0x26, 0xFF, 0x00,
                                0x85, 0x05, 0x95, 0x1F, 0x09, 0x01, 0xB1, 0x02,
                                0x85, 0x06, 0x95, 0x1F, 0x09, 0x01, 0xB1, 0x02};
    if (withPairingReport) {
        for (std::uint8_t b : {0x85, 0xBC, 0x95, 0x07, 0x09, 0x01, 0xB1, 0x02}) d.push_back(b);
    }
    d.push_back(0xC0);
    return d;
}

SimHidrawBridge::SimHidrawBridge(SimulatedMouse& mouse, Layout layout) : mouse_(mouse), layout_(layout) {}

SimHidrawBridge::~SimHidrawBridge() {
    for (auto& [kind, c] : connections_) removeNodes(*c);
}

int SimHidrawBridge::statusNode(ConnectionKind kind) const { return firstNodeOf(kind); }
int SimHidrawBridge::featureNode(ConnectionKind kind) const {
    return layout_ == Layout::OneNode ? firstNodeOf(kind) : firstNodeOf(kind) + 1;
}

void SimHidrawBridge::plug(ConnectionKind kind) {
    if (auto it = connections_.find(kind); it != connections_.end()) {
        removeNodes(*it->second);
        connections_.erase(it);
    }
    mouse_.plug(kind);
    auto c = std::make_unique<Connection>();
    c->bridge = this;
    c->kind = kind;
    for (const HidInterfaceInfo& i : interfacesOf(mouse_, kind)) {
        (i.inputReportLength ? c->status : c->feature) = mouse_.open(i);
    }
    const FakeHidrawDevice device{c.get(), &SimHidrawBridge::setFeature, &SimHidrawBridge::getFeature};
    const FakeHidrawDevice silent{c.get(), [](void*, const std::uint8_t*, std::size_t) { return -EPIPE; },
                                  [](void*, std::uint8_t*, std::size_t) { return -EPIPE; }};
    const auto status = statusCollection();
    const auto feature = featureCollection(kind == ConnectionKind::Dongle);
    const std::uint16_t vendor = kZavrinVendorId;
    const std::uint16_t product = productId(kind);
    if (layout_ == Layout::OneNode) {
        std::vector<std::uint8_t> both = status;
        both.insert(both.end(), feature.begin(), feature.end());
        fake_hidraw_add(statusNode(kind), kBusUsb, vendor, product, both.data(), both.size(), device);
        c->nodes = {statusNode(kind)};
    } else {
        // The status interface answers no feature report, as on the mouse.
        fake_hidraw_add(statusNode(kind), kBusUsb, vendor, product, status.data(), status.size(), silent);
        fake_hidraw_add(featureNode(kind), kBusUsb, vendor, product, feature.data(), feature.size(), device);
        c->nodes = {statusNode(kind), featureNode(kind)};
    }
    const int node = statusNode(kind);
    HidHandle* input = c->status.get();
    c->pump = std::thread([input, node] {
        std::vector<std::uint8_t> buffer(64);
        while (const auto n = input->readInput(buffer)) fake_hidraw_input(node, buffer.data(), *n);
    });
    connections_[kind] = std::move(c);
}

void SimHidrawBridge::unplug(ConnectionKind kind) {
    mouse_.unplug(kind);
    if (auto it = connections_.find(kind); it != connections_.end()) removeNodes(*it->second);
}

void SimHidrawBridge::removeNodes(Connection& c) {
    if (c.removed) return;
    c.removed = true;
    for (int node : c.nodes) fake_hidraw_remove(node);
    if (c.status) c.status->interruptRead();
    if (c.pump.joinable()) c.pump.join();
}

int SimHidrawBridge::setFeature(void* context, const std::uint8_t* report, std::size_t length) {
    auto& c = *static_cast<Connection*>(context);
    if (c.bridge->trace_) c.bridge->trace_->write("SET_FEATURE", productId(c.kind), {report, length});
    const bool accepted = c.feature->setFeature(std::span<const std::uint8_t>(report, length));
    // An unplug the mouse was told to make after this write takes the nodes away.
    if (!c.bridge->mouse_.plugged(c.kind)) c.bridge->removeNodes(c);
    if (!accepted) return c.removed ? -ENODEV : -EPIPE;
    return static_cast<int>(length);
}

int SimHidrawBridge::getFeature(void* context, std::uint8_t* buffer, std::size_t length) {
    auto& c = *static_cast<Connection*>(context);
    if (!c.feature->getFeature(std::span<std::uint8_t>(buffer, length))) return -EPIPE;
    return static_cast<int>(length);
}

void addForeignNode(int number) {
    // A boot keyboard: page 1, usage 6, an 8-byte input report without a number.
    static const std::vector<std::uint8_t> keyboard{0x05, 0x01, 0x09, 0x06, 0xA1, 0x01, 0x75, 0x08,
                                                    0x95, 0x08, 0x05, 0x07, 0x81, 0x00, 0xC0};
    const FakeHidrawDevice none{nullptr, [](void*, const std::uint8_t*, std::size_t) { return -EPIPE; },
                                [](void*, std::uint8_t*, std::size_t) { return -EPIPE; }};
    fake_hidraw_add(number, kBusUsb, 0x046D, 0xC31C, keyboard.data(), keyboard.size(), none);
}

bool writeMacroProfileFiles(ProfileRecord& profile, const std::filesystem::path& profileFile,
                            const std::filesystem::path& libraryFile) {
    MacroLibrary library;
    const MacroLocation a = library.addMacro(kNoLocation, "A");
    const MacroLocation b = library.addMacro(kNoLocation, "B");
    MacroRecord& macroA = *library.itemAt(a)->macro;
    MacroRecord& macroB = *library.itemAt(b)->macro;
    macroA = makeMacro("A", macroA.macroKeyIndex, 8);
    macroB = makeMacro("B", macroB.macroKeyIndex, 40, 20);
    if (!library.writeLibraryFile(libraryFile, kNoLocation)) return false;
    assignKey(profile, 1, "A", "", KeyAction{ActionType::Macro, 0x21, 1}, &macroA);
    assignKey(profile, 3, "B", "", KeyAction{ActionType::Macro, 0x21, 1}, &macroB);
    profile.lighting1.modeValue = {3, 0, 0};
    return writeProfileRecord(profile, profileFile);
}

}  // namespace zavrin::test
